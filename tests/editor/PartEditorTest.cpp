// Part editing against the emulated instrument: the part strip and its
// program lists, the part selectors, and the strip and selectors in the main
// window; and typing in the editable program lists.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "editor/CS6R_PartMatrix.h"
#include "editor/CS6R_PerfMainEdig.h"
#include "editor/CS6R_PerfPartMainEdit.h"
#include "editor/PatchSelectDlg.h"
#include "synth/SysExMessages.h"
#include "tests/editor/EditorFixture.h"

using namespace cs6;
using test::Bytes;

namespace {

// F0 43 10 64 31 pp ll data.. F7: a parameter change of one part.
Bytes PartChange(int part, int low, std::initializer_list<std::uint8_t> data)
{
    return sysex::ParameterChange(0x31, part, low, Bytes(data));
}

// A strip for one part over a memory fetched from the instrument.
struct Strip {
    explicit Strip(test::EditorFixture& fixture, int part = 0) : strip(nullptr, &fixture.device, part)
    {
        if (fixture.FetchPerformance())
            strip.RefreshFromMemory();
        fixture.TakeReceived();
    }
    CS6R_PerfPartMainEdit strip;
};

} // namespace

class PartEditorTest : public QObject {
    Q_OBJECT

private slots:
    void programListsNameTheStoredSounds_data();
    void programListsNameTheStoredSounds();
    void aClickOnAFaderThumbSendsOneChangeAndADragOnePerStep();
    void theStripOpensBothDialogsForItsPart_data();
    void theStripOpensBothDialogsForItsPart();
    void theMatrixSwitchesTheStripInTheMainWindow();
    void tabFollowsTheTemplatesWithTheFadersInPlace();
    void typedTextInAProgramListChoosesNothing_data();
    void typedTextInAProgramListChoosesNothing();
};

void PartEditorTest::programListsNameTheStoredSounds_data()
{
    QTest::addColumn<bool>("inStrip"); // else in Select patch
    QTest::addColumn<QString>("bank");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("program");
    QTest::addColumn<QString>("item");
    QTest::newRow("strip, PRE1 5") << true << "PRE1" << 128 << 4 << "5  Pf:  Grand Pno";
    QTest::newRow("strip, PRE1 128 unnamed") << true << "PRE1" << 128 << 127 << "128  --:  ";
    QTest::newRow("strip, PRE drum 3") << true << "PRE drum" << 8 << 2 << QString::fromUtf8("3  Std Kit\u00e9");
    QTest::newRow("strip, PLG1 64") << true << "PLG1" << 64 << 63 << "64"; // no stored sounds: bare numbers
    QTest::newRow("patch, PRE1 5") << false << "PRE1" << 128 << 4 << "5  Pf:  Grand Pno";
    QTest::newRow("patch, PRE drum 3") << false << "PRE drum" << 8 << 2 << QString::fromUtf8("3  Std Kit\u00e9");
    QTest::newRow("patch, PLG2 1") << false << "PLG2" << 64 << 0 << "1";
}

void PartEditorTest::programListsNameTheStoredSounds()
{
    QFETCH(bool, inStrip);
    QFETCH(QString, bank);
    QFETCH(int, count);
    QFETCH(int, program);
    QFETCH(QString, item);
    test::EditorFixture fixture;
    std::copy_n("Grand Pno ", 10, presetBank1[4].image.begin() + NormalVoice::kNameOffset);
    presetBank1[4].image[NormalVoice::kCategoryOffset] = 1; // "Pf"
    std::copy_n("Std Kit\xE9  ", 10, presetDrums[2].image.begin() + DrumVoice::kNameOffset); // one byte a letter
    Strip s(fixture);
    PatchSelectDlg patch(nullptr);
    QComboBox* programs = inStrip ? s.strip.ProgramCombo() : patch.ProgramList();
    QVERIFY(test::Choose(inStrip ? s.strip.BankCombo() : patch.BankList(), bank));
    QCOMPARE(programs->count(), count);
    QCOMPARE(programs->itemText(program), item);
    presetBank1[4] = NormalVoice();
    presetDrums[2] = DrumVoice();
}

void PartEditorTest::aClickOnAFaderThumbSendsOneChangeAndADragOnePerStep()
{
    test::EditorFixture fixture;
    fixture.instrument->Receive(PartChange(0, 0x0D, {90}));
    Strip s(fixture);
    s.strip.show();
    QVERIFY(QTest::qWaitForWindowExposed(&s.strip));
    test::DragFader(s.strip.Fader(0), {});
    QCOMPARE(fixture.Received(1), std::vector<Bytes>{PartChange(0, 0x0D, {90})});

    // Three steps upwards, each handled before the next, and the release:
    // four messages, the last repeated.
    test::DragFader(s.strip.Fader(0), {-1, -2, -3});
    QCOMPARE(fixture.Received(4), (std::vector<Bytes>{PartChange(0, 0x0D, {91}), PartChange(0, 0x0D, {92}),
                                                      PartChange(0, 0x0D, {93}), PartChange(0, 0x0D, {93})}));
}

void PartEditorTest::theStripOpensBothDialogsForItsPart_data()
{
    QTest::addColumn<int>("part");
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("caption");
    QTest::newRow("QED, part 3") << 0x02 << int{perf_part_main::kQuickEdit} << "Part 3 filter & envelope QED";
    QTest::newRow("QED, PLG1") << 0x60 << int{perf_part_main::kQuickEdit} << "Part PLG1 filter & envelope QED";
    QTest::newRow("RecvSW, CL") << 0x50 << int{perf_part_main::kReceiveSwitches} << "Part CL receive switches";
    QTest::newRow("RecvSW, PLG2") << 0x61 << int{perf_part_main::kReceiveSwitches} << "Part PLG2 receive switches";
}

void PartEditorTest::theStripOpensBothDialogsForItsPart()
{
    QFETCH(int, part);
    QFETCH(int, button);
    QFETCH(QString, caption);
    test::EditorFixture fixture;
    Strip s(fixture, part);
    QCOMPARE(test::CaptionOfModal([&] { s.strip.Button(button)->click(); }), caption);
}

void PartEditorTest::theMatrixSwitchesTheStripInTheMainWindow()
{
    test::EditorFixture fixture;
    fixture.instrument->Receive(PartChange(0x00, 0x0D, {66}));
    fixture.instrument->Receive(PartChange(0x50, 0x0D, {11}));
    fixture.instrument->Receive(PartChange(0x50, 0x1C, {0x43}));
    CS6R_PerfMainEdig dialog(nullptr, &fixture.device);
    QVERIFY(dialog.InitDialog());
    CS6R_PerfPartMainEdit* strip = dialog.PartStrip();
    CS6R_PartMatrix* matrix = dialog.PartMatrix();
    QVERIFY(strip && matrix);
    QCOMPARE(strip->geometry(), dialog.Control(perf_main::kPartStripPlace)->geometry());
    QCOMPARE(matrix->geometry(), dialog.Control(perf_main::kPartMatrixPlace)->geometry());
    QVERIFY(!dialog.Control(perf_main::kPartStripPlace)->isVisibleTo(&dialog));
    QVERIFY(strip->isVisibleTo(&dialog) && matrix->isVisibleTo(&dialog));
    QCOMPARE(strip->Title()->text(), QStringLiteral("PART 1"));
    QCOMPARE(strip->Fader(0)->Label(), QStringLiteral("66"));
    QCOMPARE(matrix->Selector(part_matrix::kPart1)->text(), QStringLiteral("1"));
    for (int id = part_matrix::kPart1; id <= part_matrix::kPartPLG2; ++id)
        QCOMPARE(matrix->Selector(id)->isChecked(), id == part_matrix::kPart1);

    matrix->Selector(part_matrix::kPartCL)->click();
    QCOMPARE(strip->Title()->text(), QStringLiteral("PART CL"));
    QCOMPARE(strip->Fader(0)->Label(), QStringLiteral("11"));
    QCOMPARE(strip->OutputSelectCombo()->currentText(), QStringLiteral("ind 4"));
    QVERIFY(matrix->Selector(part_matrix::kPartCL)->isChecked() && !matrix->Selector(part_matrix::kPart1)->isChecked());

    // The pressed selector again reloads the same part from the memory.
    fixture.instrument->Receive(PartChange(0x50, 0x0D, {12}));
    QVERIFY(fixture.FetchPerformance());
    matrix->Selector(part_matrix::kPartCL)->click();
    QCOMPARE(strip->Fader(0)->Label(), QStringLiteral("12"));
    // "Request" reloads the strip too, for the part it shows.
    fixture.instrument->Receive(PartChange(0x50, 0x0D, {44}));
    dialog.Button(perf_main::kRequest)->click();
    QCOMPARE(strip->Fader(0)->Label(), QStringLiteral("44"));
    QCOMPARE(strip->Title()->text(), QStringLiteral("PART CL"));
}

void PartEditorTest::tabFollowsTheTemplatesWithTheFadersInPlace()
{
    test::EditorFixture fixture;
    CS6R_PerfMainEdig dialog(nullptr, &fixture.device);
    QVERIFY(dialog.InitDialog());
    for (TemplateDialog* d : {static_cast<TemplateDialog*>(&dialog), static_cast<TemplateDialog*>(dialog.PartStrip())}) {
        QList<int> templateOrder;
        QList<int> tabOrder;
        for (const ControlTemplate& control : d->Template().controls) {
            if (control.id != kNoId)
                templateOrder << control.id;
        }
        for (QWidget* w = d->nextInFocusChain(); w != d; w = w->nextInFocusChain()) {
            const int id = w->objectName().mid(7).toInt(); // "control1004"
            if (d->Control(id) == w)
                tabOrder << id;
        }
        QCOMPARE(tabOrder, templateOrder);
    }
}

void PartEditorTest::typedTextInAProgramListChoosesNothing_data()
{
    QTest::addColumn<bool>("inStrip"); // else in Select patch
    QTest::addColumn<QString>("bank");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("leave"); // the key that ends the typing; 0: the pointer moves over a fader
    QTest::newRow("strip, a PLG1 program's number, Tab") << true << "PLG1" << "12" << int{Qt::Key_Tab};
    QTest::newRow("strip, a PRE1 program's first letter, pointer") << true << "PRE1" << "5" << 0;
    QTest::newRow("patch, a PLG2 program's number, Enter") << false << "PLG2" << "12" << int{Qt::Key_Return};
    QTest::newRow("patch, a PRE1 program's first letter, Tab") << false << "PRE1" << "5" << int{Qt::Key_Tab};
    QTest::newRow("patch, text of no program, Enter") << false << "PLG2" << "my own" << int{Qt::Key_Return};
}

// Regression: the typed text, or the item it completed to, became the choice
// once the field lost the focus or Enter was pressed: the strip stored and
// sent it as the program, Select patch took it and enabled OK.
void PartEditorTest::typedTextInAProgramListChoosesNothing()
{
    QFETCH(bool, inStrip);
    QFETCH(QString, bank);
    QFETCH(QString, typed);
    QFETCH(int, leave);
    test::EditorFixture fixture;
    fixture.LoadStoredSounds();
    Strip s(fixture);
    PatchSelectDlg patch(nullptr);
    TemplateDialog& dialog = inStrip ? static_cast<TemplateDialog&>(s.strip) : patch;
    QComboBox* programs = inStrip ? s.strip.ProgramCombo() : patch.ProgramList();
    QVERIFY(test::Choose(inStrip ? s.strip.BankCombo() : patch.BankList(), bank));
    const int chosen = inStrip ? 2 : -1;
    if (inStrip)
        test::Choose(programs, chosen);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    fixture.TakeReceived();

    QLineEdit* field = programs->lineEdit();
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, typed);
    if (leave)
        QTest::keyClick(field, static_cast<Qt::Key>(leave));
    else
        test::Move(s.strip.Fader(0), QPoint(2, 2), Qt::NoButton);
    QCOMPARE(programs->currentIndex(), chosen);
    QCOMPARE(field->text(), programs->itemText(chosen));
    QVERIFY(dialog.isVisible());
    QVERIFY(inStrip ? !field->hasFocus() : !patch.OkButton()->isEnabled());
    QVERIFY(fixture.TakeReceived().empty());
}

CS6_EDITOR_TEST(PartEditorTest);
#include "PartEditorTest.moc"
