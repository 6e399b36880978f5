// "Receive INT, EXT patches": the progress dialog's Cancel and a bank file
// that cannot be written.
#include <QApplication>
#include <QDir>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <filesystem>

#include "editor/CS6R_PerfMainEdig.h"
#include "framework/FileIo.h"
#include "synth/BankFiles.h"
#include "tests/editor/EditorFixture.h"

using namespace cs6;

class ReceivePatchesTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        previous_ = QDir::currentPath();
        QDir::setCurrent(folder_.path());
    }
    void cleanup() { QDir::setCurrent(previous_); }

    void cancelStopsAfterTheCurrentRequestAndKeepsTheFiles()
    {
        test::EditorFixture fixture;
        CS6R_PerfMainEdig dialog(nullptr, &fixture.device);
        QVERIFY(dialog.InitDialog());
        const test::Bytes old(kUserBankFileSize, 0x33);
        WriteFileAtomically(kIntBankFileName, old);
        WriteFileAtomically(kExtBankFileName, old);
        fixture.TakeReceived();

        // A person presses Cancel once the progress dialog shows entry 5.
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&] {
            auto* progress = dialog.findChild<QProgressDialog*>();
            if (progress && progress->value() >= 5)
                progress->cancel();
        });
        poll.start(0);
        dialog.OnReceivePatches();
        poll.stop();

        QCOMPARE(fixture.boxes.size(), std::size_t{1});
        QCOMPARE(fixture.boxes[0], std::string("INT bank: cancelled; patches_int.bnk was not changed.\n"
                                               "EXT bank: cancelled; patches_ext.bnk was not changed."));
        QCOMPARE(ReadWholeFile(kIntBankFileName), old);
        QCOMPARE(ReadWholeFile(kExtBankFileName), old);
        // It stopped after the request that was running: no more than a few.
        const auto requests = fixture.TakeReceived().size();
        QVERIFY(requests >= 5 && requests < 20);
    }

    void aBankFileThatCannotBeWrittenIsNamedAndKept()
    {
        test::EditorFixture fixture;
        CS6R_PerfMainEdig dialog(nullptr, &fixture.device);
        QVERIFY(dialog.InitDialog());
        const test::Bytes old(kUserBankFileSize, 0x44);
        WriteFileAtomically(kIntBankFileName, old);
        // The temporary file beside it cannot be made.
        std::filesystem::create_directory(std::string(kIntBankFileName) + ".tmp");
        dialog.OnReceivePatches();
        QCOMPARE(fixture.boxes.size(), std::size_t{1});
        QVERIFY(QString::fromStdString(fixture.boxes[0]).contains(QLatin1String(kIntBankFileName)));
        QVERIFY(QString::fromStdString(fixture.boxes[0]).contains(QStringLiteral("could not be written")));
        QCOMPARE(ReadWholeFile(kIntBankFileName), old);
        std::filesystem::remove(std::string(kIntBankFileName) + ".tmp");
    }

private:
    QTemporaryDir folder_;
    QString previous_;
};

QTEST_MAIN(ReceivePatchesTest)
#include "ReceivePatchesTest.moc"
