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
    Columns();
    Row("30 00 0C 00", 1000, "Material Wave", {"30 00 0C 15"}, "Material Wave");
    Row("30 00 10 00", 1001, "BasicCh", {"30 00 10 10"}, "BasicCh");
    Row("30 00 10 00", 1001, "12", {"30 00 10 0B"}, "12");
    // Part list A: the parts, then AD, CL and off as their part indexes.
    Row("30 00 41 00", 1002, "Part 4", {"30 00 41 03"}, "Part 4");
    Row("30 00 41 00", 1002, "PartAD", {"30 00 41 40"}, "PartAD");
    Row("30 00 41 00", 1002, "PartCL", {"30 00 41 50"}, "PartCL");
    Row("30 00 41 00", 1002, "off", {"30 00 41 7F"}, "off");
    Row("30 00 43 00", 1004, "Part 16", {"30 00 43 0F"}, "Part 16");
    Row("30 00 43 00", 1004, "PartCL", {"30 00 43 50"}, "PartCL");
    Row("30 00 43 00", 1004, "off", {"30 00 43 7F"}, "off");
    // Part list B: the plug-in parts and off.
    Row("30 00 42 7F", 1003, "PartP1", {"30 00 42 60"}, "PartP1");
    Row("30 00 42 60", 1003, "PartP2", {"30 00 42 61"}, "PartP2");
    Row("30 00 42 60", 1003, "off", {"30 00 42 7F"}, "off");
    Row("30 00 0E 00", 1020, "4zone", {"30 00 0E 01"}, "4zone");
    Row("30 00 0E 00", 1020, "layer", {"30 00 0E 02"}, "layer");
    Row("30 00 13 00", 1006, "127", {"30 00 13 7F"}, "127");
    Row("30 00 12 00", 1005, "kbd-ch", {"30 00 12 10"}, "kbd-ch");
    Row("30 00 19 00", 1007, "direct", {"30 00 19 02"}, "direct");
    Row("30 00 1A 00", 1008, "thru", {"30 00 1A 01"}, "thru");
    Row("30 00 15 00", 1015, "on", {"30 00 15 02"}, "on");
    Row("30 00 15 00", 1015, "off", {"30 00 15 01"}, "off");
    Row("30 00 16 00", 1016, "200%", {"30 00 16 06"}, "200%");
    Row("30 00 16 00", 1016, "133%", {"30 00 16 04"}, "133%");
    // Faders; VelRate, gate time and tempo are two bytes of 7 bits, high first.
    Row("30 00 38 63", 1009, "Up", {"30 00 38 64"}, "100");
    Row("30 00 1B 00 00", 1010, "End", {"30 00 1B 01 48"}, "200");
    Row("30 00 1D 00 7F", 1011, "Up", {"30 00 1D 01 00"}, "128");
    Row("30 00 1F 02 2B", 1012, "End", {"30 00 1F 02 2C"}, "300");
    Row("30 00 1F 00 64", 1012, "Home", {"30 00 1F 00 19"}, "25");
    Row("30 00 17 3B", 1013, "Up", {"30 00 17 3C"}, "C3");
    Row("30 00 18 7E", 1014, "End", {"30 00 18 7F"}, "G8");
    Row("30 00 0D 40", 1019, "Down", {"30 00 0D 3F"}, "-1");
    Row("30 00 0F 30", 1021, "Home", {"30 00 0F 00"}, "C-2");
    Row("30 00 14 00", 1018, "click", {"30 00 14 01"}, "on*"); // ARP
    Row("30 00 14 01", 1018, "click", {"30 00 14 00"}, "off");
    Row("30 00 11 00", 1017, "click", {"30 00 11 01"}, "on*"); // ARP out
    Row("30 00 11 01", 1017, "click", {"30 00 11 00"}, "off");
}

void ControlTablesTest::mainWindow()
{
    QFETCH(QString, plant);
    test::EditorFixture fixture;
    fixture.SetOnInstrument(plant);
    CS6R_PerfMainEdig dialog(nullptr, &fixture.device);
    QVERIFY(dialog.InitDialog());
    RunRow(fixture, dialog, [&]() -> TemplateDialog& {
        dialog.ControlAs<QPushButton>(1027)->click(); // "Request"
        return dialog;
    });
}

void ControlTablesTest::partStrip_data()
{
    Columns();
    // Each part is named and edits its own block.
    Row("31 0F 0D 10", 1024, "", {}, "PART 16");
    Row("31 40 0D 4D", 1004, "Up", {"31 40 0D 4E"}, "78");
    Row("31 40 0D 00", 1024, "", {}, "PART AD");
    Row("31 50 0D 00", 1024, "", {}, "PART CL");
    Row("31 60 0E 20", 1005, "Up", {"31 60 0E 21"}, "33");
    Row("31 60 0D 00", 1024, "", {}, "PRTPLG1");
    Row("31 61 0D 00", 1024, "", {}, "PRTPLG2");
    Row("31 00 0D 5A", 1004, "Up", {"31 00 0D 5B"}, "91"); // volume
    Row("31 00 0E 40", 1005, "Down", {"31 00 0E 3F"}, "63"); // pan
    Row("31 00 12 00", 1011, "End", {"31 00 12 7F"}, "127"); // reverb send
    Row("31 00 13 10", 1012, "PageUp", {"31 00 13 1A"}, "26"); // chorus send
    Row("31 00 15 57", 1008, "Up", {"31 00 15 58"}, "24");     // note shift
    Row("31 00 15 28", 1008, "", {}, "-24");
    Row("31 00 15 40", 1008, "", {}, "0");
    Row("31 02 10 0C 07", 1009, "Up", {"31 02 10 0C 08"}, "7.2Hz"); // detune 200 in two nibbles
    Row("31 00 0B 40", 1006, "Down", {"31 00 0B 3F"}, "63");        // velocity depth
    Row("31 00 0C 00", 1007, "PageUp", {"31 00 0C 0A"}, "10");      // velocity offset
    Row("31 00 1A 7F", 1010, "Home", {"31 00 1A 00"}, "0");         // portamento time
    // A bank change sends MSB, LSB and program; the program stays where the
    // new bank has it, else it is the first.
    Row("31 00 00 3F 00 14", 1000, "PRE drum", {"31 00 00 3F", "31 00 01 20", "31 00 02 00"}, "PRE drum");
    Row("31 00 00 3F 00 14", 1000, "INT", {"31 00 00 3F", "31 00 01 08", "31 00 02 14"}, "INT");
    Row("31 00 00 3F 20 64", 1000, "INT drum", {"31 00 00 3F", "31 00 01 28", "31 00 02 00"}, "INT drum");
    Row("31 00 00 3F 01 05", 1000, "PLG1", {"31 00 00 3F", "31 00 01 18", "31 00 02 05"}, "PLG1");
    // The bank follows the LSB alone.
    Row("31 00 00 00 08", 1000, "", {}, "INT");
    Row("31 00 00 7F 19", 1000, "", {}, "PLG2");
    Row("31 00 00 3F 29", 1000, "", {}, "EXT drum");
    Row("31 00 00 3F 18 00", 1001, "12", {"31 00 02 0B"}, "12");
    Row("31 00 1C 7F", 1013, "L&R", {"31 00 1C 00"}, "L&R");
    Row("31 00 1C 00", 1013, "ind 1&2", {"31 00 1C 08"}, "ind 1&2");
    Row("31 00 1C 00", 1013, "ind 1", {"31 00 1C 40"}, "ind 1");
    Row("31 00 1C 00", 1013, "ind 2", {"31 00 1C 41"}, "ind 2");
    Row("31 00 1C 00", 1013, "ind 3", {"31 00 1C 42"}, "ind 3");
    Row("31 00 1C 00", 1013, "ind 4", {"31 00 1C 43"}, "ind 4");
    Row("31 00 1C 00", 1013, "ind 5", {"31 00 1C 44"}, "ind 5");
    Row("31 00 1C 00", 1013, "ind 6", {"31 00 1C 45"}, "ind 6");
    Row("31 00 1C 00", 1013, "drum", {"31 00 1C 7F"}, "drum");
    Row("31 00 03 00", 1002, "off", {"31 00 03 10"}, "off"); // receive channel
    Row("31 00 03 00", 1002, "5", {"31 00 03 04"}, "5");
    Row("31 00 03 7F", 1002, "", {}, "off");
    Row("31 00 03 28", 1002, "", {}, ""); // neither a channel nor off
    Row("31 00 1B 00", 1003, "fulltime", {"31 00 1B 01"}, "fulltime"); // portamento mode
    Row("31 00 1B 01", 1003, "fingered", {"31 00 1B 00"}, "fingered");
    Row("31 00 04 00", 1017, "click", {"31 00 04 01"}, "poly*");
    Row("31 00 1D 3E", 1019, "click", {"31 00 1D 3F"}, "Layer on*"); // bit 0; the other bits kept
    Row("31 00 1D 3E", 1020, "click", {"31 00 1D 3C"}, "ARP off");   // bit 1
    Row("31 00 19 00", 1018, "click", {"31 00 19 01"}, "Portamento on*");
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
    Columns();
    Row("31 02 16 21", 1010, "Up", {"31 02 16 22"}, "34");          // cutoff
    Row("31 02 17 00", 1011, "End", {"31 02 17 7F"}, "127");        // resonance
    Row("31 02 21 7F", 1012, "Home", {"31 02 21 00"}, "0");         // attack
    Row("31 02 23 10", 1013, "PageUp", {"31 02 23 1A"}, "26");      // decay
    Row("31 02 20 32", 1014, "Down", {"31 02 20 31"}, "49");        // sustain
    Row("31 02 24 40", 1015, "PageDown", {"31 02 24 36"}, "54");    // release
    Row("31 60 16 00", 1010, "Up", {"31 60 16 01"}, "1");           // PLG1's block
}

void ControlTablesTest::quickEdit() { RunPartDialog<CS6R_PerfPartEdit>(); }

void ControlTablesTest::receiveSwitches_data()
{
    Columns();
    // One message per click, for the switch's byte with all its bits, those
    // of no switch and of the strip's layer and arpeggio switches kept.
    Row("31 05 1D 03", 1018, "click", {"31 05 1D 0B"}, "BnkCh*");
    Row("31 05 1D 0F", 1017, "click", {"31 05 1D 0B"}, "CC");
    Row("31 05 1D 00", 1021, "click", {"31 05 1D 10"}, "PrgCh*");
    Row("31 05 1D 00", 1019, "click", {"31 05 1D 20"}, "AT*");
    Row("31 05 1D 3C", 1020, "click", {"31 05 1D 7C"}, "PB*");
    Row("31 05 1E 54", 1029, "click", {"31 05 1E 55"}, "Vol*");
    Row("31 05 1E 00", 1030, "click", {"31 05 1E 02"}, "Pan*");
    Row("31 05 1E 0B", 1031, "click", {"31 05 1E 03"}, "Sus");
    Row("31 05 1E 00", 1022, "click", {"31 05 1E 20"}, "MW*");
    Row("31 05 1F 40", 1023, "click", {"31 05 1F 41"}, "FC*");
    Row("31 05 1F 00", 1024, "click", {"31 05 1F 02"}, "FS*");
    Row("31 05 1F 04", 1025, "click", {"31 05 1F 00"}, "RB");
    Row("31 05 1F 00", 1026, "click", {"31 05 1F 08"}, "BC*");
    Row("31 05 1F 00", 1027, "click", {"31 05 1F 10"}, "Kn1*");
    Row("31 05 1F 41", 1028, "click", {"31 05 1F 61"}, "Kn2*");
}

void ControlTablesTest::receiveSwitches() { RunPartDialog<CS6R_PerfPartRecv>(); }

CS6_EDITOR_TEST(ControlTablesTest);
#include "ControlTablesTest.moc"
