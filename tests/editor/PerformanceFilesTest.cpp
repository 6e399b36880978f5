// Performance files in the main window against the emulated instrument: a
// saved performance opened again, by each way in, is the same bytes, reaches
// the instrument's edit buffer and is one undo step; a file refused changes
// nothing and is named: an empty file, one of another kind, one too large
// (every reason the reader gives: PerformanceFileRefusal).
#include <QMimeData>
#include <QUrl>

#include <filesystem>

#include "framework/FileIo.h"
#include "synth/PerformanceFile.h"
#include "tests/editor/EditorFixture.h"

using namespace cs6;
using test::Bytes;

namespace {

// The main window, shown and active so that its keys work, in a folder of its
// own; its file dialogs answer with answer.
struct Session : test::InTemporaryFolder, test::MainWindow {
    Session() : MainWindow(true)
    {
        window.SetDetectManualChange(false);
        window.Files().SetPathChooser([this](QWidget*, PerformanceFiles::Purpose, const QString&) { return answer; });
    }
    void Edit() // an edit of the user's, which the instrument gets
    {
        QComboBox* list = window.Combo(perf_main::kArpHold);
        test::Choose(list, (list->currentIndex() + 1) % list->count());
        TakeReceived();
    }
    QString answer;
};

} // namespace

Q_DECLARE_METATYPE(Bytes)

class PerformanceFilesTest : public QObject {
    Q_OBJECT

private slots:
    void aSavedPerformanceOpensAgainAsOneStep_data()
    {
        QTest::addColumn<QString>("way");
        for (const char* way : {"Open…", "Ctrl+O", "drop"})
            QTest::newRow(way) << QString::fromUtf8(way);
    }

    void aSavedPerformanceOpensAgainAsOneStep()
    {
        QFETCH(QString, way);
        Session s;
        QVERIFY(s.ready);
        s.Edit();
        s.answer = QStringLiteral("first"); // ".syx" is added
        s.window.Button(perf_main::kSaveFile)->click();
        const Bytes saved = test::PerformanceOf(s.device);
        QVERIFY(!s.window.isWindowModified() && s.window.windowTitle().contains(QStringLiteral("(first.syx)")));
        s.Edit();
        const Bytes before = test::PerformanceOf(s.device);
        const int steps = s.window.History().Stack().index();
        s.answer = QStringLiteral("first.syx");
        if (way == "Open…")
            s.window.Button(perf_main::kOpenFile)->click();
        else if (way == "Ctrl+O")
            QTest::keyClick(&s.window, Qt::Key_O, Qt::ControlModifier);
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(QDir::current().filePath(s.answer))});
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        if (way == "drop") // the drop goes where the drag was taken
            QVERIFY(QApplication::sendEvent(&s.window, &enter) && QApplication::sendEvent(&s.window, &drop));
        QCoreApplication::processEvents();
        QCOMPARE(s.Received(34).size(), std::size_t{34});
        QCOMPARE(s.instrument->EditBuffer(DumpType::Performance), saved);
        QCOMPARE(test::PerformanceOf(s.device), saved);
        QCOMPARE(s.window.History().Stack().index(), steps + 1);
        QVERIFY(!s.window.isWindowModified());
        QVERIFY(s.window.Files().SaveTo("second.syx"));
        QCOMPARE(ReadWholeFile("second.syx"), ReadWholeFile("first.syx"));
        s.window.Button(perf_main::kUndo)->click();
        QCOMPARE(s.Received(34).size(), std::size_t{34});
        QCOMPARE(s.instrument->EditBuffer(DumpType::Performance), before);
        QVERIFY(s.window.Button(perf_main::kRedo)->isEnabled());
    }

    void aRefusedFileChangesNothing_data()
    {
        QTest::addColumn<Bytes>("bytes");
        QTest::newRow("0 bytes") << Bytes{};
        Bytes voice;
        for (const auto& message : BuildBulk(ParameterMemory(), DumpType::NormalVoice, 0x0F, 0))
            voice.insert(voice.end(), message.begin(), message.end());
        QTest::newRow("a voice bulk") << voice;
        QTest::newRow("50 MB") << Bytes(1); // grown below
    }

    void aRefusedFileChangesNothing()
    {
        QFETCH(Bytes, bytes);
        Session s;
        QVERIFY(s.ready);
        s.Edit();
        WriteFileAtomically("bad.syx", bytes);
        if (bytes.size() == 1)
            std::filesystem::resize_file("bad.syx", 50 << 20);
        const Bytes before = test::PerformanceOf(s.device);
        const int steps = s.window.History().Stack().index();
        QVERIFY(!s.window.Files().OpenFile("bad.syx"));
        QVERIFY(s.Shown(QStringLiteral("bad.syx: ")));
        QCOMPARE(s.TakeReceivedBytes(), std::vector<Bytes>{});
        QCOMPARE(test::PerformanceOf(s.device), before);
        QCOMPARE(s.window.History().Stack().index(), steps);
        QVERIFY(s.window.isWindowModified() && !s.window.windowTitle().contains(QStringLiteral("bad.syx")));
    }
};

CS6_EDITOR_TEST(PerformanceFilesTest);
#include "PerformanceFilesTest.moc"
