// The main window's sequences and commands against the emulated instrument,
// with "Receive INT, EXT patches" into the bank files.
#include <QLineEdit>

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
    return StoredName(instrument.ReadMemory(PackAddress(0x30, 0x00, 0), 10).data());
}

} // namespace

class PerfMainEdigTest : public QObject {
    Q_OBJECT

private slots:
    void startUpSequenceFirstRefreshAndAudition()
    {
        test::EditorFixture fixture;
        CS6R_PerfMainEdig dialog(nullptr, &fixture.device);
        QVERIFY(dialog.InitDialog());
        const auto received = fixture.TakeReceived();
        const std::vector<Bytes> expected = {
            {0xB0, 0x07, 0x00},                                    // volume 0
            {0xF0, 0x43, 0x10, 0x64, 0x0A, 0x00, 0x11, 0x01, 0xF7}, // switch 11 on
            {0xF0, 0x43, 0x10, 0x64, 0x0A, 0x00, 0x11, 0x00, 0xF7}, // and off
            {0xB0, 0x07, 0x7F},                                    // volume 127
            {0xF0, 0x43, 0x10, 0x64, 0x0A, 0x00, 0x10, 0x01, 0xF7}, // switch 10 on
            {0xF0, 0x43, 0x10, 0x64, 0x0A, 0x00, 0x10, 0x00, 0xF7}, // and off
            kPerformanceRequest,
        };
        QCOMPARE(test::EditorFixture::BytesOf(received), expected);
        // The waits: 50 ms after the volume, in each pulse and after it.
        for (std::size_t i : {1u, 2u, 3u, 5u, 6u})
            QVERIFY(received[i].time - received[i - 1].time >= 50ms);
        QCOMPARE(dialog.NameEdit()->text().toStdString(), InstrumentName(*fixture.instrument));
        QVERIFY(dialog.DetectManualChange());
        // "Audition" is the second pulse alone.
        dialog.Button(perf_main::kAudition)->click();
        const auto audition = fixture.TakeReceived();
        QCOMPARE(test::EditorFixture::BytesOf(audition), std::vector<Bytes>(expected.begin() + 4, expected.begin() + 6));
        QVERIFY(audition[1].time - audition[0].time >= 50ms);
    }

    void aValueOutsideAListLeavesTheSelection()
    {
        test::EditorFixture fixture;
        test::MainWindow w(fixture);
        QVERIFY(w.ready);
        QVERIFY(test::Choose(w.window.Combo(perf_main::kInsEffectPart), QStringLiteral("Part 6")));
        const QString category = w.window.Combo(perf_main::kCategory)->currentText();
        fixture.SetOnInstrument(QStringLiteral("30 00 41 20")); // no part 0x20
        fixture.SetOnInstrument(QStringLiteral("30 00 0C 1E")); // no category 30
        w.window.Button(perf_main::kRequest)->click();
        QCOMPARE(w.window.Combo(perf_main::kInsEffectPart)->currentText(), QStringLiteral("Part 6"));
        QCOMPARE(w.window.Combo(perf_main::kCategory)->currentText(), category);
    }

    void theNameIsMappedAndSentAsTenMessages()
    {
        // Letters from 0x80 up become spaces, 0x7F a tilde; ten letters are kept.
        for (const auto& [typed, stored] : {std::pair{QString::fromUtf8("Ab\u00e9\u007f"), QByteArray("Ab ~      ")},
                                            std::pair{QStringLiteral("Twelve chars"), QByteArray("Twelve cha")}}) {
            test::EditorFixture fixture;
            test::MainWindow w(fixture);
            QVERIFY(w.ready);
            // A refresh writes the name without sending anything.
            w.window.RefreshFromMemory();
            test::DeliverPosted();
            QVERIFY(fixture.TakeReceived().empty());
            w.window.NameEdit()->setText(typed);
            test::DeliverPosted();
            const auto received = fixture.TakeReceived();
            QCOMPARE(received.size(), std::size_t{10});
            for (std::size_t i = 0; i < 10; ++i) {
                QCOMPARE(received[i].bytes, sysex::ParameterChange(0x30, 0x00, static_cast<int>(i),
                                                                   Bytes{static_cast<std::uint8_t>(stored[qsizetype(i)])}));
                QVERIFY(i == 0 || received[i].time - received[i - 1].time >= 20ms);
            }
            QCOMPARE(InstrumentName(*fixture.instrument), stored.trimmed().toStdString());
        }
    }

    void initPerfSendsTheInitialPerformance()
    {
        test::EditorFixture fixture;
        test::MainWindow w(fixture);
        QVERIFY(w.ready);
        initialPerformance = Performance(0x3F, 0x4F, 0x00);
        std::copy_n("Init Perf ", 10, initialPerformance.image.begin());
        initialPerformance.image[0x38] = 100;
        w.window.Button(perf_main::kInitPerf)->click();
        QCOMPARE(w.window.NameEdit()->text(), QStringLiteral("Init Perf"));
        QCOMPARE(w.window.Fader(0)->Label(), QStringLiteral("100"));
        QVERIFY(fixture.instrument->WaitUntilIdle(5s) == sim::WaitOutcome::Reached);
        QCOMPARE(InstrumentName(*fixture.instrument), std::string("Init Perf"));
    }

    void aFrontPanelChangeIsFollowedByARequest()
    {
        test::EditorFixture fixture;
        test::MainWindow w(fixture);
        QVERIFY(w.ready);
        const QString before = w.window.NameEdit()->text();
        QVERIFY(fixture.instrument->SelectPerformance(sim::PerformanceBank::Internal, 9) == sim::PanelOutcome::Selected);
        const QString selected = QString::fromStdString(InstrumentName(*fixture.instrument));
        QVERIFY(selected != before);
        QTRY_COMPARE_WITH_TIMEOUT(w.window.NameEdit()->text(), selected, 5000);
        // With "Detect manual perf. chg." off, nothing is requested: the program
        // change arrives before the answer to "Request", and is handled after it.
        w.window.SetDetectManualChange(false);
        fixture.TakeReceived();
        QVERIFY(fixture.instrument->SelectPerformance(sim::PerformanceBank::Internal, 2) == sim::PanelOutcome::Selected);
        w.window.Button(perf_main::kRequest)->click();
        test::DeliverPosted();
        QCOMPARE(fixture.TakeReceivedBytes(), std::vector<Bytes>{kPerformanceRequest});
    }

    void enterPressesTheFocusedButtonElseEndsTheWindow()
    {
        const int enter = Qt::Key_Return, escape = Qt::Key_Escape, accepted = QDialog::Accepted, rejected = QDialog::Rejected;
        // The focus (a control of the window, or of the strip from 2000 up), the
        // key, the caption of the dialog it opens, the result (-1: the window stays open).
        const std::tuple<int, int, QString, int> rows[] = {
            {perf_main::kName, escape, {}, rejected}, {perf_main::kName, enter, {}, accepted},
            {perf_main::kArpSwitch, enter, {}, accepted}, {perf_main::kRequest, enter, {}, -1},
            {2000, escape, {}, rejected}, {2000, enter, {}, accepted}, {2000 + perf_part_main::kMono, enter, {}, accepted},
            {2000 + perf_part_main::kQuickEdit, enter, "Part 1 filter & envelope QED", -1},
            {2000 + perf_part_main::kReceiveSwitches, enter, "Part 1 receive switches", -1}};
        for (const auto& [focus, key, opened, result] : rows) {
            test::EditorFixture fixture;
            test::MainWindow w(fixture, true);
            QVERIFY(w.ready);
            CS6R_PerfPartMainEdit* strip = w.window.PartStrip();
            (focus < 2000 ? w.window.Control(focus) : focus == 2000 ? strip : strip->Control(focus - 2000))->setFocus();
            // No push button without the focus is drawn as the default.
            for (QPushButton* button : w.window.findChildren<QPushButton*>())
                QVERIFY(!button->isDefault() || button->hasFocus());
            auto press = [key = key] { QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key)); };
            if (opened.isEmpty())
                press();
            else
                QCOMPARE(test::CaptionOfModal(press), opened);
            QCOMPARE(w.window.isVisible(), result < 0);
            QVERIFY(strip->isVisibleTo(&w.window)); // the strip did not close itself inside the window
            if (result >= 0)
                QCOMPARE(w.window.result(), result);
            if (opened.isEmpty()) // nothing sent but what Request sends
                QCOMPARE(fixture.TakeReceivedBytes(), focus == perf_main::kRequest ? std::vector<Bytes>{kPerformanceRequest}
                                                                                   : std::vector<Bytes>{});
        }
    }

    // "Receive INT, EXT patches": both banks into their files, one box for
    // both. Regression: a box shown while a handler sends ran the queued
    // messages inside its own event loop: a fader's change went out and the
    // instrument's notification started a request in the middle of the
    // operation under way.
    void receivePatchesWritesBothFilesAndItsBoxRunsNoOtherHandler()
    {
        test::InTemporaryFolder folder; // "Receive INT, EXT patches" writes its files here
        test::EditorFixture fixture;
        test::MainWindow w(fixture);
        QVERIFY(w.ready);
        std::size_t sentDuringBox = 0;
        fixture.whileBoxShows = [&] {
            fixture.TakeReceived();
            QTest::keyClick(w.window.Fader(0), Qt::Key_Down);
            replyCollector.OnShortMessage(0, 0, test::Hex("C0 05"));
            QCoreApplication::processEvents();
            sentDuringBox = fixture.TakeReceived().size();
        };
        w.window.Button(perf_main::kReceivePatches)->click();
        QCOMPARE(fixture.boxes, std::vector<std::string>{"INT bank: all 130 patches received, patches_int.bnk written.\n"
                                                         "EXT bank: all 130 patches received, patches_ext.bnk written."});
        const auto banks = fixture.instrument->StoredSounds();
        QCOMPARE(ReadWholeFile(kIntBankFileName), sim::BankFileBytes(banks, sim::BankFile::Int));
        QCOMPARE(ReadWholeFile(kExtBankFileName), sim::BankFileBytes(banks, sim::BankFile::Ext));
        QCOMPARE(sentDuringBox, std::size_t{0});
        // Afterwards each runs once, in order: the fader's change, then the request.
        QCoreApplication::sendPostedEvents(&w.window);
        const QString volume = w.window.Fader(0)->Label();
        QCOMPARE(fixture.TakeReceivedBytes(), (std::vector<Bytes>{test::Change("30 00 38 " + QString::number(volume.toInt(), 16)),
                                                                  kPerformanceRequest}));
    }

    // Cancel in the progress dialog, pressed once it shows entry 5, stops after
    // the request under way; the files stay as they were.
    void cancelInReceivePatchesKeepsTheFiles()
    {
        test::InTemporaryFolder folder;
        test::EditorFixture fixture;
        test::MainWindow w(fixture);
        QVERIFY(w.ready);
        const Bytes old(kUserBankFileSize, 0x33);
        WriteFileAtomically(kIntBankFileName, old);
        WriteFileAtomically(kExtBankFileName, old);
        test::CancelProgressAt(w.window, 5, [&] { w.window.Button(perf_main::kReceivePatches)->click(); });
        QCOMPARE(fixture.boxes, std::vector<std::string>{"INT bank: cancelled; patches_int.bnk was not changed.\n"
                                                         "EXT bank: cancelled; patches_ext.bnk was not changed."});
        QCOMPARE(ReadWholeFile(kIntBankFileName), old);
        QCOMPARE(ReadWholeFile(kExtBankFileName), old);
        const auto requests = fixture.TakeReceived().size();
        QVERIFY(requests >= 5 && requests < 20);
    }

    // A stored port that is gone: no selection, and OK stays inert.
    void midiSetupShowsNoPortThatIsGone()
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
};

CS6_EDITOR_TEST(PerfMainEdigTest);
#include "PerfMainEdigTest.moc"
