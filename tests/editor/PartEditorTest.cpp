// Part editing against the emulated instrument: the part strip, the part
// selectors, the quick-edit and receive-switch dialogs, and the strip and
// selectors in the main window.
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "editor/CS6R_PartMatrix.h"
#include "editor/CS6R_PerfMainEdig.h"
#include "editor/CS6R_PerfPartEdit.h"
#include "editor/CS6R_PerfPartMainEdit.h"
#include "editor/CS6R_PerfPartRecv.h"
#include "synth/SysExMessages.h"
#include "tests/controls/ControlsTestSupport.h"
#include "tests/editor/EditorFixture.h"

using namespace cs6;
using namespace std::chrono_literals;
using test::Bytes;

namespace {

// F0 43 10 64 31 pp ll data.. F7: a parameter change of one part.
Bytes PartChange(int part, int low, std::initializer_list<std::uint8_t> data)
{
    return sysex::ParameterChange(0x31, part, low, Bytes(data));
}

// What the instrument receives, counted from a starting point.
class Received {
public:
    explicit Received(test::EditorFixture& fixture) : fixture_(fixture)
    {
        fixture_.TakeReceived();
        handled_ = fixture_.instrument->ReceivedMessages().size();
    }

    // Everything received since the last call, once at least count more
    // messages arrived (or two seconds passed).
    std::vector<Bytes> Take(std::size_t count)
    {
        (void)fixture_.instrument->WaitForReceived(handled_ + count, 2s);
        auto bytes = fixture_.TakeReceivedBytes();
        handled_ += bytes.size();
        return bytes;
    }

private:
    test::EditorFixture& fixture_;
    std::size_t handled_ = 0;
};

// Sets bytes of a part on the instrument, behind the editor's back.
void SetOnInstrument(test::EditorFixture& fixture, int part, int low, std::initializer_list<std::uint8_t> data)
{
    fixture.instrument->Receive(PartChange(part, low, data));
}

bool FetchPerformance(test::EditorFixture& fixture)
{
    return fixture.device.RequestDump(0x0E, 0x4F, 0x00, DumpType::Performance) == DumpOutcome::Complete;
}

// A fader's notification as the fader posts it, handled at once.
void NotifyRelease(QObject* owner, int fader)
{
    PostUserMessage(owner, kFaderReleaseMessage, static_cast<quintptr>(fader), 0);
    QCoreApplication::sendPostedEvents(owner, PostedMessageEvent::Type());
}

// Chooses a list item as a person does: selection, then the notification.
void Choose(QComboBox* combo, int index)
{
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

QPoint ThumbCentre(const FaderControl* fader) { return {fader->width() / 2, fader->ThumbY()}; }

// Runs action, which opens a modal dialog; returns that dialog's caption
// after closing it as Escape would.
template <typename Action>
QString CaptionOfModal(Action action)
{
    QString caption;
    QTimer::singleShot(0, [&caption] {
        if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            caption = modal->windowTitle();
            modal->reject();
        }
    });
    action();
    return caption;
}

void SaveRender(QWidget& widget, const char* name)
{
    QDir().mkpath(QStringLiteral(CS6_RENDER_DIR));
    QVERIFY(widget.grab().save(QStringLiteral(CS6_RENDER_DIR "/") + QLatin1String(name)));
}

// A strip for one part over a memory fetched from the instrument.
struct Strip {
    explicit Strip(test::EditorFixture& fixture, int part = 0) : strip(nullptr, &fixture.device, part)
    {
        if (FetchPerformance(fixture))
            strip.RefreshFromMemory();
    }
    CS6R_PerfPartMainEdit strip;
};

} // namespace

class PartEditorTest : public QObject {
    Q_OBJECT

private slots:
    void eachPartIsNamedAndEditsItsOwnBlock_data();
    void eachPartIsNamedAndEditsItsOwnBlock();
    void theBankFollowsTheLsbAlone_data();
    void theBankFollowsTheLsbAlone();
    void aBankChangeKeepsTheProgramOnlyWhereTheBankIsLongEnough();
    void aProgramBeyondTheListIsNeverStoredOnABankChange();
    void programListsNameTheStoredSounds();
    void receiveChannelOffIsStoredAs16AndRead127Too();
    void outputSelectAndPortamentoModeMapTheirBytes();
    void detuneIsStoredAsTwoNibblesInOneMessage();
    void noteShiftIsShownInSemitones_data();
    void noteShiftIsShownInSemitones();
    void switchesChangeOnlyTheirOwnBits();
    void aClickOnAFaderThumbSendsOneChangeAndADragOnePerStep();
    void quickEditNamesThePartAndEditsItsBlock();
    void receiveSwitchesOpenFromTheByteAndSendItWhole();
    void kn2TwiceKeepsTheBitsOfNoSwitch();
    void theStripOpensBothDialogsForItsPart();
    void theMatrixStartsOnTheStripsPartAndSwitchesIt();
    void theMainWindowHostsTheStripAndMatrixAndRefreshesThem();
    void tabFollowsTheTemplatesWithTheFadersInPlace();
    void enterPressesTheStripsFocusedButtonElseEndsTheMainWindow_data();
    void enterPressesTheStripsFocusedButtonElseEndsTheMainWindow();
    void typedProgramTextIsNeverChosen_data();
    void typedProgramTextIsNeverChosen();
    void renderPartDialogs();
};

void PartEditorTest::eachPartIsNamedAndEditsItsOwnBlock_data()
{
    QTest::addColumn<int>("part");
    QTest::addColumn<QString>("title");
    QTest::newRow("part 1") << 0x00 << QStringLiteral("PART 1");
    QTest::newRow("part 16") << 0x0F << QStringLiteral("PART 16");
    QTest::newRow("AD") << 0x40 << QStringLiteral("PART AD");
    QTest::newRow("CL") << 0x50 << QStringLiteral("PART CL");
    QTest::newRow("PLG1") << 0x60 << QStringLiteral("PRTPLG1");
    QTest::newRow("PLG2") << 0x61 << QStringLiteral("PRTPLG2");
}

void PartEditorTest::eachPartIsNamedAndEditsItsOwnBlock()
{
    QFETCH(int, part);
    QFETCH(QString, title);
    test::EditorFixture fixture;
    SetOnInstrument(fixture, part, 0x0D, {77}); // volume
    SetOnInstrument(fixture, part, 0x0E, {21}); // pan
    Strip s(fixture);
    s.strip.SetPartIndex(part);
    s.strip.RefreshFromMemory();
    QCOMPARE(s.strip.Title()->text(), title);
    QCOMPARE(static_cast<int>(s.strip.Fader(0)->Value()), 77);
    QCOMPARE(static_cast<int>(s.strip.Fader(1)->Value()), 21);

    const std::uint8_t partOneVolume = *fixture.device.ByteAt(0x31, 0x00, 0x0D);
    Received received(fixture);
    s.strip.Fader(0)->SetValue(100);
    NotifyRelease(&s.strip, 0);
    QCOMPARE(received.Take(1), std::vector<Bytes>{PartChange(part, 0x0D, {100})});
    QCOMPARE(*fixture.device.ByteAt(0x31, part, 0x0D), std::uint8_t{100});
    QCOMPARE(fixture.instrument->ReadMemory(PackAddress(0x31, part, 0x0D), 1)[0], std::uint8_t{100});
    // Part 1's volume is not touched by an edit of another part.
    if (part != 0)
        QCOMPARE(*fixture.device.ByteAt(0x31, 0x00, 0x0D), partOneVolume);
}

void PartEditorTest::theBankFollowsTheLsbAlone_data()
{
    QTest::addColumn<int>("msb");
    QTest::addColumn<int>("lsb");
    QTest::addColumn<QString>("bank");
    QTest::newRow("INT, MSB 3F") << 0x3F << 8 << QStringLiteral("INT");
    QTest::newRow("INT, MSB 00") << 0x00 << 8 << QStringLiteral("INT");
    QTest::newRow("INT, MSB 7F") << 0x7F << 8 << QStringLiteral("INT");
    QTest::newRow("PRE2") << 0x3F << 1 << QStringLiteral("PRE2");
    QTest::newRow("PLG2") << 0x3F << 25 << QStringLiteral("PLG2");
    QTest::newRow("EXT drum") << 0x3F << 41 << QStringLiteral("EXT drum");
    // An LSB of no listed bank leaves the choice as it was.
    QTest::newRow("unknown LSB") << 0x3F << 2 << QStringLiteral("PRE drum");
}

void PartEditorTest::theBankFollowsTheLsbAlone()
{
    QFETCH(int, msb);
    QFETCH(int, lsb);
    QFETCH(QString, bank);
    test::EditorFixture fixture;
    Strip s(fixture);
    s.strip.BankCombo()->setCurrentIndex(6); // "PRE drum"
    *fixture.device.ByteAt(0x31, 0x00, 0x00) = static_cast<std::uint8_t>(msb);
    *fixture.device.ByteAt(0x31, 0x00, 0x01) = static_cast<std::uint8_t>(lsb);
    s.strip.RefreshFromMemory();
    QCOMPARE(s.strip.BankCombo()->currentText(), bank);
}

void PartEditorTest::aBankChangeKeepsTheProgramOnlyWhereTheBankIsLongEnough()
{
    test::EditorFixture fixture;
    SetOnInstrument(fixture, 0x00, 0x00, {0x3F, 0x00, 20}); // PRE1, program 21
    Strip s(fixture);
    QCOMPARE(s.strip.BankCombo()->currentText(), QStringLiteral("PRE1"));
    QCOMPARE(s.strip.ProgramCombo()->currentIndex(), 20);

    // "PRE drum" has 8 kits: the program falls back to the first.
    Received received(fixture);
    Choose(s.strip.BankCombo(), 6);
    QCOMPARE(s.strip.ProgramCombo()->count(), 8);
    QCOMPARE(s.strip.ProgramCombo()->currentIndex(), 0);
    const std::vector<Bytes> toDrums = {
        {0xF0, 0x43, 0x10, 0x64, 0x31, 0x00, 0x00, 0x3F, 0xF7}, // bank select MSB
        {0xF0, 0x43, 0x10, 0x64, 0x31, 0x00, 0x01, 0x20, 0xF7}, // bank select LSB 32
        {0xF0, 0x43, 0x10, 0x64, 0x31, 0x00, 0x02, 0x00, 0xF7}, // program 0
    };
    QCOMPARE(received.Take(3), toDrums);

    // Back to program 21 in PRE1, then to INT, which is as long: it stays.
    Choose(s.strip.BankCombo(), 0);
    Choose(s.strip.ProgramCombo(), 20);
    received.Take(4);
    Choose(s.strip.BankCombo(), 2);
    QCOMPARE(s.strip.ProgramCombo()->currentIndex(), 20);
    QCOMPARE(received.Take(3), (std::vector<Bytes>{PartChange(0, 0x00, {0x3F}), PartChange(0, 0x01, {0x08}),
                                                   PartChange(0, 0x02, {20})}));
    QCOMPARE(fixture.instrument->ReadMemory(PackAddress(0x31, 0x00, 0x00), 3), (Bytes{0x3F, 0x08, 20}));
}

// Regression: a program byte beyond the bank's list left the list without a
// choice, and a bank change then stored "no program" as the byte 0xFF.
void PartEditorTest::aProgramBeyondTheListIsNeverStoredOnABankChange()
{
    test::EditorFixture fixture;
    SetOnInstrument(fixture, 0x00, 0x00, {0x3F, 32, 100}); // PRE drum has no kit 101
    Strip s(fixture);
    QCOMPARE(s.strip.BankCombo()->currentText(), QStringLiteral("PRE drum"));
    QCOMPARE(s.strip.ProgramCombo()->currentIndex(), -1);

    Received received(fixture);
    Choose(s.strip.BankCombo(), 7); // "INT drum"
    QCOMPARE(s.strip.ProgramCombo()->currentIndex(), 0);
    QCOMPARE(*fixture.device.ByteAt(0x31, 0x00, 0x02), std::uint8_t{0});
    QCOMPARE(received.Take(3), (std::vector<Bytes>{PartChange(0, 0x00, {0x3F}), PartChange(0, 0x01, {40}),
                                                   PartChange(0, 0x02, {0})}));
}

void PartEditorTest::programListsNameTheStoredSounds()
{
    test::EditorFixture fixture;
    NormalVoice& voice = presetBank1[4];
    std::copy_n("Grand Pno ", 10, voice.image.begin() + NormalVoice::kNameOffset);
    voice.image[NormalVoice::kCategoryOffset] = 1; // "Pf"
    DrumVoice& kit = presetDrums[2];
    std::copy_n("Std Kit\xE9  ", 10, kit.image.begin() + DrumVoice::kNameOffset); // one byte per letter

    Strip s(fixture);
    Choose(s.strip.BankCombo(), 0); // PRE1
    QCOMPARE(s.strip.ProgramCombo()->count(), 128);
    QCOMPARE(s.strip.ProgramCombo()->itemText(4), QStringLiteral("5  Pf:  Grand Pno"));
    QCOMPARE(s.strip.ProgramCombo()->itemText(127), QStringLiteral("128  --:  "));
    Choose(s.strip.BankCombo(), 6); // PRE drum
    QCOMPARE(s.strip.ProgramCombo()->count(), 8);
    QCOMPARE(s.strip.ProgramCombo()->itemText(2), QString::fromUtf8("3  Std Kit\u00e9"));
    // The plug-in banks have no stored sounds: bare numbers.
    for (int bank : {4, 5}) {
        Choose(s.strip.BankCombo(), bank);
        QCOMPARE(s.strip.ProgramCombo()->count(), 64);
        QCOMPARE(s.strip.ProgramCombo()->itemText(0), QStringLiteral("1"));
        QCOMPARE(s.strip.ProgramCombo()->itemText(63), QStringLiteral("64"));
    }
    presetBank1[4] = NormalVoice();
    presetDrums[2] = DrumVoice();
}

void PartEditorTest::receiveChannelOffIsStoredAs16AndRead127Too()
{
    test::EditorFixture fixture;
    Strip s(fixture);
    Received received(fixture);
    Choose(s.strip.ReceiveChannelCombo(), 16);
    QCOMPARE(s.strip.ReceiveChannelCombo()->currentText(), QStringLiteral("off"));
    QCOMPARE(received.Take(1), std::vector<Bytes>{PartChange(0, 0x03, {16})});

    *fixture.device.ByteAt(0x31, 0x00, 0x03) = 4;
    s.strip.RefreshFromMemory();
    QCOMPARE(s.strip.ReceiveChannelCombo()->currentText(), QStringLiteral("5"));
    *fixture.device.ByteAt(0x31, 0x00, 0x03) = 127;
    s.strip.RefreshFromMemory();
    QCOMPARE(s.strip.ReceiveChannelCombo()->currentText(), QStringLiteral("off"));
    // Neither a channel nor "off": nothing is shown.
    *fixture.device.ByteAt(0x31, 0x00, 0x03) = 40;
    s.strip.RefreshFromMemory();
    QCOMPARE(s.strip.ReceiveChannelCombo()->currentIndex(), -1);
}

void PartEditorTest::outputSelectAndPortamentoModeMapTheirBytes()
{
    test::EditorFixture fixture;
    Strip s(fixture);
    Received received(fixture);
    Choose(s.strip.OutputSelectCombo(), 4); // "ind 3"
    Choose(s.strip.OutputSelectCombo(), 8); // "drum"
    Choose(s.strip.PortamentoModeCombo(), 1); // "fulltime"
    QCOMPARE(received.Take(3), (std::vector<Bytes>{PartChange(0, 0x1C, {0x42}), PartChange(0, 0x1C, {0x7F}),
                                                   PartChange(0, 0x1B, {1})}));

    *fixture.device.ByteAt(0x31, 0x00, 0x1C) = 0x08;
    s.strip.RefreshFromMemory();
    QCOMPARE(s.strip.OutputSelectCombo()->currentText(), QStringLiteral("ind 1&2"));
    *fixture.device.ByteAt(0x31, 0x00, 0x1C) = 0x45;
    s.strip.RefreshFromMemory();
    QCOMPARE(s.strip.OutputSelectCombo()->currentText(), QStringLiteral("ind 6"));
    *fixture.device.ByteAt(0x31, 0x00, 0x1C) = 0x30; // no output: the choice stays
    s.strip.RefreshFromMemory();
    QCOMPARE(s.strip.OutputSelectCombo()->currentText(), QStringLiteral("ind 6"));
}

void PartEditorTest::detuneIsStoredAsTwoNibblesInOneMessage()
{
    test::EditorFixture fixture;
    Strip s(fixture, 0x02);
    Received received(fixture);
    s.strip.Fader(CS6R_PerfPartMainEdit::kDetuneFader)->SetValue(200);
    NotifyRelease(&s.strip, CS6R_PerfPartMainEdit::kDetuneFader);
    const Bytes expected = {0xF0, 0x43, 0x10, 0x64, 0x31, 0x02, 0x10, // part 3, detune
                            0x0C, 0x08,                               // 200 = 0xC8 in two nibbles
                            0xF7};
    QCOMPARE(received.Take(1), std::vector<Bytes>{expected});
    QCOMPARE(*fixture.device.ByteAt(0x31, 0x02, 0x10), std::uint8_t{0x0C});
    QCOMPARE(*fixture.device.ByteAt(0x31, 0x02, 0x11), std::uint8_t{0x08});

    // Read back from the instrument.
    QVERIFY(FetchPerformance(fixture));
    s.strip.Fader(CS6R_PerfPartMainEdit::kDetuneFader)->SetValue(0);
    s.strip.RefreshFromMemory();
    QCOMPARE(static_cast<int>(s.strip.Fader(CS6R_PerfPartMainEdit::kDetuneFader)->Value()), 200);
    QCOMPARE(s.strip.Fader(CS6R_PerfPartMainEdit::kDetuneFader)->Label(), QStringLiteral("7.2Hz"));
}

void PartEditorTest::noteShiftIsShownInSemitones_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("lowest") << 40 << QStringLiteral("-24");
    QTest::newRow("centre") << 64 << QStringLiteral("0");
    QTest::newRow("highest") << 88 << QStringLiteral("24");
}

void PartEditorTest::noteShiftIsShownInSemitones()
{
    QFETCH(int, stored);
    QFETCH(QString, shown);
    test::EditorFixture fixture;
    SetOnInstrument(fixture, 0x00, 0x15, {static_cast<std::uint8_t>(stored)});
    Strip s(fixture);
    QCOMPARE(s.strip.Fader(CS6R_PerfPartMainEdit::kNoteShiftFader)->Label(), shown);
    QCOMPARE(s.strip.Fader(CS6R_PerfPartMainEdit::kNoteShiftFader)->Minimum(), 40.0);
    QCOMPARE(s.strip.Fader(CS6R_PerfPartMainEdit::kNoteShiftFader)->Maximum(), 88.0);
}

void PartEditorTest::switchesChangeOnlyTheirOwnBits()
{
    test::EditorFixture fixture;
    // Arpeggio on, layer off, four receive switches on; mono; portamento off.
    SetOnInstrument(fixture, 0x00, 0x1D, {0x3E});
    SetOnInstrument(fixture, 0x00, 0x04, {0});
    SetOnInstrument(fixture, 0x00, 0x19, {0});
    Strip s(fixture);
    QPushButton* layer = s.strip.Button(1019);
    QPushButton* arp = s.strip.Button(1020);
    QCOMPARE(layer->text(), QStringLiteral("Layer off"));
    QCOMPARE(arp->text(), QStringLiteral("ARP on"));
    QCOMPARE(s.strip.Button(1017)->text(), QStringLiteral("mono"));
    QCOMPARE(s.strip.Button(1018)->text(), QStringLiteral("Portamento off"));

    Received received(fixture);
    layer->click();
    QCOMPARE(layer->text(), QStringLiteral("Layer on"));
    QCOMPARE(received.Take(1), std::vector<Bytes>{PartChange(0, 0x1D, {0x3F})});
    arp->click();
    QCOMPARE(arp->text(), QStringLiteral("ARP off"));
    QCOMPARE(received.Take(1), std::vector<Bytes>{PartChange(0, 0x1D, {0x3D})});
    s.strip.Button(1017)->click();
    QCOMPARE(s.strip.Button(1017)->text(), QStringLiteral("poly"));
    s.strip.Button(1018)->click();
    QCOMPARE(s.strip.Button(1018)->text(), QStringLiteral("Portamento on"));
    QCOMPARE(received.Take(2), (std::vector<Bytes>{PartChange(0, 0x04, {1}), PartChange(0, 0x19, {1})}));
    QCOMPARE(fixture.instrument->ReadMemory(PackAddress(0x31, 0x00, 0x1D), 1)[0], std::uint8_t{0x3D});
}

void PartEditorTest::aClickOnAFaderThumbSendsOneChangeAndADragOnePerStep()
{
    test::EditorFixture fixture;
    SetOnInstrument(fixture, 0x00, 0x0D, {90});
    Strip s(fixture);
    s.strip.show();
    QVERIFY(QTest::qWaitForWindowExposed(&s.strip));
    FaderControl* volume = s.strip.Fader(0);
    volume->grab(); // the first paint fits the track to the size

    Received received(fixture);
    const QPoint thumb = ThumbCentre(volume);
    test::Press(volume, thumb);
    test::Release(volume, thumb);
    QCoreApplication::sendPostedEvents(&s.strip, PostedMessageEvent::Type());
    QCOMPARE(received.Take(1), std::vector<Bytes>{PartChange(0, 0x0D, {90})});

    // Three steps upwards, each handled before the next, and the release:
    // four messages, the last repeated.
    test::Press(volume, thumb);
    for (int dy : {1, 2, 3}) {
        test::Move(volume, thumb - QPoint(0, dy));
        QCoreApplication::sendPostedEvents(&s.strip, PostedMessageEvent::Type());
    }
    test::Release(volume, thumb - QPoint(0, 3));
    QCoreApplication::sendPostedEvents(&s.strip, PostedMessageEvent::Type());
    QCOMPARE(received.Take(4), (std::vector<Bytes>{PartChange(0, 0x0D, {91}), PartChange(0, 0x0D, {92}),
                                                   PartChange(0, 0x0D, {93}), PartChange(0, 0x0D, {93})}));
}

void PartEditorTest::quickEditNamesThePartAndEditsItsBlock()
{
    test::EditorFixture fixture;
    SetOnInstrument(fixture, 0x02, 0x16, {33});
    SetOnInstrument(fixture, 0x02, 0x20, {50});
    QVERIFY(FetchPerformance(fixture));
    {
        CS6R_PerfPartEdit dialog(nullptr, &fixture.device, 0x02);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Part 3 filter & envelope QED"));
        QCOMPARE(dialog.FaderAddress(0), PackAddress(0x31, 0x02, 0x16));
        const std::uint8_t lows[] = {0x16, 0x17, 0x21, 0x23, 0x20, 0x24};
        for (int i = 0; i < CS6R_PerfPartEdit::kFaderCount; ++i)
            QCOMPARE(dialog.FaderAddress(i), PackAddress(0x31, 0x02, lows[i]));
        QCOMPARE(static_cast<int>(dialog.Fader(0)->Value()), 33);

        // Dragging "sust" sends one-byte changes of 31 02 20.
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        FaderControl* sustain = dialog.Fader(4);
        sustain->grab();
        Received received(fixture);
        const QPoint thumb = ThumbCentre(sustain);
        test::Press(sustain, thumb);
        test::Move(sustain, thumb + QPoint(0, 2));
        test::Release(sustain, thumb + QPoint(0, 2));
        QCoreApplication::sendPostedEvents(&dialog, PostedMessageEvent::Type());
        QCOMPARE(received.Take(2), (std::vector<Bytes>{PartChange(0x02, 0x20, {48}), PartChange(0x02, 0x20, {48})}));
        QCOMPARE(fixture.instrument->ReadMemory(PackAddress(0x31, 0x02, 0x20), 1)[0], std::uint8_t{48});
    }
    {
        CS6R_PerfPartEdit dialog(nullptr, &fixture.device, 0x60);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Part PLG1 filter & envelope QED"));
        for (int i = 0; i < CS6R_PerfPartEdit::kFaderCount; ++i)
            QCOMPARE(AddressMid(dialog.FaderAddress(i)), 0x60);
        Received received(fixture);
        dialog.Fader(0)->SetValue(99);
        NotifyRelease(&dialog, 0);
        QCOMPARE(received.Take(1), std::vector<Bytes>{PartChange(0x60, 0x16, {99})});
    }
}

void PartEditorTest::receiveSwitchesOpenFromTheByteAndSendItWhole()
{
    test::EditorFixture fixture;
    SetOnInstrument(fixture, 0x05, 0x1D, {0x3C});
    QVERIFY(FetchPerformance(fixture));
    CS6R_PerfPartRecv dialog(nullptr, &fixture.device, 0x05);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Part 6 receive switches"));
    for (int id : {1017, 1018, 1021, 1019}) // CC, BnkCh, PrgCh, AT
        QVERIFY(dialog.Box(id)->isChecked());
    QVERIFY(!dialog.Box(1020)->isChecked()); // PB

    Received received(fixture);
    dialog.Box(1020)->click();
    const Bytes expected = {0xF0, 0x43, 0x10, 0x64, 0x31, 0x05, 0x1D, // part 6, byte 1D
                            0x7C,                                     // PB (0x40) joins 0x3C
                            0xF7};
    QCOMPARE(received.Take(1), std::vector<Bytes>{expected});
    QCOMPARE(*fixture.device.ByteAt(0x31, 0x05, 0x1D), std::uint8_t{0x7C});
}

void PartEditorTest::kn2TwiceKeepsTheBitsOfNoSwitch()
{
    test::EditorFixture fixture;
    SetOnInstrument(fixture, 0x00, 0x1F, {0x41}); // FC on, and bit 0x40 of no switch
    QVERIFY(FetchPerformance(fixture));
    CS6R_PerfPartRecv dialog(nullptr, &fixture.device, 0x00);
    QVERIFY(dialog.Box(1023)->isChecked()); // FC
    Received received(fixture);
    dialog.Box(1028)->click();
    dialog.Box(1028)->click();
    QCOMPARE(received.Take(2), (std::vector<Bytes>{PartChange(0, 0x1F, {0x61}), PartChange(0, 0x1F, {0x41})}));
    QCOMPARE(fixture.instrument->ReadMemory(PackAddress(0x31, 0x00, 0x1F), 1)[0], std::uint8_t{0x41});
}

void PartEditorTest::theStripOpensBothDialogsForItsPart()
{
    test::EditorFixture fixture;
    Strip s(fixture, 0x50);
    QCOMPARE(CaptionOfModal([&] { s.strip.Button(1014)->click(); }), QStringLiteral("Part CL filter & envelope QED"));
    QCOMPARE(CaptionOfModal([&] { s.strip.Button(1015)->click(); }), QStringLiteral("Part CL receive switches"));
}

void PartEditorTest::theMatrixStartsOnTheStripsPartAndSwitchesIt()
{
    test::EditorFixture fixture;
    SetOnInstrument(fixture, 0x50, 0x0D, {11});
    SetOnInstrument(fixture, 0x50, 0x1C, {0x43});
    Strip s(fixture);
    CS6R_PartMatrix matrix(nullptr, &s.strip);
    QVERIFY(matrix.Selector(1028)->isChecked());
    QCOMPARE(matrix.Selector(1028)->text(), QStringLiteral("1"));
    for (int id = 1029; id <= 1047; ++id)
        QVERIFY(!matrix.Selector(id)->isChecked());

    matrix.Selector(1045)->click(); // "CL"
    QCOMPARE(s.strip.PartIndex(), 0x50);
    QCOMPARE(s.strip.Title()->text(), QStringLiteral("PART CL"));
    QCOMPARE(static_cast<int>(s.strip.Fader(0)->Value()), 11);
    QCOMPARE(s.strip.OutputSelectCombo()->currentText(), QStringLiteral("ind 4"));
    QVERIFY(matrix.Selector(1045)->isChecked());
    QVERIFY(!matrix.Selector(1028)->isChecked());

    // The pressed selector again reloads the same part.
    *fixture.device.ByteAt(0x31, 0x50, 0x0D) = 12;
    matrix.Selector(1045)->click();
    QCOMPARE(static_cast<int>(s.strip.Fader(0)->Value()), 12);

    const int parts[] = {0, 15, 0x40, 0x50, 0x60, 0x61};
    const int ids[] = {1028, 1043, 1044, 1045, 1046, 1047};
    for (std::size_t i = 0; i < std::size(ids); ++i)
        QCOMPARE(CS6R_PartMatrix::PartIndexOf(ids[i]), parts[i]);
}

void PartEditorTest::theMainWindowHostsTheStripAndMatrixAndRefreshesThem()
{
    test::EditorFixture fixture;
    SetOnInstrument(fixture, 0x00, 0x0D, {66});
    SetOnInstrument(fixture, 0x50, 0x0D, {11});
    CS6R_PerfMainEdig dialog(nullptr, &fixture.device);
    QVERIFY(dialog.InitDialog());
    CS6R_PerfPartMainEdit* strip = dialog.PartStrip();
    CS6R_PartMatrix* matrix = dialog.PartMatrix();
    QVERIFY(strip && matrix);
    QCOMPARE(strip->geometry(), dialog.Control(1024)->geometry());
    QCOMPARE(matrix->geometry(), dialog.Control(1026)->geometry());
    QVERIFY(!dialog.Control(1024)->isVisibleTo(&dialog));
    QVERIFY(strip->isVisibleTo(&dialog) && matrix->isVisibleTo(&dialog));
    QCOMPARE(strip->Title()->text(), QStringLiteral("PART 1"));
    QCOMPARE(static_cast<int>(strip->Fader(0)->Value()), 66);
    QVERIFY(matrix->Selector(1028)->isChecked());

    matrix->Selector(1045)->click();
    QCOMPARE(strip->Title()->text(), QStringLiteral("PART CL"));
    QCOMPARE(static_cast<int>(strip->Fader(0)->Value()), 11);

    // "Request" reloads the strip too, for the part it shows.
    SetOnInstrument(fixture, 0x50, 0x0D, {44});
    dialog.OnRequest();
    QCOMPARE(static_cast<int>(strip->Fader(0)->Value()), 44);
    QCOMPARE(strip->PartIndex(), 0x50);
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

void PartEditorTest::enterPressesTheStripsFocusedButtonElseEndsTheMainWindow_data()
{
    QTest::addColumn<int>("focus"); // a button of the strip, 0 for the strip
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("opened");
    QTest::addColumn<int>("result"); // -1: the main window stays open
    QTest::newRow("Escape") << 0 << int{Qt::Key_Escape} << QString() << int{QDialog::Rejected};
    QTest::newRow("Enter") << 0 << int{Qt::Key_Return} << QString() << int{QDialog::Accepted};
    QTest::newRow("Enter on a switch") << 1017 << int{Qt::Key_Return} << QString() << int{QDialog::Accepted};
    QTest::newRow("Enter on QED") << 1014 << int{Qt::Key_Return} << "Part 1 filter & envelope QED" << -1;
    QTest::newRow("Enter on RecvSW") << 1015 << int{Qt::Key_Return} << "Part 1 receive switches" << -1;
}

void PartEditorTest::enterPressesTheStripsFocusedButtonElseEndsTheMainWindow()
{
    QFETCH(int, focus);
    QFETCH(int, key);
    QFETCH(QString, opened);
    QFETCH(int, result);
    test::EditorFixture fixture;
    CS6R_PerfMainEdig dialog(nullptr, &fixture.device);
    QVERIFY(dialog.InitDialog());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    CS6R_PerfPartMainEdit* strip = dialog.PartStrip();
    (focus ? strip->Control(focus) : strip)->setFocus();
    auto press = [key] { QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key)); };
    if (opened.isEmpty())
        press();
    else
        QCOMPARE(CaptionOfModal(press), opened);
    QCOMPARE(dialog.isVisible(), result < 0);
    if (result >= 0)
        QCOMPARE(dialog.result(), result);
    // The strip did not close itself inside the window.
    QVERIFY(strip->isVisibleTo(&dialog));
}

void PartEditorTest::typedProgramTextIsNeverChosen_data()
{
    QTest::addColumn<int>("bank");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("hoverFader"); // else Tab leaves the field
    QTest::newRow("a PLG1 program's number") << 4 << "12" << false;
    QTest::newRow("a PRE1 program's first letter") << 0 << "5" << true;
}

// Regression: the typed text, or the item it completed to, was stored and
// sent as the program once the field lost the focus.
void PartEditorTest::typedProgramTextIsNeverChosen()
{
    QFETCH(int, bank);
    QFETCH(QString, typed);
    QFETCH(bool, hoverFader);
    test::EditorFixture fixture;
    Strip s(fixture);
    Choose(s.strip.BankCombo(), bank);
    Choose(s.strip.ProgramCombo(), 2);
    s.strip.show();
    QVERIFY(QTest::qWaitForWindowActive(&s.strip));
    Received received(fixture);

    QLineEdit* field = s.strip.ProgramCombo()->lineEdit();
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, typed);
    if (hoverFader)
        test::Move(s.strip.Fader(0), QPoint(2, 2), Qt::NoButton);
    else
        QTest::keyClick(field, Qt::Key_Tab);
    QVERIFY(!field->hasFocus());
    QCOMPARE(s.strip.ProgramCombo()->currentIndex(), 2);
    QCOMPARE(field->text(), s.strip.ProgramCombo()->itemText(2));
    QCOMPARE(*fixture.device.ByteAt(0x31, 0x00, 0x02), std::uint8_t{2});
    QVERIFY(received.Take(0).empty());
}

void PartEditorTest::renderPartDialogs()
{
    test::EditorFixture fixture;
    {
        CS6R_PerfMainEdig dialog(nullptr, &fixture.device);
        QVERIFY(dialog.InitDialog());
        dialog.PartMatrix()->Selector(1045)->click(); // "CL"
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        SaveRender(dialog, "main_dialog_parts.png");
    }
    {
        CS6R_PerfPartEdit dialog(nullptr, &fixture.device, 0x02);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        SaveRender(dialog, "part_quick_edit.png");
    }
    {
        CS6R_PerfPartRecv dialog(nullptr, &fixture.device, 0x02);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        SaveRender(dialog, "part_receive_switches.png");
    }
}

QTEST_MAIN(PartEditorTest)
#include "PartEditorTest.moc"
