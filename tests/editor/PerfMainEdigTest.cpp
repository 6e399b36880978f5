// The main window against the emulated instrument.
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <filesystem>

#include "app/EditorApp.h"
#include "editor/CS6R_PerfMainEdig.h"
#include "framework/FileIo.h"
#include "midi/MidiSetupDlg.h"
#include "sim/DataFiles.h"
#include "synth/BankFiles.h"
#include "synth/SysExMessages.h"
#include "tests/editor/EditorFixture.h"

using namespace cs6;
using namespace std::chrono_literals;
using test::Bytes;

namespace {

Bytes ParameterChange(int low, std::initializer_list<std::uint8_t> data)
{
    return sysex::ParameterChange(0x30, 0x00, low, std::vector<std::uint8_t>(data));
}

std::string InstrumentName(sim::EmulatedInstrument& instrument)
{
    const auto bytes = instrument.ReadMemory(PackAddress(0x30, 0x00, 0), 10);
    return StoredName(bytes.data());
}

// Closes the modal dialog that is about to open, as a person pressing Cancel.
void CancelNextModal()
{
    QTimer::singleShot(0, [] {
        if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            modal->reject();
    });
}

} // namespace

class PerfMainEdigTest : public QObject {
    Q_OBJECT

private slots:
    void startUpSequenceAndFirstRefresh();
    void noUsablePortsEndsTheRunAndStillSavesTheSettings();
    void combosStoreAndSendTheirBytes();
    void aValueOutsideAListLeavesTheSelection();
    void twoByteFadersSendHighBitsFirst();
    void theNameIsMappedAndSentAsTenMessages();
    void requestShowsWhatTheInstrumentHolds();
    void transmitSendsThePerformanceTheInstrumentThenHolds();
    void initPerfSendsTheInitialPerformance();
    void auditionPulsesSwitch10();
    void aFrontPanelChangeIsFollowedByARequest();
    void receivePatchesWritesBothBankFiles();
    void aSilentInstrumentLeavesTheBankFilesAndSaysSo();
    void enterPressesTheFocusedButtonElseEndsTheDialog_data();
    void enterPressesTheFocusedButtonElseEndsTheDialog();
    void aBoxOnTheSendPathRunsNoOtherHandler();
    void midiSetupListsTheEmulatedInstrumentAndReopens();
    void renderMainDialog();
};

void PerfMainEdigTest::startUpSequenceAndFirstRefresh()
{
    test::EditorFixture fixture;
    CS6R_PerfMainEdig dialog(nullptr, &fixture.device);
    QVERIFY(dialog.InitDialog());

    const auto received = fixture.TakeReceived();
    QCOMPARE(received.size(), std::size_t{7});
    const std::vector<Bytes> expected = {
        {0xB0, 0x07, 0x00},                                    // volume 0
        {0xF0, 0x43, 0x10, 0x64, 0x0A, 0x00, 0x11, 0x01, 0xF7}, // switch 11 on
        {0xF0, 0x43, 0x10, 0x64, 0x0A, 0x00, 0x11, 0x00, 0xF7}, // and off
        {0xB0, 0x07, 0x7F},                                    // volume 127
        {0xF0, 0x43, 0x10, 0x64, 0x0A, 0x00, 0x10, 0x01, 0xF7}, // switch 10 on
        {0xF0, 0x43, 0x10, 0x64, 0x0A, 0x00, 0x10, 0x00, 0xF7}, // and off
        {0xF0, 0x43, 0x20, 0x64, 0x0E, 0x4F, 0x00, 0xF7},       // the performance edit buffer
    };
    for (std::size_t i = 0; i < expected.size(); ++i)
        QCOMPARE(received[i].bytes, expected[i]);
    // The waits: 50 ms after the volume, in each pulse and after it.
    for (std::size_t i : {1u, 2u, 3u, 5u, 6u})
        QVERIFY(received[i].time - received[i - 1].time >= 50ms);

    // Every control shows what the instrument holds.
    QCOMPARE(dialog.NameEdit()->text().toStdString(), InstrumentName(*fixture.instrument));
    const auto common = fixture.instrument->ReadMemory(PackAddress(0x30, 0x00, 0), 68);
    QCOMPARE(dialog.Combo(1000)->currentIndex(), int{common[0x0C]});
    QCOMPARE(dialog.Combo(1020)->currentIndex(), int{common[0x0E]});
    QCOMPARE(static_cast<int>(dialog.Fader(0)->Value()), int{common[0x38]});
    QCOMPARE(static_cast<int>(dialog.Fader(3)->Value()), common[0x1F] << 7 | common[0x20]);
    QVERIFY(dialog.DetectManualChange());
    const auto reverb = fixture.instrument->ReadMemory(PackAddress(0x30, 0x01, 0), 2);
    QCOMPARE(dialog.ControlAs<QLabel>(1035)->text(),
             QStringLiteral("Reverb : ") + QString::fromStdString(std::string(EffectTypeName(reverb[0], reverb[1]))));
    QVERIFY(!std::string(EffectTypeName(reverb[0], reverb[1])).empty());
}

void PerfMainEdigTest::noUsablePortsEndsTheRunAndStillSavesTheSettings()
{
    QTemporaryDir folder;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder.path());
    {
        auto instrument = std::make_shared<sim::EmulatedInstrument>(sim::InstrumentOptions::ForUnitTests());
        std::vector<std::string> boxes;
        auto previousBoxes = SetMessageBoxHandler([&](std::string_view text) { boxes.emplace_back(text); });
        EditorApp::Options options;
        options.useAlsa = false;
        options.useJack = false;
        options.inProcessPeers.emplace_back(sim::kEmulatedPortName, std::make_shared<sim::EmulatedPeer>(instrument));
        EditorApp app(std::move(options));
        CancelNextModal(); // the setup dialog
        QCOMPARE(app.InitInstance(), 0);
        SetMessageBoxHandler(std::move(previousBoxes));

        // The missing data files are named, then the two port messages.
        QCOMPARE(boxes.size(), std::size_t{4});
        QVERIFY(QString::fromStdString(boxes[0]).contains(QStringLiteral("patches_pre.bnk")));
        QVERIFY(QString::fromStdString(boxes[1]).contains(QStringLiteral("perf_init.prf")));
        QCOMPARE(boxes[2], std::string("Current MIDI configuration is not valid. Please specify MIDI ports!"));
        QCOMPARE(boxes[3], std::string("Required MIDI ports not specified. Exiting..."));
        QVERIFY(instrument->ReceivedMessages().empty());
        QCOMPARE(ReadWholeFile("settings.dat"), Bytes(51, 0));
        QVERIFY(!midiSystem);
    }
    QDir::setCurrent(previous);
}

void PerfMainEdigTest::combosStoreAndSendTheirBytes()
{
    test::EditorFixture fixture;
    CS6R_PerfMainEdig dialog(nullptr, &fixture.device);
    QVERIFY(dialog.InitDialog());
    fixture.TakeReceived();

    struct Case {
        int id;
        int index;
        int low;
        std::uint8_t stored;
    };
    const Case cases[] = {
        {1002, 17, 0x41, 0x50}, // INS Eff part "PartCL"
        {1002, 3, 0x41, 0x03},  // "Part 4"
        {1004, 18, 0x43, 0x7F}, // "off"
        {1003, 1, 0x42, 0x61},  // "PartP2"
        {1003, 2, 0x42, 0x7F},  // "off"
        {1001, 16, 0x10, 16},   // "BasicCh"
        {1000, 21, 0x0C, 21},   // "Material Wave"
        {1016, 6, 0x16, 6},     // "200%"
    };
    for (const auto& c : cases) {
        dialog.Combo(c.id)->setCurrentIndex(c.index);
        emit dialog.Combo(c.id)->activated(c.index);
        QCOMPARE(*fixture.device.ByteAt(0x30, 0x00, c.low), c.stored);
        QVERIFY(fixture.instrument->WaitForReceived(1, 2s) == sim::WaitOutcome::Reached);
        QCOMPARE(fixture.TakeReceivedBytes(), std::vector<Bytes>{ParameterChange(c.low, {c.stored})});
        QCOMPARE(fixture.instrument->ReadMemory(PackAddress(0x30, 0x00, c.low), 1)[0], c.stored);
    }

    // The ARP switch: caption and byte.
    QPushButton* arp = dialog.Button(1018);
    const bool wasOn = arp->isChecked();
    arp->click();
    QCOMPARE(arp->text(), wasOn ? QStringLiteral("off") : QStringLiteral("on"));
    const auto stored = static_cast<std::uint8_t>(wasOn ? 0 : 1);
    QCOMPARE(*fixture.device.ByteAt(0x30, 0x00, 0x14), stored);
    QCOMPARE(fixture.TakeReceivedBytes(), std::vector<Bytes>{ParameterChange(0x14, {stored})});
}

void PerfMainEdigTest::aValueOutsideAListLeavesTheSelection()
{
    test::EditorFixture fixture;
    CS6R_PerfMainEdig dialog(nullptr, &fixture.device);
    QVERIFY(dialog.InitDialog());
    dialog.Combo(1002)->setCurrentIndex(5);
    *fixture.device.ByteAt(0x30, 0x00, 0x41) = 0x20;
    *fixture.device.ByteAt(0x30, 0x00, 0x0C) = 30; // no category 30
    const int category = dialog.Combo(1000)->currentIndex();
    dialog.RefreshFromMemory();
    QCOMPARE(dialog.Combo(1002)->currentIndex(), 5);
    QCOMPARE(dialog.Combo(1000)->currentIndex(), category);
}

void PerfMainEdigTest::twoByteFadersSendHighBitsFirst()
{
    test::EditorFixture fixture;
    CS6R_PerfMainEdig dialog(nullptr, &fixture.device);
    QVERIFY(dialog.InitDialog());
    fixture.TakeReceived();

    struct Case {
        int fader;
        int value;
        int low;
        Bytes data;
    };
    const Case cases[] = {
        {3, 300, 0x1F, {0x02, 0x2C}}, // ARP tempo
        {3, 25, 0x1F, {0x00, 0x19}},
        {1, 200, 0x1B, {0x01, 0x48}}, // ARP velocity rate
        {0, 100, 0x38, {0x64}},       // volume: one byte
    };
    for (const auto& c : cases) {
        dialog.Fader(c.fader)->SetValue(c.value);
        PostUserMessage(&dialog, kFaderReleaseMessage, static_cast<quintptr>(c.fader), 0);
        QCoreApplication::sendPostedEvents(&dialog);
        QVERIFY(fixture.instrument->WaitForReceived(1, 2s) == sim::WaitOutcome::Reached);
        QCOMPARE(fixture.TakeReceivedBytes(), std::vector<Bytes>{sysex::ParameterChange(0x30, 0x00, c.low, c.data)});
    }
}

void PerfMainEdigTest::theNameIsMappedAndSentAsTenMessages()
{
    test::EditorFixture fixture;
    CS6R_PerfMainEdig dialog(nullptr, &fixture.device);
    QVERIFY(dialog.InitDialog());
    QCoreApplication::sendPostedEvents();
    fixture.TakeReceived();

    // A refresh writes the name without sending anything.
    dialog.RefreshFromMemory();
    QCoreApplication::sendPostedEvents();
    QVERIFY(fixture.TakeReceived().empty());

    dialog.NameEdit()->setText(QString::fromUtf8("Ab\u00e9\u007f"));
    QCoreApplication::sendPostedEvents(&dialog);
    const auto received = fixture.TakeReceived();
    QCOMPARE(received.size(), std::size_t{10});
    const std::uint8_t expected[10] = {'A', 'b', ' ', '~', ' ', ' ', ' ', ' ', ' ', ' '};
    for (int i = 0; i < 10; ++i) {
        QCOMPARE(received[static_cast<std::size_t>(i)].bytes, ParameterChange(i, {expected[i]}));
        if (i > 0)
            QVERIFY(received[static_cast<std::size_t>(i)].time - received[static_cast<std::size_t>(i) - 1].time >= 20ms);
    }
    QCOMPARE(InstrumentName(*fixture.instrument), std::string("Ab ~"));
}

void PerfMainEdigTest::requestShowsWhatTheInstrumentHolds()
{
    test::EditorFixture fixture;
    CS6R_PerfMainEdig dialog(nullptr, &fixture.device);
    QVERIFY(dialog.InitDialog());
    // Changed on the instrument behind the editor's back.
    fixture.instrument->Receive(sysex::ParameterChange(0x30, 0x00, 0x00, Bytes{'C', 'h', 'a', 'n', 'g', 'e', 'd', ' ', ' ', ' '}));
    fixture.instrument->Receive(ParameterChange(0x38, {17}));
    dialog.OnRequest();
    QCOMPARE(dialog.NameEdit()->text(), QStringLiteral("Changed"));
    QCOMPARE(static_cast<int>(dialog.Fader(0)->Value()), 17);
}

void PerfMainEdigTest::transmitSendsThePerformanceTheInstrumentThenHolds()
{
    test::EditorFixture fixture;
    CS6R_PerfMainEdig dialog(nullptr, &fixture.device);
    QVERIFY(dialog.InitDialog());
    fixture.TakeReceived();
    std::copy_n("Transmit  ", 10, fixture.device.ByteAt(0x30, 0x00, 0));
    *fixture.device.ByteAt(0x31, 0x05, 0x0D) = 99; // part 6 volume
    dialog.OnTransmit();
    QVERIFY(fixture.instrument->WaitForReceived(34, 5s) == sim::WaitOutcome::Reached);
    const auto received = fixture.TakeReceived();
    QCOMPARE(received.size(), std::size_t{34});
    QCOMPARE(received.front().bytes, sysex::BulkDump(0x0E, 0x4F, 0x00, {}));
    QCOMPARE(received.back().bytes, sysex::BulkDump(0x0F, 0x4F, 0x00, {}));
    for (std::size_t i = 1; i < received.size(); ++i)
        QVERIFY(received[i].time - received[i - 1].time >= 50ms);
    QCOMPARE(InstrumentName(*fixture.instrument), std::string("Transmit"));
    QCOMPARE(fixture.instrument->ReadMemory(PackAddress(0x31, 0x05, 0x0D), 1)[0], std::uint8_t{99});
}

void PerfMainEdigTest::initPerfSendsTheInitialPerformance()
{
    test::EditorFixture fixture;
    CS6R_PerfMainEdig dialog(nullptr, &fixture.device);
    QVERIFY(dialog.InitDialog());
    initialPerformance = Performance(0x3F, 0x4F, 0x00);
    std::copy_n("Init Perf ", 10, initialPerformance.image.begin());
    initialPerformance.image[0x38] = 100;
    dialog.OnInitPerf();
    QCOMPARE(dialog.NameEdit()->text(), QStringLiteral("Init Perf"));
    QCOMPARE(static_cast<int>(dialog.Fader(0)->Value()), 100);
    QVERIFY(fixture.instrument->WaitUntilIdle(5s) == sim::WaitOutcome::Reached);
    QCOMPARE(InstrumentName(*fixture.instrument), std::string("Init Perf"));
}

void PerfMainEdigTest::auditionPulsesSwitch10()
{
    test::EditorFixture fixture;
    CS6R_PerfMainEdig dialog(nullptr, &fixture.device);
    QVERIFY(dialog.InitDialog());
    fixture.TakeReceived();
    dialog.Button(1037)->click();
    const auto received = fixture.TakeReceived();
    QCOMPARE(received.size(), std::size_t{2});
    QCOMPARE(received[0].bytes, (Bytes{0xF0, 0x43, 0x10, 0x64, 0x0A, 0x00, 0x10, 0x01, 0xF7}));
    QCOMPARE(received[1].bytes, (Bytes{0xF0, 0x43, 0x10, 0x64, 0x0A, 0x00, 0x10, 0x00, 0xF7}));
    QVERIFY(received[1].time - received[0].time >= 50ms);
    const auto switches = fixture.instrument->SwitchEvents();
    QVERIFY(!switches.empty());
    QCOMPARE(switches.back().switchNumber, 0x10);
}

void PerfMainEdigTest::aFrontPanelChangeIsFollowedByARequest()
{
    test::EditorFixture fixture;
    CS6R_PerfMainEdig dialog(nullptr, &fixture.device);
    QVERIFY(dialog.InitDialog());
    const QString before = dialog.NameEdit()->text();
    QVERIFY(fixture.instrument->SelectPerformance(sim::PerformanceBank::Internal, 9) == sim::PanelOutcome::Selected);
    const std::string selected = InstrumentName(*fixture.instrument);
    QVERIFY(QString::fromStdString(selected) != before);
    QTRY_COMPARE_WITH_TIMEOUT(dialog.NameEdit()->text(), QString::fromStdString(selected), 5000);

    // With "Detect manual perf. chg." off, nothing is requested.
    dialog.SetDetectManualChange(false);
    QTRY_VERIFY(fixture.instrument->WaitUntilIdle(1s) == sim::WaitOutcome::Reached);
    fixture.TakeReceived();
    QVERIFY(fixture.instrument->SelectPerformance(sim::PerformanceBank::Internal, 2) == sim::PanelOutcome::Selected);
    QTest::qWait(300);
    QVERIFY(fixture.TakeReceived().empty());
}

void PerfMainEdigTest::receivePatchesWritesBothBankFiles()
{
    QTemporaryDir folder;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder.path());
    {
        test::EditorFixture fixture;
        CS6R_PerfMainEdig dialog(nullptr, &fixture.device);
        QVERIFY(dialog.InitDialog());
        dialog.OnReceivePatches();
        QVERIFY(fixture.boxes.empty());
        const auto banks = fixture.instrument->StoredSounds();
        QCOMPARE(ReadWholeFile(kIntBankFileName), sim::BankFileBytes(banks, sim::BankFile::Int));
        QCOMPARE(ReadWholeFile(kExtBankFileName), sim::BankFileBytes(banks, sim::BankFile::Ext));
    }
    QDir::setCurrent(previous);
}

void PerfMainEdigTest::aSilentInstrumentLeavesTheBankFilesAndSaysSo()
{
    QTemporaryDir folder;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder.path());
    {
        test::EditorFixture fixture;
        CS6R_PerfMainEdig dialog(nullptr, &fixture.device);
        QVERIFY(dialog.InitDialog());
        const Bytes old(409990, 0x11);
        WriteFileAtomically(kIntBankFileName, old);
        WriteFileAtomically(kExtBankFileName, old);
        fixture.instrument->SetFaults({.noAnswer = true}, sim::FaultScope::UntilCleared);
        dialog.OnReceivePatches();
        QCOMPARE(fixture.boxes.size(), std::size_t{1});
        QVERIFY(QString::fromStdString(fixture.boxes[0]).contains(QStringLiteral("were not changed")));
        QVERIFY(QString::fromStdString(fixture.boxes[0]).contains(QStringLiteral("260")));
        QCOMPARE(ReadWholeFile(kIntBankFileName), old);
        QCOMPARE(ReadWholeFile(kExtBankFileName), old);
    }
    QDir::setCurrent(previous);
}

void PerfMainEdigTest::enterPressesTheFocusedButtonElseEndsTheDialog_data()
{
    QTest::addColumn<int>("focus");  // the control that has the focus
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("result"); // -1: the dialog stays open
    QTest::newRow("Escape in the name") << 1023 << int{Qt::Key_Escape} << int{QDialog::Rejected};
    QTest::newRow("Enter in the name") << 1023 << int{Qt::Key_Return} << int{QDialog::Accepted};
    QTest::newRow("Enter on a switch") << 1018 << int{Qt::Key_Return} << int{QDialog::Accepted};
    QTest::newRow("Enter on Request") << 1027 << int{Qt::Key_Return} << -1;
}

void PerfMainEdigTest::enterPressesTheFocusedButtonElseEndsTheDialog()
{
    QFETCH(int, focus);
    QFETCH(int, key);
    QFETCH(int, result);
    test::EditorFixture fixture;
    CS6R_PerfMainEdig dialog(nullptr, &fixture.device);
    QVERIFY(dialog.InitDialog());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    dialog.Control(focus)->setFocus();
    // No push button without the focus is drawn as the default.
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        QVERIFY(!button->isDefault() || button->hasFocus());
    fixture.TakeReceived();
    QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key));
    QCOMPARE(dialog.isVisible(), result < 0);
    if (result >= 0) {
        QCOMPARE(dialog.result(), result);
        QVERIFY(fixture.TakeReceived().empty());
    } else {
        QCOMPARE(fixture.TakeReceivedBytes(), std::vector<Bytes>{sysex::DumpRequest(0x0E, 0x4F, 0x00)});
    }
}

// Regression: a box shown on the send path ran the queued messages inside its
// own event loop: fader steps sent into the failed output, each with a box of
// its own, and the instrument's notification started a request in the middle
// of the one under way.
void PerfMainEdigTest::aBoxOnTheSendPathRunsNoOtherHandler()
{
    test::EditorFixture fixture(true, test::Output::Faulty);
    CS6R_PerfMainEdig dialog(nullptr, &fixture.device);
    QVERIFY(dialog.InitDialog());
    fixture.TakeReceived();
    const Bytes request = sysex::DumpRequest(0x0E, 0x4F, 0x00);

    // "Request" whose message finds no clock: the box comes before it is sent.
    std::size_t sentDuringBox = 0;
    fixture.whileBoxShows = [&] {
        PostUserMessage(&dialog, kFaderReleaseMessage, 0, 0);
        PostUserMessage(&dialog, kShortMessageNotify, 0xC0, 0x05);
        QCoreApplication::processEvents();
        sentDuringBox = fixture.TakeReceived().size();
    };
    fixture.faultyOutput->clockFailures = 1;
    dialog.OnRequest();
    QCOMPARE(fixture.boxes, std::vector<std::string>{"A"});
    QCOMPARE(sentDuringBox, std::size_t{0});
    QCOMPARE(fixture.TakeReceivedBytes(), std::vector<Bytes>{request});
    // Afterwards each runs once, in order: the fader's change, then the request.
    QCoreApplication::sendPostedEvents(&dialog);
    const auto volume = static_cast<std::uint8_t>(dialog.Fader(0)->Value());
    QCOMPARE(fixture.TakeReceivedBytes(), (std::vector<Bytes>{ParameterChange(0x38, {volume}), request}));

    // "Transmit" into an output that is gone, with a drag's steps queued: one box.
    fixture.boxes.clear();
    fixture.whileBoxShows = [] { QCoreApplication::processEvents(); };
    fixture.faultyOutput->gone = true;
    for (int step = 0; step < 3; ++step)
        PostUserMessage(&dialog, kFaderDragMessage, 0, 0);
    dialog.OnTransmit();
    QCoreApplication::sendPostedEvents(&dialog);
    QCOMPARE(fixture.boxes, std::vector<std::string>{"C"});
}

void PerfMainEdigTest::midiSetupListsTheEmulatedInstrumentAndReopens()
{
    test::EditorFixture fixture;
    {
        MidiSetupDlg setup(nullptr);
        QCOMPARE(setup.windowTitle(), QStringLiteral("MIDI setup"));
        QCOMPARE(setup.InputList()->itemText(0), QStringLiteral("Emulated CS6x"));
        QCOMPARE(setup.OutputList()->itemText(0), QStringLiteral("Emulated CS6x"));
        QCOMPARE(setup.InputList()->currentIndex(), 0);
        QVERIFY(!setup.ThruList()->isEnabled());
        setup.OnOk();
        QCOMPARE(setup.result(), int{QDialog::Accepted});
        QVERIFY(inputOpen && outputOpen);
        // Closed and opened anew, the receive thread running again.
        QVERIFY(inputPort->Receiving());
        QCOMPARE(fixture.device.RequestDump(0x0E, 0x4F, 0x00, DumpType::Performance), DumpOutcome::Complete);
    }
    {
        // A stored port that is gone: no selection, and OK stays inert.
        midiSettings.inputPortGuid = PortGuid(kEmulatedKind, "unplugged");
        MidiSetupDlg setup(nullptr);
        QCOMPARE(setup.InputList()->currentIndex(), -1);
        setup.OnOk();
        QCOMPARE(setup.result(), 0);
        QVERIFY(inputOpen);
    }
}

void PerfMainEdigTest::renderMainDialog()
{
    test::EditorFixture fixture;
    CS6R_PerfMainEdig dialog(nullptr, &fixture.device);
    QVERIFY(dialog.InitDialog());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QString path = QStringLiteral(CS6_RENDER_DIR "/main_dialog.png");
    QDir().mkpath(QStringLiteral(CS6_RENDER_DIR));
    QVERIFY(dialog.grab().save(path));
}

QTEST_MAIN(PerfMainEdigTest)
#include "PerfMainEdigTest.moc"
