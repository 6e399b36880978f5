// Part editing against the emulated instrument: the part strip and its
// program lists, the part selectors, and the strip and selectors in the main
// window; and typing in the editable program lists.
#include <QLabel>
#include <QLineEdit>

#include "editor/CS6R_PartMatrix.h"
#include "tests/editor/EditorFixture.h"

using namespace cs6;
using test::Bytes;

namespace {

// The fixture with a strip for one part over the memory fetched from the
// instrument after the changes plant ("hh mm ll data..") were made on it.
struct Strip : test::EditorFixture {
    explicit Strip(int part = 0, const QString& plant = {}) : strip(nullptr, &device, part)
    {
        SetOnInstrument(plant);
        if (FetchPerformance())
            strip.RefreshFromMemory();
        TakeReceived();
    }
    CS6R_PerfPartMainEdit strip;
};

} // namespace

class PartEditorTest : public QObject {
    Q_OBJECT

private slots:
    void programListsNameTheStoredSounds()
    {
        std::copy_n("Grand Pno ", 10, presetBank1[4].image.begin() + NormalVoice::kNameOffset);
        presetBank1[4].image[NormalVoice::kCategoryOffset] = 1; // "Pf"
        std::copy_n("Std Kit\xE9  ", 10, presetDrums[2].image.begin() + DrumVoice::kNameOffset); // one byte a letter
        Strip s;
        PatchSelectDlg patch(nullptr);
        const std::tuple<QString, int, int, QString> rows[] = { // bank, its programs, one of them
            {"PRE1", 128, 4, "5  Pf:  Grand Pno"}, {"PRE1", 128, 127, "128  --:  "},
            {"PRE drum", 8, 2, QString::fromUtf8("3  Std Kit\u00e9")},
            {"PLG1", 64, 63, "64"}, {"PLG2", 64, 0, "1"}}; // no stored sounds: bare numbers
        for (const auto& [bank, count, program, item] : rows) {
            for (const auto& [banks, programs] : {std::pair{s.strip.BankCombo(), s.strip.ProgramCombo()},
                                                  std::pair{patch.BankList(), patch.ProgramList()}}) {
                QVERIFY(test::Choose(banks, bank));
                QCOMPARE(programs->count(), count);
                QCOMPARE(programs->itemText(program), item);
            }
        }
        presetBank1[4] = NormalVoice();
        presetDrums[2] = DrumVoice();
    }

    void aClickOnAFaderThumbSendsOneChangeAndADragOnePerStep()
    {
        Strip s(0, QStringLiteral("31 00 0D 5A")); // volume 90
        QVERIFY(test::Activate(s.strip));
        test::DragFader(s.strip.Fader(0), {});
        QCOMPARE(s.Received(1), std::vector<Bytes>{test::Change("31 00 0D 5A")});
        // Three steps upwards (91, 92, 93), each handled before the next, and
        // the release: four messages, the last repeated.
        test::DragFader(s.strip.Fader(0), {-1, -2, -3});
        QCOMPARE(s.Received(4), (std::vector<Bytes>{test::Change("31 00 0D 5B"), test::Change("31 00 0D 5C"),
                                                    test::Change("31 00 0D 5D"), test::Change("31 00 0D 5D")}));
    }

    void theMatrixSwitchesTheStripAndItsDialogsInTheMainWindow()
    {
        test::EditorFixture fixture;
        for (const char* plant : {"31 00 0D 42", "31 50 0D 0B"}) // volumes 66 and 11
            fixture.SetOnInstrument(QString::fromLatin1(plant));
        CS6R_PerfMainEdig dialog(nullptr, &fixture.device);
        QVERIFY(dialog.InitDialog() && dialog.PartStrip() && dialog.PartMatrix());
        CS6R_PerfPartMainEdit* strip = dialog.PartStrip();
        CS6R_PartMatrix* matrix = dialog.PartMatrix();
        const auto shown = [&] { return strip->Title()->text() + u' ' + strip->Fader(0)->Label(); }; // the part and its volume
        QCOMPARE(strip->geometry(), dialog.Control(perf_main::kPartStripPlace)->geometry());
        QCOMPARE(matrix->geometry(), dialog.Control(perf_main::kPartMatrixPlace)->geometry());
        QVERIFY(!dialog.Control(perf_main::kPartStripPlace)->isVisibleTo(&dialog));
        QVERIFY(strip->isVisibleTo(&dialog) && matrix->isVisibleTo(&dialog));
        QCOMPARE(shown(), QStringLiteral("PART 1 66"));
        QCOMPARE(matrix->Selector(part_matrix::kPart1)->text(), QStringLiteral("1"));
        for (int id = part_matrix::kPart1; id <= part_matrix::kPartPLG2; ++id)
            QCOMPARE(matrix->Selector(id)->isChecked(), id == part_matrix::kPart1);
        matrix->Selector(part_matrix::kPartCL)->click();
        QCOMPARE(shown(), QStringLiteral("PART CL 11"));
        QVERIFY(matrix->Selector(part_matrix::kPartCL)->isChecked() && !matrix->Selector(part_matrix::kPart1)->isChecked());
        // The pressed selector again reloads the same part from the memory.
        fixture.SetOnInstrument(QStringLiteral("31 50 0D 0C")); // 12
        QVERIFY(fixture.FetchPerformance());
        matrix->Selector(part_matrix::kPartCL)->click();
        QCOMPARE(shown(), QStringLiteral("PART CL 12"));
        // "Request" reloads the strip too, for the part it shows.
        fixture.SetOnInstrument(QStringLiteral("31 50 0D 2C")); // 44
        dialog.Button(perf_main::kRequest)->click();
        QCOMPARE(shown(), QStringLiteral("PART CL 44"));
        // The strip opens both its dialogs for the part it shows.
        const std::tuple<int, int, QString> dialogs[] = {
            {part_matrix::kPart1 + 2, perf_part_main::kQuickEdit, "Part 3 filter & envelope QED"},
            {part_matrix::kPartPLG1, perf_part_main::kQuickEdit, "Part PLG1 filter & envelope QED"},
            {part_matrix::kPartCL, perf_part_main::kReceiveSwitches, "Part CL receive switches"},
            {part_matrix::kPartPLG2, perf_part_main::kReceiveSwitches, "Part PLG2 receive switches"}};
        for (const auto& [selector, button, caption] : dialogs) {
            matrix->Selector(selector)->click();
            QCOMPARE(test::CaptionOfModal([&, button = button] { strip->Button(button)->click(); }), caption);
        }
    }

    void tabFollowsTheTemplatesWithTheFadersInPlace()
    {
        test::MainWindow w;
        QVERIFY(w.ready);
        for (TemplateDialog* d : {static_cast<TemplateDialog*>(&w.window), static_cast<TemplateDialog*>(&w.Strip())}) {
            QList<int> templateOrder, tabOrder;
            for (const ControlTemplate& control : d->Template().controls)
                if (control.id != kNoId)
                    templateOrder << control.id;
            for (QWidget* next = d->nextInFocusChain(); next != d; next = next->nextInFocusChain()) {
                const int id = next->objectName().mid(7).toInt(); // "control1004"
                if (d->Control(id) == next)
                    tabOrder << id;
            }
            QCOMPARE(tabOrder, templateOrder);
        }
    }

    // Regression: the typed text, or the item it completed to, became the choice
    // once the field lost the focus or Enter was pressed: the strip stored and
    // sent it as the program, Select patch took it and enabled OK.
    void typedTextInAProgramListChoosesNothing()
    {
        // In the strip (else in Select patch), the bank, the text, the key that
        // ends the typing (0: the pointer moves over a fader).
        const std::tuple<bool, QString, QString, int> rows[] = {
            {true, "PLG1", "12", Qt::Key_Tab}, {true, "PRE1", "5", 0}, {false, "PLG2", "12", Qt::Key_Return},
            {false, "PRE1", "5", Qt::Key_Tab}, {false, "PLG2", "my own", Qt::Key_Return}};
        for (const auto& [inStrip, bank, typed, leave] : rows) {
            Strip s;
            s.LoadStoredSounds();
            PatchSelectDlg patch(nullptr);
            TemplateDialog& dialog = inStrip ? static_cast<TemplateDialog&>(s.strip) : patch;
            QComboBox* programs = inStrip ? s.strip.ProgramCombo() : patch.ProgramList();
            QVERIFY(test::Choose(inStrip ? s.strip.BankCombo() : patch.BankList(), bank));
            const int chosen = inStrip ? 2 : -1;
            if (inStrip)
                test::Choose(programs, chosen);
            QVERIFY(test::Activate(dialog));
            s.TakeReceived();
            QLineEdit* field = programs->lineEdit();
            field->setFocus();
            field->selectAll();
            QTest::keyClicks(field, typed);
            if (leave)
                QTest::keyClick(field, static_cast<Qt::Key>(leave));
            else
                QTest::mouseMove(s.strip.Fader(0), QPoint(2, 2)); // a real pointer move: hovering takes the focus
            QCOMPARE(programs->currentIndex(), chosen);
            QCOMPARE(field->text(), programs->itemText(chosen));
            QVERIFY(dialog.isVisible());
            QVERIFY(inStrip ? !field->hasFocus() : !patch.OkButton()->isEnabled());
            QVERIFY(s.TakeReceived().empty());
        }
    }
};

CS6_EDITOR_TEST(PartEditorTest);
#include "PartEditorTest.moc"
