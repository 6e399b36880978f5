// Every control of every dialog on the wire. A row sets bytes on the
// instrument ("plant"), opens the dialog, acts on one control as a person
// does (a list item chosen by its text, a key on a fader, a click on a
// switch; no action checks what a value shows), and expects the parameter
// changes the instrument then receives ("hh mm ll data", in order) and the
// text the control shows, also once the dialog has read the instrument's
// memory back. A switch's text is followed by "*" while it is checked. The
// part a row edits is the one its bytes address.
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include <optional>

#include "editor/CS6R_PerfMainEdig.h"
#include "editor/CS6R_PerfPartEdit.h"
#include "editor/CS6R_PerfPartMainEdit.h"
#include "editor/CS6R_PerfPartRecv.h"
#include "tests/editor/EditorFixture.h"

using namespace cs6;

namespace {

void Columns()
{
    QTest::addColumn<QString>("plant");
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<QString>("shown");
}

void Row(const QString& plant, int id, const QString& action, const QStringList& sent, const QString& shown)
{
    QTest::addRow("%d %s %s", id, qPrintable(action), qPrintable(shown)) << plant << id << action << sent << shown;
}

QString Shown(QWidget* control)
{
    if (auto* combo = qobject_cast<QComboBox*>(control))
        return combo->currentText();
    if (auto* button = qobject_cast<QPushButton*>(control))
        return button->text() + (button->isChecked() ? QStringLiteral("*") : QString());
    if (auto* label = qobject_cast<QLabel*>(control))
        return label->text();
    return dynamic_cast<FaderControl*>(control)->Label();
}

int PartOfRow()
{
    QFETCH(QString, plant);
    QFETCH(QStringList, sent);
    return test::Hex(plant.isEmpty() ? sent.value(0) : plant).at(1);
}

// The current row on dialog; reload reads the instrument's memory back and
// returns the dialog that then shows it.
void RunRow(test::EditorFixture& fixture, TemplateDialog& dialog, const std::function<TemplateDialog&()>& reload)
{
    QFETCH(int, id);
    QFETCH(QString, action);
    QFETCH(QStringList, sent);
    QFETCH(QString, shown);
    static const QHash<QString, Qt::Key> keys = {{"Up", Qt::Key_Up},         {"Down", Qt::Key_Down},
                                                 {"PageUp", Qt::Key_PageUp}, {"PageDown", Qt::Key_PageDown},
                                                 {"Home", Qt::Key_Home},     {"End", Qt::Key_End}};
    QWidget* control = dialog.Control(id);
    QVERIFY(control);
    fixture.TakeReceived();
    if (auto* combo = qobject_cast<QComboBox*>(control); combo && !action.isEmpty())
        QVERIFY2(test::Choose(combo, action), "no such item");
    else if (auto* fader = dynamic_cast<FaderControl*>(control); fader && !action.isEmpty())
        test::KeyFader(fader, keys.value(action));
    else if (action == QStringLiteral("click"))
        qobject_cast<QPushButton*>(control)->click();

    std::vector<test::Bytes> expected;
    for (const QString& change : sent)
        expected.push_back(test::Change(change));
    QCOMPARE(fixture.Received(expected.size()), expected);
    QCOMPARE(Shown(control), shown);
    QCOMPARE(Shown(reload().Control(id)), shown);
}

// The current row on a part's dialog, which reads the memory when it opens.
template <typename Dialog>
void RunPartDialog()
{
    QFETCH(QString, plant);
    test::EditorFixture fixture;
    fixture.SetOnInstrument(plant);
    QVERIFY(fixture.FetchPerformance());
    Dialog dialog(nullptr, &fixture.device, PartOfRow());
    std::optional<Dialog> reopened;
    RunRow(fixture, dialog, [&]() -> TemplateDialog& {
        (void)fixture.FetchPerformance();
        return reopened.emplace(nullptr, &fixture.device, PartOfRow());
    });
}

} // namespace

class ControlTablesTest : public QObject {
    Q_OBJECT

private slots:
    void mainWindow_data();
    void mainWindow();
    void partStrip_data();
    void partStrip();
    void quickEdit_data();
    void quickEdit();
    void receiveSwitches_data();
    void receiveSwitches();
};

void ControlTablesTest::mainWindow_data()
{
    using namespace perf_main;
    Columns();
    Row("30 00 0C 00", kCategory, "Material Wave", {"30 00 0C 15"}, "Material Wave");
    Row("30 00 10 00", kLayerChannel, "BasicCh", {"30 00 10 10"}, "BasicCh");
    Row("30 00 10 00", kLayerChannel, "12", {"30 00 10 0B"}, "12");
    // Part list A: the parts, then AD, CL and off as their part indexes.
    Row("30 00 41 00", kInsEffectPart, "Part 4", {"30 00 41 03"}, "Part 4");
    Row("30 00 41 00", kInsEffectPart, "PartAD", {"30 00 41 40"}, "PartAD");
    Row("30 00 41 00", kInsEffectPart, "PartCL", {"30 00 41 50"}, "PartCL");
    Row("30 00 41 00", kInsEffectPart, "off", {"30 00 41 7F"}, "off");
    Row("30 00 43 00", kInsPlgPart, "Part 16", {"30 00 43 0F"}, "Part 16");
    Row("30 00 43 00", kInsPlgPart, "PartCL", {"30 00 43 50"}, "PartCL");
    Row("30 00 43 00", kInsPlgPart, "off", {"30 00 43 7F"}, "off");
    // Part list B: the plug-in parts and off.
    Row("30 00 42 7F", kInsEffectPlgPart, "PartP1", {"30 00 42 60"}, "PartP1");
    Row("30 00 42 60", kInsEffectPlgPart, "PartP2", {"30 00 42 61"}, "PartP2");
    Row("30 00 42 60", kInsEffectPlgPart, "off", {"30 00 42 7F"}, "off");
    Row("30 00 0E 00", kMasterKeyboardMode, "4zone", {"30 00 0E 01"}, "4zone");
    Row("30 00 0E 00", kMasterKeyboardMode, "layer", {"30 00 0E 02"}, "layer");
    Row("30 00 13 00", kArpType, "127", {"30 00 13 7F"}, "127");
    Row("30 00 12 00", kArpOutChannel, "kbd-ch", {"30 00 12 10"}, "kbd-ch");
    Row("30 00 19 00", kArpKeyMode, "direct", {"30 00 19 02"}, "direct");
    Row("30 00 1A 00", kArpVelocityMode, "thru", {"30 00 1A 01"}, "thru");
    Row("30 00 15 00", kArpHold, "on", {"30 00 15 02"}, "on");
    Row("30 00 15 00", kArpHold, "off", {"30 00 15 01"}, "off");
    Row("30 00 16 00", kArpUnit, "200%", {"30 00 16 06"}, "200%");
    Row("30 00 16 00", kArpUnit, "133%", {"30 00 16 04"}, "133%");
    // Faders; VelRate, gate time and tempo are two bytes of 7 bits, high first.
    Row("30 00 38 63", kVolume, "Up", {"30 00 38 64"}, "100");
    Row("30 00 1B 00 00", kArpVelocityRate, "End", {"30 00 1B 01 48"}, "200");
    Row("30 00 1D 00 7F", kArpGateTime, "Up", {"30 00 1D 01 00"}, "128");
    Row("30 00 1F 02 2B", kArpTempo, "End", {"30 00 1F 02 2C"}, "300");
    Row("30 00 1F 00 64", kArpTempo, "Home", {"30 00 1F 00 19"}, "25");
    Row("30 00 17 3B", kArpNoteLow, "Up", {"30 00 17 3C"}, "C3");
    Row("30 00 18 7E", kArpNoteHigh, "End", {"30 00 18 7F"}, "G8");
    Row("30 00 0D 40", kPhraseClipPitch, "Down", {"30 00 0D 3F"}, "-1");
    Row("30 00 0F 30", kSplitPoint, "Home", {"30 00 0F 00"}, "C-2");
    Row("30 00 14 00", kArpSwitch, "click", {"30 00 14 01"}, "on*"); // ARP
    Row("30 00 14 01", kArpSwitch, "click", {"30 00 14 00"}, "off");
    Row("30 00 11 00", kArpOutSwitch, "click", {"30 00 11 01"}, "on*"); // ARP out
    Row("30 00 11 01", kArpOutSwitch, "click", {"30 00 11 00"}, "off");
}

void ControlTablesTest::mainWindow()
{
    QFETCH(QString, plant);
    test::EditorFixture fixture;
    fixture.SetOnInstrument(plant);
    CS6R_PerfMainEdig dialog(nullptr, &fixture.device);
    QVERIFY(dialog.InitDialog());
    RunRow(fixture, dialog, [&]() -> TemplateDialog& {
        dialog.ControlAs<QPushButton>(perf_main::kRequest)->click();
        return dialog;
    });
}

void ControlTablesTest::partStrip_data()
{
    using namespace perf_part_main;
    Columns();
    // Each part is named and edits its own block.
    Row("31 0F 0D 10", kTitle, "", {}, "PART 16");
    Row("31 40 0D 4D", kVolume, "Up", {"31 40 0D 4E"}, "78");
    Row("31 40 0D 00", kTitle, "", {}, "PART AD");
    Row("31 50 0D 00", kTitle, "", {}, "PART CL");
    Row("31 60 0E 20", kPan, "Up", {"31 60 0E 21"}, "33");
    Row("31 60 0D 00", kTitle, "", {}, "PRTPLG1");
    Row("31 61 0D 00", kTitle, "", {}, "PRTPLG2");
    Row("31 00 0D 5A", kVolume, "Up", {"31 00 0D 5B"}, "91"); // volume
    Row("31 00 0E 40", kPan, "Down", {"31 00 0E 3F"}, "63"); // pan
    Row("31 00 12 00", kReverbSend, "End", {"31 00 12 7F"}, "127"); // reverb send
    Row("31 00 13 10", kChorusSend, "PageUp", {"31 00 13 1A"}, "26"); // chorus send
    Row("31 00 15 57", kNoteShift, "Up", {"31 00 15 58"}, "24");     // note shift
    Row("31 00 15 28", kNoteShift, "", {}, "-24");
    Row("31 00 15 40", kNoteShift, "", {}, "0");
    Row("31 02 10 0C 07", kDetune, "Up", {"31 02 10 0C 08"}, "7.2Hz"); // detune 200 in two nibbles
    Row("31 00 0B 40", kVelocityDepth, "Down", {"31 00 0B 3F"}, "63");        // velocity depth
    Row("31 00 0C 00", kVelocityOffset, "PageUp", {"31 00 0C 0A"}, "10");      // velocity offset
    Row("31 00 1A 7F", kPortamentoTime, "Home", {"31 00 1A 00"}, "0");         // portamento time
    // A bank change sends MSB, LSB and program; the program stays where the
    // new bank has it, else it is the first.
    Row("31 00 00 3F 00 14", kBank, "PRE drum", {"31 00 00 3F", "31 00 01 20", "31 00 02 00"}, "PRE drum");
    Row("31 00 00 3F 00 14", kBank, "INT", {"31 00 00 3F", "31 00 01 08", "31 00 02 14"}, "INT");
    Row("31 00 00 3F 20 64", kBank, "INT drum", {"31 00 00 3F", "31 00 01 28", "31 00 02 00"}, "INT drum");
    Row("31 00 00 3F 01 05", kBank, "PLG1", {"31 00 00 3F", "31 00 01 18", "31 00 02 05"}, "PLG1");
    // The bank follows the LSB alone.
    Row("31 00 00 00 08", kBank, "", {}, "INT");
    Row("31 00 00 7F 19", kBank, "", {}, "PLG2");
    Row("31 00 00 3F 29", kBank, "", {}, "EXT drum");
    Row("31 00 00 3F 18 00", kProgram, "12", {"31 00 02 0B"}, "12");
    Row("31 00 1C 7F", kOutputSelect, "L&R", {"31 00 1C 00"}, "L&R");
    Row("31 00 1C 00", kOutputSelect, "ind 1&2", {"31 00 1C 08"}, "ind 1&2");
    Row("31 00 1C 00", kOutputSelect, "ind 1", {"31 00 1C 40"}, "ind 1");
    Row("31 00 1C 00", kOutputSelect, "ind 2", {"31 00 1C 41"}, "ind 2");
    Row("31 00 1C 00", kOutputSelect, "ind 3", {"31 00 1C 42"}, "ind 3");
    Row("31 00 1C 00", kOutputSelect, "ind 4", {"31 00 1C 43"}, "ind 4");
    Row("31 00 1C 00", kOutputSelect, "ind 5", {"31 00 1C 44"}, "ind 5");
    Row("31 00 1C 00", kOutputSelect, "ind 6", {"31 00 1C 45"}, "ind 6");
    Row("31 00 1C 00", kOutputSelect, "drum", {"31 00 1C 7F"}, "drum");
    Row("31 00 03 00", kReceiveChannel, "off", {"31 00 03 10"}, "off"); // receive channel
    Row("31 00 03 00", kReceiveChannel, "5", {"31 00 03 04"}, "5");
    Row("31 00 03 7F", kReceiveChannel, "", {}, "off");
    Row("31 00 03 28", kReceiveChannel, "", {}, ""); // neither a channel nor off
    Row("31 00 1B 00", kPortamentoMode, "fulltime", {"31 00 1B 01"}, "fulltime"); // portamento mode
    Row("31 00 1B 01", kPortamentoMode, "fingered", {"31 00 1B 00"}, "fingered");
    Row("31 00 04 00", kMono, "click", {"31 00 04 01"}, "poly*");
    Row("31 00 1D 3E", kLayer, "click", {"31 00 1D 3F"}, "Layer on*"); // bit 0; the other bits kept
    Row("31 00 1D 3E", kArp, "click", {"31 00 1D 3C"}, "ARP off");   // bit 1
    Row("31 00 19 00", kPortamento, "click", {"31 00 19 01"}, "Portamento on*");
}

void ControlTablesTest::partStrip()
{
    QFETCH(QString, plant);
    test::EditorFixture fixture;
    fixture.SetOnInstrument(plant);
    QVERIFY(fixture.FetchPerformance());
    CS6R_PerfPartMainEdit strip(nullptr, &fixture.device, PartOfRow());
    strip.RefreshFromMemory();
    RunRow(fixture, strip, [&]() -> TemplateDialog& {
        if (fixture.FetchPerformance())
            strip.RefreshFromMemory();
        return strip;
    });
}

void ControlTablesTest::quickEdit_data()
{
    using namespace perf_part_edit;
    Columns();
    Row("31 02 16 21", kCutoff, "Up", {"31 02 16 22"}, "34");          // cutoff
    Row("31 02 17 00", kResonance, "End", {"31 02 17 7F"}, "127");        // resonance
    Row("31 02 21 7F", kAttack, "Home", {"31 02 21 00"}, "0");         // attack
    Row("31 02 23 10", kDecay, "PageUp", {"31 02 23 1A"}, "26");      // decay
    Row("31 02 20 32", kSustain, "Down", {"31 02 20 31"}, "49");        // sustain
    Row("31 02 24 40", kRelease, "PageDown", {"31 02 24 36"}, "54");    // release
    Row("31 60 16 00", kCutoff, "Up", {"31 60 16 01"}, "1");           // PLG1's block
}

void ControlTablesTest::quickEdit() { RunPartDialog<CS6R_PerfPartEdit>(); }

void ControlTablesTest::receiveSwitches_data()
{
    using namespace perf_part_recv;
    Columns();
    // One message per click, for the switch's byte with all its bits, those
    // of no switch and of the strip's layer and arpeggio switches kept.
    Row("31 05 1D 03", kBankSelect, "click", {"31 05 1D 0B"}, "BnkCh*");
    Row("31 05 1D 0F", kControlChange, "click", {"31 05 1D 0B"}, "CC");
    Row("31 05 1D 00", kProgramChange, "click", {"31 05 1D 10"}, "PrgCh*");
    Row("31 05 1D 00", kAftertouch, "click", {"31 05 1D 20"}, "AT*");
    Row("31 05 1D 3C", kPitchBend, "click", {"31 05 1D 7C"}, "PB*");
    Row("31 05 1E 54", kVolume, "click", {"31 05 1E 55"}, "Vol*");
    Row("31 05 1E 00", kPan, "click", {"31 05 1E 02"}, "Pan*");
    Row("31 05 1E 0B", kSustain, "click", {"31 05 1E 03"}, "Sus");
    Row("31 05 1E 00", kModWheel, "click", {"31 05 1E 20"}, "MW*");
    Row("31 05 1F 40", kFootController, "click", {"31 05 1F 41"}, "FC*");
    Row("31 05 1F 00", kFootSwitch, "click", {"31 05 1F 02"}, "FS*");
    Row("31 05 1F 04", kRibbon, "click", {"31 05 1F 00"}, "RB");
    Row("31 05 1F 00", kBreath, "click", {"31 05 1F 08"}, "BC*");
    Row("31 05 1F 00", kKnob1, "click", {"31 05 1F 10"}, "Kn1*");
    Row("31 05 1F 41", kKnob2, "click", {"31 05 1F 61"}, "Kn2*");
}

void ControlTablesTest::receiveSwitches() { RunPartDialog<CS6R_PerfPartRecv>(); }

CS6_EDITOR_TEST(ControlTablesTest);
#include "ControlTablesTest.moc"
