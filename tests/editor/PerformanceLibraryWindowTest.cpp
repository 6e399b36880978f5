// The librarian window over the emulated instrument: what the window adds to
// the library's commands (the table, its filter, the questions asked, Cancel,
// the editor's undo step). The commands themselves: PerformanceLibraryTest.
#include <QLineEdit>
#include <QListWidget>
#include <QTableView>

#include "editor/PerformanceLibraryWindow.h"
#include "framework/FileIo.h"
#include "synth/StoredSounds.h"
#include "tests/editor/EditorFixture.h"

using namespace cs6;

namespace {

// The window in a folder of its own whose library holds INT 005 as the
// instrument stores it, or the bytes given.
struct Run : test::InTemporaryFolder, test::EditorFixture {
    explicit Run(std::optional<test::Bytes> file = {})
    {
        FilePerformance int5{{bank::kIntPerf, 4}, {}};
        const auto image = instrument->StoredImage(bank::kIntPerf, 4);
        std::copy(image.begin(), image.end(), int5.blocks.begin());
        WriteFileAtomically(kLibraryFileName, file ? *file : SerializeLibrary({&int5, 1}));
        window = std::make_unique<PerformanceLibraryWindow>(nullptr, device, history, ".");
        window->SetQuestion([this](QWidget*, const QString& text) {
            questions << text;
            return answers.isEmpty() || answers.takeFirst();
        });
        TakeReceived();
    }
    EditHistory history{device, nullptr};
    std::unique_ptr<PerformanceLibraryWindow> window;
    QStringList questions;
    QList<bool> answers;
};

} // namespace

class PerformanceLibraryWindowTest : public QObject {
    Q_OBJECT

private slots:
    void theTableListsTheInstrumentsNamesAndFiltersAsTheUserTypes()
    {
        Run run;
        run.window->OnReceive();
        QVERIFY(run.Shown(QStringLiteral("EXT performances: all 64 received")));
        const QAbstractItemModel* table = run.window->Table()->model();
        QCOMPARE(table->rowCount(), 192);
        for (const FilePerformance& p : run.window->Library().Performances()) { // in the table's order
            const int row = static_cast<int>(&p - run.window->Library().Performances().data());
            const auto image = run.instrument->StoredImage(p.location.bankLsb, p.location.program);
            QCOMPARE(table->index(row, 0).data().toString() + table->index(row, 1).data().toString(),
                     QString::fromStdString(LocationLabel(p.location) + StoredName(image.data())).trimmed());
        }
        run.window->Table()->sortByColumn(1, Qt::DescendingOrder);
        for (int row = 1; row < table->rowCount(); ++row)
            QVERIFY(table->index(row - 1, 1).data().toString().compare(table->index(row, 1).data().toString(),
                                                                      Qt::CaseInsensitive) >= 0);
        QTest::keyClicks(run.window->Filter(), QStringLiteral("ext 6"));
        QCOMPARE(run.window->Table()->model()->rowCount(), 5); // EXT 60..64
    }

    void cancelOrADamagedFileLeavesTheTableAsTheLibraryWas()
    {
        Run run;
        test::CancelProgressAt(*run.window, 5, [&] { run.window->OnReceive(); });
        QVERIFY(run.Shown(QStringLiteral("INT performances: cancelled after 5 of 128")));
        QCOMPARE(run.window->Table()->model()->rowCount(), 1);
        Run damaged(test::Bytes{0xF0, 0x43});
        QCOMPARE(damaged.window->Table()->model()->rowCount(), 0);
        QVERIFY(damaged.Shown(QString(kLibraryFileName) + ".bad"));
    }

    void storeNamesWhatItReplacesAndAsksAgainWithoutABackup()
    {
        // Confirmed or declined; without a backup (the instrument silent) asked again.
        const std::tuple<bool, QList<bool>, bool> rows[] = { // silent, the answers, stored
            {false, {true}, true}, {false, {false}, false}, {true, {true, false}, false}, {true, {true, true}, true}};
        for (const auto& [silent, answers, stored] : rows) {
            Run run;
            run.answers = answers;
            const auto old = run.instrument->StoredImage(bank::kIntPerf, 4);
            std::copy_n("Edited", 6, run.device.Memory().Region(kPerformanceBlocks).begin());
            run.window->Table()->selectRow(0);
            QCOMPARE(run.window->StoreButton()->text(), QStringLiteral("Store to INT 005…"));
            if (silent)
                run.instrument->SetFaults({.noAnswer = true}, sim::FaultScope::UntilCleared);
            run.window->StoreButton()->click();
            QCOMPARE(run.questions.size(), answers.size());
            QVERIFY(run.questions[0].contains("to INT 005, replacing INT 005 \"" +
                                              QString::fromStdString(StoredName(old.data())).trimmed() + "\""));
            QCOMPARE(run.instrument->StoredImage(bank::kIntPerf, 4) != old, stored);
            QCOMPARE(run.window->HistoryList()->count(), stored && !silent ? 1 : 0);
            QCOMPARE(run.boxes.size(), std::size_t{answers[0]}); // what was and was not done
        }
    }

    void editIsOneUndoStepThatReachesTheEditBuffer()
    {
        Run run;
        run.window->ShowWindow();
        QVERIFY(QTest::qWaitForWindowExposed(run.window.get()));
        const QRect cell = run.window->Table()->visualRect(run.window->Table()->model()->index(0, 1));
        QTest::mouseClick(run.window->Table()->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(run.window->Table()->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(run.Received(34).size(), std::size_t{34}); // as "Transmit" sends it
        QCOMPARE(run.instrument->EditBuffer(DumpType::Performance), run.instrument->StoredImage(bank::kIntPerf, 4));
        QCOMPARE(run.history.Stack().count(), 1);
    }
};

CS6_EDITOR_TEST(PerformanceLibraryWindowTest);
#include "PerformanceLibraryWindowTest.moc"
