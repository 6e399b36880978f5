// The effect labels of the main window, copying a stored sound's reverb or
// chorus into the performance, and the patch select dialog, against the
// emulated instrument.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QAbstractItemView>

#include <algorithm>
#include <functional>
#include <thread>

#include "editor/CS6R_PerfMainEdig.h"
#include "editor/PatchSelectDlg.h"
#include "sim/DataFiles.h"
#include "synth/BankFiles.h"
#include "synth/SysExMessages.h"
#include "tests/editor/EditorFixture.h"

using namespace cs6;
using namespace std::chrono_literals;
using test::Bytes;

Q_DECLARE_METATYPE(Bytes)
Q_DECLARE_METATYPE(std::vector<Bytes>)
Q_DECLARE_METATYPE(sim::AnswerFaults)

namespace {

// Where the effect blocks sit in a stored sound's image: 40 01 / 46 01 and
// 40 02 / 46 02 are the second and third block of their region.
constexpr std::size_t kReverbInImage = 128;
constexpr std::size_t kChorusInImage = 256;
constexpr std::size_t kReverbCount = 24;
constexpr std::size_t kChorusCount = 25;

// Bank codes of the emulated instrument's banks (the bank select LSB).
constexpr int kCodePre1 = 0x00;
constexpr int kCodePre2 = 0x01;
constexpr int kCodeInt = 0x08;
constexpr int kCodePreDrum = 0x20;
constexpr int kCodeIntDrum = 0x28;

// The editor's stored sounds as the instrument holds them, as if loaded from
// the data files.
void LoadStoredSoundsFrom(const sim::EmulatedInstrument& instrument)
{
    const sim::SoundBanks banks = instrument.StoredSounds();
    (void)LoadPresetBanksFromBytes(sim::BankFileBytes(banks, sim::BankFile::Preset));
    (void)LoadUserBankFromBytes(sim::BankFileBytes(banks, sim::BankFile::Int), internalBank, internalDrums);
    (void)LoadUserBankFromBytes(sim::BankFileBytes(banks, sim::BankFile::Ext), externalBank, externalDrums);
}

Bytes Slice(const std::vector<std::uint8_t>& bytes, std::size_t from, std::size_t count)
{
    return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(from),
                 bytes.begin() + static_cast<std::ptrdiff_t>(from + count));
}

Bytes EditorBytes(SynthDevice& device, int mid, std::size_t from, std::size_t count)
{
    const std::uint8_t* block = device.ByteAt(0x30, mid, 0);
    return Bytes(block + from, block + from + count);
}

// Fills bytes from..from+count-1 of the editor's block 30 mid with value.
void Plant(SynthDevice& device, int mid, std::size_t from, std::size_t count, std::uint8_t value)
{
    std::fill_n(device.ByteAt(0x30, mid, 0) + from, count, value);
}

QString Label(const CS6R_PerfMainEdig& dialog, int id) { return dialog.ControlAs<QLabel>(id)->text(); }

QString Named(const char* effect, std::uint8_t msb, std::uint8_t lsb)
{
    return QString::fromLatin1(effect) + QStringLiteral(" : ") +
           QString::fromStdString(std::string(EffectTypeName(msb, lsb)));
}

// A person's choice in the patch dialog: a bank row and a 0-based program,
// then a click on OK, or Enter on the control enterOn. Without a program the
// dialog is cancelled after the bank choice.
struct Choice {
    int row;
    int program = -1;
    int enterOn = 0;
};

// Answers the patch dialog that is about to open. during, if set, runs while
// the dialog is open, before the choice.
void AnswerNextPatchDialog(Choice choice, std::function<void()> during = {})
{
    QTimer::singleShot(0, [choice, during] {
        auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        auto* dialog = qobject_cast<PatchSelectDlg*>(modal);
        if (!dialog) {
            if (modal)
                modal->reject();
            return;
        }
        if (during)
            during();
        const int index = dialog->BankList()->findData(choice.row);
        dialog->BankList()->setCurrentIndex(index);
        emit dialog->BankList()->activated(index);
        if (choice.program < 0) {
            dialog->reject();
            return;
        }
        dialog->ProgramList()->setCurrentIndex(choice.program);
        if (choice.enterOn)
            QTest::keyClick(dialog->Control(choice.enterOn), Qt::Key_Return);
        else
            dialog->OkButton()->click();
    });
}

// The switch pulses and the request of one copy: switch 11 on and off, what
// fetches the sound, switch 10 on and off.
std::vector<Bytes> PulsesAround(const std::vector<Bytes>& fetch)
{
    std::vector<Bytes> expected = {
        {0xF0, 0x43, 0x10, 0x64, 0x0A, 0x00, 0x11, 0x01, 0xF7}, // switch 11 on
        {0xF0, 0x43, 0x10, 0x64, 0x0A, 0x00, 0x11, 0x00, 0xF7}, // and off
    };
    expected.insert(expected.end(), fetch.begin(), fetch.end());
    expected.push_back({0xF0, 0x43, 0x10, 0x64, 0x0A, 0x00, 0x10, 0x01, 0xF7}); // switch 10 on
    expected.push_back({0xF0, 0x43, 0x10, 0x64, 0x0A, 0x00, 0x10, 0x00, 0xF7}); // and off
    return expected;
}

std::vector<Bytes> BytesOf(const std::vector<sim::LoggedMessage>& messages, std::size_t count)
{
    std::vector<Bytes> bytes;
    for (std::size_t i = 0; i < count && i < messages.size(); ++i)
        bytes.push_back(messages[i].bytes);
    return bytes;
}

} // namespace

class EffectsTest : public QObject {
    Q_OBJECT

private slots:
    void effectLabelsNameTheTypes_data();
    void effectLabelsNameTheTypes();
    void effectLabelsFollowEveryRefresh();

    void copyReverbReplacesBytes0To23AndSendsThePerformance_data();
    void copyReverbReplacesBytes0To23AndSendsThePerformance();
    void copyChorusFromADrumBankTakes25BytesOfBlock4602();
    void cancelSendsNothingAndRestoresDetection_data();
    void cancelSendsNothingAndRestoresDetection();
    void anIncompleteAnswerCopiesAndSendsNothing_data();
    void anIncompleteAnswerCopiesAndSendsNothing();
    void notificationsDuringTheCopyAreHandledAfterIt();

    void patchListsOfEachBank_data();
    void patchListsOfEachBank();
    void theProgramIsKeptWhereTheNewBankHasIt();
    void okIsEnabledOnlyWithABankAndAProgram();
    void typedTextNeverBecomesAProgram_data();
    void typedTextNeverBecomesAProgram();
    void renderPatchSelectDialog();
};

void EffectsTest::effectLabelsNameTheTypes_data()
{
    QTest::addColumn<int>("reverbMsb");
    QTest::addColumn<int>("reverbLsb");
    QTest::addColumn<int>("chorusMsb");
    QTest::addColumn<int>("chorusLsb");
    QTest::addColumn<QString>("reverbLabel");
    QTest::addColumn<QString>("chorusLabel");
    QTest::newRow("Room 1, Symphonic") << 0x01 << 0x10 << 0x05 << 0x20 << "Reverb : Room 1" << "Chorus : Symphonic";
    QTest::newRow("THRU twice") << 0x00 << 0x00 << 0x00 << 0x00 << "Reverb : THRU" << "Chorus : THRU";
    QTest::newRow("Tempo Cross Delay, V-Flanger")
        << 0x02 << 0x60 << 0x06 << 0x10 << "Reverb : Tempo Cross Delay" << "Chorus : V-Flanger";
    QTest::newRow("unknown keys end after the colon") << 0x01 << 0x02 << 0x7F << 0x7F << "Reverb : " << "Chorus : ";
}

void EffectsTest::effectLabelsNameTheTypes()
{
    QFETCH(int, reverbMsb);
    QFETCH(int, reverbLsb);
    QFETCH(int, chorusMsb);
    QFETCH(int, chorusLsb);
    QFETCH(QString, reverbLabel);
    QFETCH(QString, chorusLabel);

    test::EditorFixture fixture;
    CS6R_PerfMainEdig dialog(nullptr, &fixture.device);
    QVERIFY(dialog.InitDialog());
    *fixture.device.ByteAt(0x30, 0x01, 0) = static_cast<std::uint8_t>(reverbMsb);
    *fixture.device.ByteAt(0x30, 0x01, 1) = static_cast<std::uint8_t>(reverbLsb);
    *fixture.device.ByteAt(0x30, 0x02, 0) = static_cast<std::uint8_t>(chorusMsb);
    *fixture.device.ByteAt(0x30, 0x02, 1) = static_cast<std::uint8_t>(chorusLsb);
    dialog.RefreshFromMemory();
    QCOMPARE(Label(dialog, 1035), reverbLabel);
    QCOMPARE(Label(dialog, 1036), chorusLabel);
}

void EffectsTest::effectLabelsFollowEveryRefresh()
{
    test::EditorFixture fixture;
    CS6R_PerfMainEdig dialog(nullptr, &fixture.device);
    QVERIFY(dialog.InitDialog());
    // The start-up refresh shows what the instrument holds.
    const Bytes reverb = fixture.instrument->ReadMemory(PackAddress(0x30, 0x01, 0), 2);
    const Bytes chorus = fixture.instrument->ReadMemory(PackAddress(0x30, 0x02, 0), 2);
    QCOMPARE(Label(dialog, 1035), Named("Reverb", reverb[0], reverb[1]));
    QCOMPARE(Label(dialog, 1036), Named("Chorus", chorus[0], chorus[1]));

    // Types changed on the instrument show after "Request".
    const Bytes gateReverb = {0x03, 0x10};
    const Bytes phaser = {0x07, 0x08};
    QVERIFY(Bytes(reverb.begin(), reverb.end()) != gateReverb);
    fixture.instrument->Receive(sysex::ParameterChange(0x30, 0x01, 0x00, gateReverb));
    fixture.instrument->Receive(sysex::ParameterChange(0x30, 0x02, 0x00, phaser));
    dialog.Button(1027)->click();
    QCOMPARE(Label(dialog, 1035), QStringLiteral("Reverb : Gate Reverb"));
    QCOMPARE(Label(dialog, 1036), QStringLiteral("Chorus : Phaser 2"));
}

void EffectsTest::copyReverbReplacesBytes0To23AndSendsThePerformance_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("program");
    QTest::addColumn<int>("bankCode");
    QTest::addColumn<std::vector<Bytes>>("fetch");
    QTest::addColumn<int>("enterOn");
    // A user bank is requested where it is stored.
    QTest::newRow("INT 1") << int{kBankInt} << 0 << kCodeInt
                           << std::vector<Bytes>{{0xF0, 0x43, 0x20, 0x64, 0x0E, 0x08, 0x00, 0xF7}} // INT, program 0
                           << 0;
    // Enter in the program list presses OK.
    QTest::newRow("INT 1, Enter in the list") << int{kBankInt} << 0 << kCodeInt
                                              << std::vector<Bytes>{{0xF0, 0x43, 0x20, 0x64, 0x0E, 0x08, 0x00, 0xF7}}
                                              << 1001;
    // A preset is selected (bank MSB 3F, LSB 01, program 5), then requested
    // from the normal-voice edit buffer.
    QTest::newRow("PRE2 6") << int{kBankPre2} << 5 << kCodePre2
                            << std::vector<Bytes>{{0xB0, 0x00, 0x3F},
                                                  {0xB0, 0x20, 0x01},
                                                  {0xC0, 0x05},
                                                  {0xF0, 0x43, 0x20, 0x64, 0x0E, 0x0F, 0x00, 0xF7}}
                            << 0;
}

void EffectsTest::copyReverbReplacesBytes0To23AndSendsThePerformance()
{
    QFETCH(int, row);
    QFETCH(int, program);
    QFETCH(int, bankCode);
    QFETCH(std::vector<Bytes>, fetch);
    QFETCH(int, enterOn);

    test::EditorFixture fixture;
    LoadStoredSoundsFrom(*fixture.instrument);
    CS6R_PerfMainEdig dialog(nullptr, &fixture.device);
    QVERIFY(dialog.InitDialog());
    // A reverb no voice has (its key unknown), and marks behind the copied bytes.
    Plant(fixture.device, 0x01, 0, kReverbCount, 0x7E);
    Plant(fixture.device, 0x01, kReverbCount, 8, 0x55);
    const Bytes chorusBefore = EditorBytes(fixture.device, 0x02, 0, kChorusCount);
    dialog.RefreshFromMemory();
    QCOMPARE(Label(dialog, 1035), QStringLiteral("Reverb : "));
    fixture.TakeReceived();

    const Bytes voiceReverb = Slice(fixture.instrument->StoredImage(bankCode, program), kReverbInImage, kReverbCount);
    QVERIFY(!std::string(EffectTypeName(voiceReverb[0], voiceReverb[1])).empty());

    AnswerNextPatchDialog({row, program, enterOn});
    dialog.Button(1031)->click();

    // The memory: bytes 0..23 from the voice, the rest of the block and the
    // chorus as they were.
    QCOMPARE(EditorBytes(fixture.device, 0x01, 0, kReverbCount), voiceReverb);
    QCOMPARE(EditorBytes(fixture.device, 0x01, kReverbCount, 8), Bytes(8, 0x55));
    QCOMPARE(EditorBytes(fixture.device, 0x02, 0, kChorusCount), chorusBefore);

    // On the wire: the pulses around the fetch, then the whole performance.
    QVERIFY(fixture.instrument->WaitUntilIdle(5s) == sim::WaitOutcome::Reached);
    const auto received = fixture.TakeReceived();
    const std::vector<Bytes> expected = PulsesAround(fetch);
    QCOMPARE(received.size(), expected.size() + 34);
    QCOMPARE(BytesOf(received, expected.size()), expected);
    const std::size_t request = fetch.size() + 1;
    QVERIFY(received[1].time - received[0].time >= 50ms);
    QVERIFY(received[request + 1].time - received[request].time >= 50ms); // the pause after the copy
    QVERIFY(received[request + 2].time - received[request + 1].time >= 50ms);
    const std::size_t header = expected.size();
    QCOMPARE(received[header].bytes, (Bytes{0xF0, 0x43, 0x00, 0x64, 0x00, 0x00, 0x0E, 0x4F, 0x00, 0x23, 0xF7}));
    QCOMPARE(received.back().bytes, (Bytes{0xF0, 0x43, 0x00, 0x64, 0x00, 0x00, 0x0F, 0x4F, 0x00, 0x22, 0xF7}));
    const Bytes reverbBlock = sysex::BulkDump(0x30, 0x01, 0x00, voiceReverb);
    QVERIFY(std::any_of(received.begin(), received.end(), [&](const auto& m) { return m.bytes == reverbBlock; }));

    // The instrument's performance holds the copied reverb too, and the label
    // names it.
    QCOMPARE(fixture.instrument->ReadMemory(PackAddress(0x30, 0x01, 0), kReverbCount), voiceReverb);
    QCOMPARE(Label(dialog, 1035), Named("Reverb", voiceReverb[0], voiceReverb[1]));
    QVERIFY(dialog.DetectManualChange());
    QVERIFY(fixture.boxes.empty());
}

void EffectsTest::copyChorusFromADrumBankTakes25BytesOfBlock4602()
{
    test::EditorFixture fixture;
    LoadStoredSoundsFrom(*fixture.instrument);
    CS6R_PerfMainEdig dialog(nullptr, &fixture.device);
    QVERIFY(dialog.InitDialog());
    Plant(fixture.device, 0x02, 0, kChorusCount, 0x7E);
    Plant(fixture.device, 0x02, kChorusCount, 8, 0x55);
    const Bytes reverbBefore = EditorBytes(fixture.device, 0x01, 0, kReverbCount);
    fixture.TakeReceived();

    const Bytes kitChorus = Slice(fixture.instrument->StoredImage(kCodeIntDrum, 1), kChorusInImage, kChorusCount);
    QVERIFY(kitChorus != Bytes(kChorusCount, 0x7E));
    QVERIFY(!std::string(EffectTypeName(kitChorus[0], kitChorus[1])).empty());

    AnswerNextPatchDialog({kBankIntDrum, 1});
    dialog.Button(1032)->click();

    QCOMPARE(EditorBytes(fixture.device, 0x02, 0, kChorusCount), kitChorus);
    QCOMPARE(EditorBytes(fixture.device, 0x02, kChorusCount, 8), Bytes(8, 0x55));
    QCOMPARE(EditorBytes(fixture.device, 0x01, 0, kReverbCount), reverbBefore);

    QVERIFY(fixture.instrument->WaitUntilIdle(5s) == sim::WaitOutcome::Reached);
    const auto received = fixture.TakeReceived();
    const std::vector<Bytes> expected =
        PulsesAround({{0xF0, 0x43, 0x20, 0x64, 0x0E, 0x28, 0x01, 0xF7}}); // INT drum, program 1
    QCOMPARE(received.size(), expected.size() + 34);
    QCOMPARE(BytesOf(received, expected.size()), expected);
    QCOMPARE(fixture.instrument->ReadMemory(PackAddress(0x30, 0x02, 0), kChorusCount), kitChorus);
    QCOMPARE(Label(dialog, 1036), Named("Chorus", kitChorus[0], kitChorus[1]));
    QVERIFY(fixture.boxes.empty());
}

void EffectsTest::cancelSendsNothingAndRestoresDetection_data()
{
    QTest::addColumn<bool>("detecting");
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("program"); // chosen before Enter on Cancel; -1: cancelled after the bank
    QTest::newRow("reverb, detection on") << true << 1031 << -1;
    QTest::newRow("chorus, detection off") << false << 1032 << -1;
    QTest::newRow("Enter on Cancel after a full choice") << true << 1031 << 3;
}

void EffectsTest::cancelSendsNothingAndRestoresDetection()
{
    QFETCH(bool, detecting);
    QFETCH(int, button);
    QFETCH(int, program);

    test::EditorFixture fixture;
    LoadStoredSoundsFrom(*fixture.instrument);
    CS6R_PerfMainEdig dialog(nullptr, &fixture.device);
    QVERIFY(dialog.InitDialog());
    dialog.SetDetectManualChange(detecting);
    const Bytes reverb = EditorBytes(fixture.device, 0x01, 0, 128);
    const Bytes chorus = EditorBytes(fixture.device, 0x02, 0, 128);
    const QString reverbLabel = Label(dialog, 1035);
    fixture.TakeReceived();

    // While the dialog is open detection is off, and a program change from
    // the instrument starts no request.
    bool offWhileOpen = false;
    AnswerNextPatchDialog({kBankInt, program, kIdCancel}, [&] {
        offWhileOpen = !dialog.DetectManualChange();
        PostUserMessage(&dialog, kShortMessageNotify, 0xC0, 0x05);
        QCoreApplication::sendPostedEvents(&dialog);
    });
    dialog.Button(button)->click();

    QVERIFY(offWhileOpen);
    QCOMPARE(dialog.DetectManualChange(), detecting);
    QVERIFY(fixture.instrument->WaitUntilIdle(2s) == sim::WaitOutcome::Reached);
    QVERIFY(fixture.TakeReceived().empty());
    QCOMPARE(EditorBytes(fixture.device, 0x01, 0, 128), reverb);
    QCOMPARE(EditorBytes(fixture.device, 0x02, 0, 128), chorus);
    QCOMPARE(Label(dialog, 1035), reverbLabel);
    QVERIFY(fixture.boxes.empty());
}

void EffectsTest::anIncompleteAnswerCopiesAndSendsNothing_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("program");
    QTest::addColumn<sim::AnswerFaults>("faults");
    QTest::addColumn<Bytes>("request");
    QTest::addColumn<QString>("outcome");
    QTest::newRow("silent") << int{kBankInt} << 0 << sim::AnswerFaults{.noAnswer = true}
                            << Bytes{0xF0, 0x43, 0x20, 0x64, 0x0E, 0x08, 0x00, 0xF7} << "not answered";
    QTest::newRow("cut short") << int{kBankInt} << 3 << sim::AnswerFaults{.onlyFirst = 20}
                               << Bytes{0xF0, 0x43, 0x20, 0x64, 0x0E, 0x08, 0x03, 0xF7} << "incomplete";
    QTest::newRow("bad checksum") << int{kBankInt} << 3 << sim::AnswerFaults{.wrongChecksumAt = 2}
                                  << Bytes{0xF0, 0x43, 0x20, 0x64, 0x0E, 0x08, 0x03, 0xF7} << "corrupt";
    // The emulated instrument has no plug-in board: PLG1 gets no answer.
    QTest::newRow("no plug-in board") << int{kBankPlg1} << 9 << sim::AnswerFaults{}
                                      << Bytes{0xF0, 0x43, 0x20, 0x64, 0x0E, 0x18, 0x09, 0xF7} << "not answered";
}

void EffectsTest::anIncompleteAnswerCopiesAndSendsNothing()
{
    QFETCH(int, row);
    QFETCH(int, program);
    QFETCH(sim::AnswerFaults, faults);
    QFETCH(Bytes, request);
    QFETCH(QString, outcome);

    test::EditorFixture fixture;
    LoadStoredSoundsFrom(*fixture.instrument);
    CS6R_PerfMainEdig dialog(nullptr, &fixture.device);
    QVERIFY(dialog.InitDialog());
    const Bytes reverb = EditorBytes(fixture.device, 0x01, 0, 128);
    const Bytes voiceRegion(fixture.device.Memory().Region(kNormalVoiceRegion).begin(),
                            fixture.device.Memory().Region(kNormalVoiceRegion).end());
    const Bytes instrumentReverb = fixture.instrument->ReadMemory(PackAddress(0x30, 0x01, 0), kReverbCount);
    const QString reverbLabel = Label(dialog, 1035);
    fixture.TakeReceived();
    fixture.instrument->SetFaults(faults, sim::FaultScope::UntilCleared);

    AnswerNextPatchDialog({row, program});
    dialog.Button(1031)->click();

    // Nothing copied, nothing sent but the pulses around the request.
    QCOMPARE(EditorBytes(fixture.device, 0x01, 0, 128), reverb);
    const auto region = fixture.device.Memory().Region(kNormalVoiceRegion);
    QCOMPARE(Bytes(region.begin(), region.end()), voiceRegion);
    QVERIFY(fixture.instrument->WaitUntilIdle(5s) == sim::WaitOutcome::Reached);
    QCOMPARE(BytesOf(fixture.TakeReceived(), 100), PulsesAround({request}));
    const auto switches = fixture.instrument->SwitchEvents();
    QVERIFY(!switches.empty());
    QCOMPARE(switches.back().switchNumber, 0x10);
    QCOMPARE(switches.back().value, std::uint8_t{0});
    QCOMPARE(fixture.instrument->ReadMemory(PackAddress(0x30, 0x01, 0), kReverbCount), instrumentReverb);
    QCOMPARE(Label(dialog, 1035), reverbLabel);
    QVERIFY(dialog.DetectManualChange());

    // And the user is told.
    QCOMPARE(fixture.boxes.size(), std::size_t{1});
    const QString box = QString::fromStdString(fixture.boxes[0]);
    QVERIFY2(box.contains(QStringLiteral("did not answer as expected")), qPrintable(box));
    QVERIFY2(box.contains(QStringLiteral("Nothing was copied")), qPrintable(box));
    QVERIFY2(box.contains(outcome), qPrintable(box));
}

void EffectsTest::notificationsDuringTheCopyAreHandledAfterIt()
{
    test::EditorFixture fixture;
    LoadStoredSoundsFrom(*fixture.instrument);
    CS6R_PerfMainEdig dialog(nullptr, &fixture.device);
    QVERIFY(dialog.InitDialog());
    QVERIFY(dialog.DetectManualChange());
    fixture.TakeReceived();

    // Once the voice's request has reached the instrument, a performance is
    // chosen on its panel: its program change arrives while the copy sends.
    const std::size_t before = fixture.instrument->ReceivedMessages().size();
    sim::PanelOutcome panel = sim::PanelOutcome::NoSuchPerformance;
    std::thread frontPanel([&] {
        if (fixture.instrument->WaitForReceived(before + 3, 10s) == sim::WaitOutcome::Reached)
            panel = fixture.instrument->SelectPerformance(sim::PerformanceBank::Internal, 4);
    });
    AnswerNextPatchDialog({kBankInt, 0});
    dialog.Button(1031)->click();
    frontPanel.join();
    QVERIFY(panel == sim::PanelOutcome::Selected);

    // During the copy nothing else was asked for: the pulses, the request and
    // the performance only.
    QVERIFY(fixture.instrument->WaitUntilIdle(5s) == sim::WaitOutcome::Reached);
    const std::size_t copy = 5 + 34; // two pulses around the request, the performance bulk
    QCOMPARE(fixture.instrument->ReceivedMessages().size() - before, copy);

    // Afterwards, with detection back on, the program change asks for the
    // performance.
    const Bytes performanceRequest = {0xF0, 0x43, 0x20, 0x64, 0x0E, 0x4F, 0x00, 0xF7};
    QTRY_COMPARE_WITH_TIMEOUT(fixture.instrument->ReceivedMessages().size() - before, copy + 1, 5000);
    QCOMPARE(fixture.instrument->ReceivedMessages().back().bytes, performanceRequest);
}

void EffectsTest::patchListsOfEachBank_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("bankName");
    QTest::addColumn<int>("count");
    QTest::newRow("INT") << int{kBankInt} << "INT" << 128;
    QTest::newRow("PRE1") << int{kBankPre1} << "PRE1" << 128;
    QTest::newRow("PLG1") << int{kBankPlg1} << "PLG1" << 64;
    QTest::newRow("PLG2") << int{kBankPlg2} << "PLG2" << 64;
    QTest::newRow("PRE drum") << int{kBankPreDrum} << "PRE drum" << 8;
    QTest::newRow("INT drum") << int{kBankIntDrum} << "INT drum" << 2;
    QTest::newRow("EXT drum") << int{kBankExtDrum} << "EXT drum" << 2;
}

void EffectsTest::patchListsOfEachBank()
{
    QFETCH(int, row);
    QFETCH(QString, bankName);
    QFETCH(int, count);

    test::EditorFixture fixture;
    LoadStoredSoundsFrom(*fixture.instrument);
    PatchSelectDlg dialog(nullptr);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Select patch"));

    // The nine banks PRE1 .. EXT drum, each with its bankTable row.
    const QStringList banks = {"PRE1", "PRE2", "INT", "EXT", "PLG1", "PLG2", "PRE drum", "INT drum", "EXT drum"};
    QCOMPARE(dialog.BankList()->count(), banks.size());
    for (int i = 0; i < banks.size(); ++i) {
        QCOMPARE(dialog.BankList()->itemText(i), banks[i]);
        QCOMPARE(dialog.BankList()->itemData(i).toInt(), i + 2);
    }

    const int index = dialog.BankList()->findData(row);
    QCOMPARE(dialog.BankList()->itemText(index), bankName);
    dialog.BankList()->setCurrentIndex(index);
    emit dialog.BankList()->activated(index);
    QComboBox* programs = dialog.ProgramList();
    QCOMPARE(programs->count(), count);
    for (int i = 0; i < count; ++i) {
        const QString number = QString::number(i + 1);
        QString expected = number;
        if (const NormalVoice* voice = bankTable[static_cast<std::size_t>(row)].NormalVoiceAt(i)) {
            QVERIFY(!voice->GetName().empty());
            expected = number + "  " + QString::fromStdString(voice->GetCategoryCode()) + ":  " +
                       QString::fromStdString(voice->GetName());
        } else if (const DrumVoice* kit = bankTable[static_cast<std::size_t>(row)].DrumVoiceAt(i)) {
            QVERIFY(!kit->GetName().empty());
            expected = number + "  " + QString::fromStdString(kit->GetName());
        }
        QCOMPARE(programs->itemText(i), expected);
    }
}

void EffectsTest::theProgramIsKeptWhereTheNewBankHasIt()
{
    test::EditorFixture fixture;
    LoadStoredSoundsFrom(*fixture.instrument);
    PatchSelectDlg dialog(nullptr);
    auto choose = [&](int row) {
        const int index = dialog.BankList()->findData(row);
        dialog.BankList()->setCurrentIndex(index);
        emit dialog.BankList()->activated(index);
    };

    // The first bank choice leaves the programs without a selection.
    QCOMPARE(dialog.ProgramList()->count(), 0);
    choose(kBankPre1);
    QCOMPARE(dialog.ProgramList()->count(), 128);
    QCOMPARE(dialog.ProgramList()->currentIndex(), -1);

    dialog.ProgramList()->setCurrentIndex(100);
    choose(kBankPre2);
    QCOMPARE(dialog.ProgramList()->currentIndex(), 100);
    QVERIFY(dialog.ProgramList()->currentText().startsWith(QStringLiteral("101  ")));
    choose(kBankPreDrum);
    QCOMPARE(dialog.ProgramList()->count(), 8);
    QCOMPARE(dialog.ProgramList()->currentIndex(), 0);
    choose(kBankIntDrum);
    QCOMPARE(dialog.ProgramList()->currentIndex(), 0);
    dialog.ProgramList()->setCurrentIndex(1);
    choose(kBankPlg1);
    QCOMPARE(dialog.ProgramList()->currentIndex(), 1);
    QCOMPARE(dialog.ProgramList()->currentText(), QStringLiteral("2"));

    dialog.OnOk();
    QCOMPARE(dialog.result(), int{QDialog::Accepted});
    QCOMPARE(dialog.selectedBank, std::int32_t{kBankPlg1});
    QCOMPARE(dialog.selectedProgram, std::int32_t{1});
}

void EffectsTest::okIsEnabledOnlyWithABankAndAProgram()
{
    test::EditorFixture fixture;
    LoadStoredSoundsFrom(*fixture.instrument);
    PatchSelectDlg dialog(nullptr);
    QVERIFY(!dialog.OkButton()->isEnabled());
    QVERIFY(dialog.OkButton()->isDefault());

    // Enter with nothing chosen does not end the dialog.
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClick(&dialog, Qt::Key_Return);
    QVERIFY(dialog.isVisible());
    dialog.OnOk();
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.selectedBank, -1);
    QCOMPARE(dialog.selectedProgram, -1);

    const int ext = dialog.BankList()->findData(int{kBankExt});
    dialog.BankList()->setCurrentIndex(ext);
    emit dialog.BankList()->activated(ext);
    QVERIFY(!dialog.OkButton()->isEnabled());
    dialog.ProgramList()->setCurrentIndex(127);
    QVERIFY(dialog.OkButton()->isEnabled());

    // Enter now presses OK.
    QTest::keyClick(&dialog, Qt::Key_Return);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int{QDialog::Accepted});
    QCOMPARE(dialog.selectedBank, std::int32_t{kBankExt});
    QCOMPARE(dialog.selectedProgram, std::int32_t{127});
}

void EffectsTest::typedTextNeverBecomesAProgram_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("leave"); // the key that ends the typing
    QTest::newRow("a PLG2 program's number, Enter") << int{kBankPlg2} << "12" << int{Qt::Key_Return};
    QTest::newRow("a PRE1 program's first letter, Tab") << int{kBankPre1} << "5" << int{Qt::Key_Tab};
    QTest::newRow("text of no program, Enter") << int{kBankPlg2} << "my own" << int{Qt::Key_Return};
}

// Regression: typed text that named a program, or completed to one, became
// the choice and enabled OK.
void EffectsTest::typedTextNeverBecomesAProgram()
{
    QFETCH(int, row);
    QFETCH(QString, typed);
    QFETCH(int, leave);
    test::EditorFixture fixture;
    LoadStoredSoundsFrom(*fixture.instrument);
    PatchSelectDlg dialog(nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    const int bank = dialog.BankList()->findData(row);
    dialog.BankList()->setCurrentIndex(bank);
    emit dialog.BankList()->activated(bank);

    QLineEdit* field = dialog.ProgramList()->lineEdit();
    field->setFocus();
    QTest::keyClicks(field, typed);
    QTest::keyClick(field, static_cast<Qt::Key>(leave));
    QCOMPARE(dialog.ProgramList()->currentIndex(), -1);
    QCOMPARE(field->text(), QString());
    QVERIFY(!dialog.OkButton()->isEnabled());
    QVERIFY(dialog.isVisible());
}

void EffectsTest::renderPatchSelectDialog()
{
    test::EditorFixture fixture;
    LoadStoredSoundsFrom(*fixture.instrument);
    PatchSelectDlg dialog(nullptr);
    const int index = dialog.BankList()->findData(int{kBankInt});
    dialog.BankList()->setCurrentIndex(index);
    emit dialog.BankList()->activated(index);
    // The widest item, to see that the closed field shows it whole.
    const QFontMetrics metrics(dialog.ProgramList()->font());
    int widest = 0;
    for (int i = 1; i < dialog.ProgramList()->count(); ++i) {
        if (metrics.horizontalAdvance(dialog.ProgramList()->itemText(i)) >
            metrics.horizontalAdvance(dialog.ProgramList()->itemText(widest)))
            widest = i;
    }
    dialog.ProgramList()->setCurrentIndex(widest);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QDir().mkpath(QStringLiteral(CS6_RENDER_DIR));
    QVERIFY(dialog.grab().save(QStringLiteral(CS6_RENDER_DIR "/patch_select.png")));

    // The open program list, whose items are wider than the closed field.
    dialog.ProgramList()->showPopup();
    QWidget* popup = dialog.ProgramList()->view()->window();
    QVERIFY(QTest::qWaitForWindowExposed(popup));
    QVERIFY(popup->grab().save(QStringLiteral(CS6_RENDER_DIR "/patch_select_programs.png")));
    dialog.ProgramList()->hidePopup();
}

QTEST_MAIN(EffectsTest)
#include "EffectsTest.moc"
