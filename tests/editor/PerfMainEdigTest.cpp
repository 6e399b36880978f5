// The main window's sequences and commands against the emulated instrument,
// with "Receive INT, EXT patches" into the bank files.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>

#include "editor/CS6R_PerfMainEdig.h"
#include "editor/CS6R_PerfPartMainEdit.h"
#include "framework/FileIo.h"
#include "midi/MidiSetupDlg.h"
#include "synth/SysExMessages.h"
#include "tests/editor/EditorFixture.h"

using namespace cs6;
using test::Bytes;

namespace {

const Bytes kPerformanceRequest = {0xF0, 0x43, 0x20, 0x64, 0x0E, 0x4F, 0x00, 0xF7};

std::string InstrumentName(sim::EmulatedInstrument& instrument)
{
    const auto bytes = instrument.ReadMemory(PackAddress(0x30, 0x00, 0), 10);
    return StoredName(bytes.data());
}

// A main window that went through its initialisation, the messages of which
// are taken.
struct MainWindow {
    explicit MainWindow(test::EditorFixture& fixture) : dialog(nullptr, &fixture.device)
    {
        ready = dialog.InitDialog();
        fixture.TakeReceived();
    }
    CS6R_PerfMainEdig dialog;
    bool ready = false;
};

} // namespace

class PerfMainEdigTest : public QObject {
    Q_OBJECT

private slots:
    void startUpSequenceFirstRefreshAndAudition();
    void aValueOutsideAListLeavesTheSelection();
    void theNameIsMappedAndSentAsTenMessages_data();
    void theNameIsMappedAndSentAsTenMessages();
    void initPerfSendsTheInitialPerformance();
    void aFrontPanelChangeIsFollowedByARequest();
    void enterPressesTheFocusedButtonElseEndsTheWindow_data();
    void enterPressesTheFocusedButtonElseEndsTheWindow();
    void receivePatchesWritesBothFilesAndItsBoxRunsNoOtherHandler();
    void cancelInReceivePatchesKeepsTheFiles();
    void midiSetupShowsNoPortThatIsGone();
};

void PerfMainEdigTest::startUpSequenceFirstRefreshAndAudition()
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
        kPerformanceRequest,
    };
    for (std::size_t i = 0; i < expected.size(); ++i)
        QCOMPARE(received[i].bytes, expected[i]);
    // The waits: 50 ms after the volume, in each pulse and after it.
    for (std::size_t i : {1u, 2u, 3u, 5u, 6u})
        QVERIFY(received[i].time - received[i - 1].time >= 50ms);

    QCOMPARE(dialog.NameEdit()->text().toStdString(), InstrumentName(*fixture.instrument));
    QVERIFY(dialog.DetectManualChange());

    // "Audition" is the second pulse alone.
    dialog.Button(perf_main::kAudition)->click();
    const auto audition = fixture.TakeReceived();
    QCOMPARE(audition.size(), std::size_t{2});
    QCOMPARE(audition[0].bytes, expected[4]);
    QCOMPARE(audition[1].bytes, expected[5]);
    QVERIFY(audition[1].time - audition[0].time >= 50ms);
}

void PerfMainEdigTest::aValueOutsideAListLeavesTheSelection()
{
    test::EditorFixture fixture;
    MainWindow w(fixture);
    QVERIFY(w.ready);
    QVERIFY(test::Choose(w.dialog.Combo(perf_main::kInsEffectPart), QStringLiteral("Part 6")));
    const QString category = w.dialog.Combo(perf_main::kCategory)->currentText();
    fixture.SetOnInstrument(QStringLiteral("30 00 41 20")); // no part 0x20
    fixture.SetOnInstrument(QStringLiteral("30 00 0C 1E")); // no category 30
    w.dialog.Button(perf_main::kRequest)->click();
    QCOMPARE(w.dialog.Combo(perf_main::kInsEffectPart)->currentText(), QStringLiteral("Part 6"));
    QCOMPARE(w.dialog.Combo(perf_main::kCategory)->currentText(), category);
}

void PerfMainEdigTest::theNameIsMappedAndSentAsTenMessages_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("stored");
    // Letters from 0x80 up become spaces, 0x7F a tilde.
    QTest::newRow("mapped") << QString::fromUtf8("Ab\u00e9\u007f") << QByteArray("Ab ~      ");
    QTest::newRow("longer than ten") << QStringLiteral("Twelve chars") << QByteArray("Twelve cha");
}

void PerfMainEdigTest::theNameIsMappedAndSentAsTenMessages()
{
    QFETCH(QString, typed);
    QFETCH(QByteArray, stored);
    test::EditorFixture fixture;
    MainWindow w(fixture);
    QVERIFY(w.ready);
    // A refresh writes the name without sending anything.
    w.dialog.RefreshFromMemory();
    test::DeliverPosted();
    QVERIFY(fixture.TakeReceived().empty());

    w.dialog.NameEdit()->setText(typed);
    test::DeliverPosted();
    const auto received = fixture.TakeReceived();
    QCOMPARE(received.size(), std::size_t{10});
    for (std::size_t i = 0; i < 10; ++i) {
        QCOMPARE(received[i].bytes, sysex::ParameterChange(0x30, 0x00, static_cast<int>(i),
                                                           Bytes{static_cast<std::uint8_t>(stored[qsizetype(i)])}));
        if (i > 0)
            QVERIFY(received[i].time - received[i - 1].time >= 20ms);
    }
    QCOMPARE(InstrumentName(*fixture.instrument), stored.trimmed().toStdString());
}

void PerfMainEdigTest::initPerfSendsTheInitialPerformance()
{
    test::EditorFixture fixture;
    MainWindow w(fixture);
    QVERIFY(w.ready);
    initialPerformance = Performance(0x3F, 0x4F, 0x00);
    std::copy_n("Init Perf ", 10, initialPerformance.image.begin());
    initialPerformance.image[0x38] = 100;
    w.dialog.Button(perf_main::kInitPerf)->click();
    QCOMPARE(w.dialog.NameEdit()->text(), QStringLiteral("Init Perf"));
    QCOMPARE(w.dialog.Fader(0)->Label(), QStringLiteral("100"));
    QVERIFY(fixture.instrument->WaitUntilIdle(5s) == sim::WaitOutcome::Reached);
    QCOMPARE(InstrumentName(*fixture.instrument), std::string("Init Perf"));
}

void PerfMainEdigTest::aFrontPanelChangeIsFollowedByARequest()
{
    test::EditorFixture fixture;
    MainWindow w(fixture);
    QVERIFY(w.ready);
    const QString before = w.dialog.NameEdit()->text();
    QVERIFY(fixture.instrument->SelectPerformance(sim::PerformanceBank::Internal, 9) == sim::PanelOutcome::Selected);
    const std::string selected = InstrumentName(*fixture.instrument);
    QVERIFY(QString::fromStdString(selected) != before);
    QTRY_COMPARE_WITH_TIMEOUT(w.dialog.NameEdit()->text(), QString::fromStdString(selected), 5000);

    // With "Detect manual perf. chg." off, nothing is requested: the program
    // change arrives before the answer to "Request", and is handled after it.
    w.dialog.SetDetectManualChange(false);
    fixture.TakeReceived();
    QVERIFY(fixture.instrument->SelectPerformance(sim::PerformanceBank::Internal, 2) == sim::PanelOutcome::Selected);
    w.dialog.Button(perf_main::kRequest)->click();
    test::DeliverPosted();
    QCOMPARE(fixture.TakeReceivedBytes(), std::vector<Bytes>{kPerformanceRequest});
}

void PerfMainEdigTest::enterPressesTheFocusedButtonElseEndsTheWindow_data()
{
    QTest::addColumn<int>("focus"); // a control of the window, or of the strip when above 2000
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("opened"); // the caption of the dialog it opens
    QTest::addColumn<int>("result");     // -1: the window stays open
    QTest::newRow("Escape in the name") << int{perf_main::kName} << int{Qt::Key_Escape} << QString() << int{QDialog::Rejected};
    QTest::newRow("Enter in the name") << int{perf_main::kName} << int{Qt::Key_Return} << QString() << int{QDialog::Accepted};
    QTest::newRow("Enter on a switch") << int{perf_main::kArpSwitch} << int{Qt::Key_Return} << QString() << int{QDialog::Accepted};
    QTest::newRow("Enter on Request") << int{perf_main::kRequest} << int{Qt::Key_Return} << QString() << -1;
    QTest::newRow("Escape in the strip") << 2000 << int{Qt::Key_Escape} << QString() << int{QDialog::Rejected};
    QTest::newRow("Enter in the strip") << 2000 << int{Qt::Key_Return} << QString() << int{QDialog::Accepted};
    QTest::newRow("Enter on a strip switch") << 2000 + perf_part_main::kMono << int{Qt::Key_Return} << QString() << int{QDialog::Accepted};
    QTest::newRow("Enter on QED") << 2000 + perf_part_main::kQuickEdit << int{Qt::Key_Return} << "Part 1 filter & envelope QED" << -1;
    QTest::newRow("Enter on RecvSW") << 2000 + perf_part_main::kReceiveSwitches << int{Qt::Key_Return} << "Part 1 receive switches" << -1;
}

void PerfMainEdigTest::enterPressesTheFocusedButtonElseEndsTheWindow()
{
    QFETCH(int, focus);
    QFETCH(int, key);
    QFETCH(QString, opened);
    QFETCH(int, result);
    test::EditorFixture fixture;
    MainWindow w(fixture);
    QVERIFY(w.ready);
    w.dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&w.dialog));
    CS6R_PerfPartMainEdit* strip = w.dialog.PartStrip();
    (focus < 2000 ? w.dialog.Control(focus) : focus == 2000 ? strip : strip->Control(focus - 2000))->setFocus();
    // No push button without the focus is drawn as the default.
    for (QPushButton* button : w.dialog.findChildren<QPushButton*>())
        QVERIFY(!button->isDefault() || button->hasFocus());
    auto press = [key] { QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key)); };
    if (opened.isEmpty())
        press();
    else
        QCOMPARE(test::CaptionOfModal(press), opened);
    QCOMPARE(w.dialog.isVisible(), result < 0);
    QVERIFY(strip->isVisibleTo(&w.dialog)); // the strip did not close itself inside the window
    if (result >= 0) {
        QCOMPARE(w.dialog.result(), result);
        QVERIFY(fixture.TakeReceived().empty());
    } else if (focus == perf_main::kRequest) {
        QCOMPARE(fixture.TakeReceivedBytes(), std::vector<Bytes>{kPerformanceRequest});
    }
}

// "Receive INT, EXT patches": both banks into their files, one box for
// both. Regression: a box shown while a handler sends ran the queued
// messages inside its own event loop: a fader's change went out and the
// instrument's notification started a request in the middle of the
// operation under way.
void PerfMainEdigTest::receivePatchesWritesBothFilesAndItsBoxRunsNoOtherHandler()
{
    test::InTemporaryFolder folder; // "Receive INT, EXT patches" writes its files here
    test::EditorFixture fixture;
    MainWindow w(fixture);
    QVERIFY(w.ready);
    std::size_t sentDuringBox = 0;
    fixture.whileBoxShows = [&] {
        fixture.TakeReceived();
        QTest::keyClick(w.dialog.Fader(0), Qt::Key_Down);
        replyCollector.OnShortMessage(0, 0, test::Hex("C0 05"));
        QCoreApplication::processEvents();
        sentDuringBox = fixture.TakeReceived().size();
    };
    w.dialog.Button(perf_main::kReceivePatches)->click();
    QCOMPARE(fixture.boxes, std::vector<std::string>{"INT bank: all 130 patches received, patches_int.bnk written.\n"
                                                     "EXT bank: all 130 patches received, patches_ext.bnk written."});
    const auto banks = fixture.instrument->StoredSounds();
    QCOMPARE(ReadWholeFile(kIntBankFileName), sim::BankFileBytes(banks, sim::BankFile::Int));
    QCOMPARE(ReadWholeFile(kExtBankFileName), sim::BankFileBytes(banks, sim::BankFile::Ext));
    QCOMPARE(sentDuringBox, std::size_t{0});
    // Afterwards each runs once, in order: the fader's change, then the request.
    QCoreApplication::sendPostedEvents(&w.dialog);
    const QString volume = w.dialog.Fader(0)->Label();
    QCOMPARE(fixture.TakeReceivedBytes(), (std::vector<Bytes>{test::Change("30 00 38 " + QString::number(volume.toInt(), 16)),
                                                              kPerformanceRequest}));
}

// Cancel in the progress dialog, pressed once it shows entry 5, stops after
// the request under way; the files stay as they were.
void PerfMainEdigTest::cancelInReceivePatchesKeepsTheFiles()
{
    test::InTemporaryFolder folder;
    test::EditorFixture fixture;
    MainWindow w(fixture);
    QVERIFY(w.ready);
    const Bytes old(kUserBankFileSize, 0x33);
    WriteFileAtomically(kIntBankFileName, old);
    WriteFileAtomically(kExtBankFileName, old);
    QTimer poll;
    connect(&poll, &QTimer::timeout, [&] {
        auto* progress = w.dialog.findChild<QProgressDialog*>();
        if (progress && progress->value() >= 5)
            progress->cancel();
    });
    poll.start(0);
    w.dialog.Button(perf_main::kReceivePatches)->click();
    poll.stop();
    QCOMPARE(fixture.boxes, std::vector<std::string>{"INT bank: cancelled; patches_int.bnk was not changed.\n"
                                                     "EXT bank: cancelled; patches_ext.bnk was not changed."});
    QCOMPARE(ReadWholeFile(kIntBankFileName), old);
    QCOMPARE(ReadWholeFile(kExtBankFileName), old);
    const auto requests = fixture.TakeReceived().size();
    QVERIFY(requests >= 5 && requests < 20);
}

// A stored port that is gone: no selection, and OK stays inert.
void PerfMainEdigTest::midiSetupShowsNoPortThatIsGone()
{
    test::EditorFixture fixture;
    midiSettings.inputPortGuid = PortGuid(kEmulatedKind, "unplugged");
    MidiSetupDlg setup(nullptr);
    QCOMPARE(setup.InputList()->currentIndex(), -1);
    QCOMPARE(setup.OutputList()->currentText(), QStringLiteral("Emulated CS6x"));
    QVERIFY(!setup.ThruList()->isEnabled());
    setup.OnOk();
    QCOMPARE(setup.result(), 0);
    QVERIFY(inputOpen);
}

CS6_EDITOR_TEST(PerfMainEdigTest);
#include "PerfMainEdigTest.moc"
