// "Receive INT, EXT patches": both banks into their files, with one closing
// message per bank; a silent instrument, the progress dialog's Cancel and a
// bank file that cannot be written each leave the files as they were.
#include <QProgressDialog>
#include <QPushButton>

#include <filesystem>

#include "editor/CS6R_PerfMainEdig.h"
#include "framework/FileIo.h"
#include "tests/editor/EditorFixture.h"

using namespace cs6;

namespace {

// The main window in a folder of its own, the bank files there holding old
// (a fill byte) unless it is 0.
struct Run {
    explicit Run(std::uint8_t fill = 0) : old(kUserBankFileSize, fill)
    {
        ready = dialog.InitDialog();
        if (fill) {
            WriteFileAtomically(kIntBankFileName, old);
            WriteFileAtomically(kExtBankFileName, old);
        }
        fixture.TakeReceived();
    }
    // Both files as they were.
    bool Kept() const { return ReadWholeFile(kIntBankFileName) == old && ReadWholeFile(kExtBankFileName) == old; }

    test::InTemporaryFolder folder;
    test::EditorFixture fixture;
    CS6R_PerfMainEdig dialog{nullptr, &fixture.device};
    const test::Bytes old;
    bool ready = false;
};

} // namespace

class ReceivePatchesTest : public QObject {
    Q_OBJECT

private slots:
    void bothBanksAreWrittenToTheirFiles();
    void aSilentInstrumentLeavesTheFilesAfterTwoRequestsPerBank();
    void cancelStopsAfterTheCurrentRequestAndKeepsTheFiles();
    void aBankFileThatCannotBeWrittenIsNamedAndKept();
};

void ReceivePatchesTest::bothBanksAreWrittenToTheirFiles()
{
    Run run;
    QVERIFY(run.ready);
    run.dialog.Button(perf_main::kReceivePatches)->click();
    QCOMPARE(run.fixture.boxes, std::vector<std::string>{"INT bank: all 130 patches received, patches_int.bnk written.\n"
                                                     "EXT bank: all 130 patches received, patches_ext.bnk written."});
    const auto banks = run.fixture.instrument->StoredSounds();
    QCOMPARE(ReadWholeFile(kIntBankFileName), sim::BankFileBytes(banks, sim::BankFile::Int));
    QCOMPARE(ReadWholeFile(kExtBankFileName), sim::BankFileBytes(banks, sim::BankFile::Ext));
}

void ReceivePatchesTest::aSilentInstrumentLeavesTheFilesAfterTwoRequestsPerBank()
{
    Run run(0x11);
    QVERIFY(run.ready);
    run.fixture.instrument->SetFaults({.noAnswer = true}, sim::FaultScope::UntilCleared);
    run.dialog.Button(perf_main::kReceivePatches)->click();
    const std::string silent = " bank: the instrument does not answer for it (no answer to its first two requests); ";
    QCOMPARE(run.fixture.boxes, std::vector<std::string>{"INT" + silent + "patches_int.bnk was not changed.\nEXT" + silent +
                                                     "patches_ext.bnk was not changed."});
    QCOMPARE(run.fixture.TakeReceived().size(), std::size_t{4});
    QVERIFY(run.Kept());
}

void ReceivePatchesTest::cancelStopsAfterTheCurrentRequestAndKeepsTheFiles()
{
    Run run(0x33);
    QVERIFY(run.ready);

    // A person presses Cancel once the progress dialog shows entry 5.
    QTimer poll;
    connect(&poll, &QTimer::timeout, [&] {
        auto* progress = run.dialog.findChild<QProgressDialog*>();
        if (progress && progress->value() >= 5)
            progress->cancel();
    });
    poll.start(0);
    run.dialog.Button(perf_main::kReceivePatches)->click();
    poll.stop();

    QCOMPARE(run.fixture.boxes, std::vector<std::string>{"INT bank: cancelled; patches_int.bnk was not changed.\n"
                                                         "EXT bank: cancelled; patches_ext.bnk was not changed."});
    QVERIFY(run.Kept());
    // It stopped after the request that was running: no more than a few.
    const auto requests = run.fixture.TakeReceived().size();
    QVERIFY(requests >= 5 && requests < 20);
}

void ReceivePatchesTest::aBankFileThatCannotBeWrittenIsNamedAndKept()
{
    Run run(0x44);
    QVERIFY(run.ready);
    // The temporary file beside the INT bank's cannot be made.
    std::filesystem::create_directory(std::string(kIntBankFileName) + ".tmp");
    run.dialog.Button(perf_main::kReceivePatches)->click();
    QCOMPARE(run.fixture.boxes.size(), std::size_t{1});
    QVERIFY(run.fixture.Shown(QStringLiteral("INT bank: all patches received, but patches_int.bnk could not be written")));
    QVERIFY(run.fixture.Shown(QStringLiteral("EXT bank: all 130 patches received, patches_ext.bnk written.")));
    QCOMPARE(ReadWholeFile(kIntBankFileName), run.old);
}

CS6_EDITOR_TEST(ReceivePatchesTest);
#include "ReceivePatchesTest.moc"
