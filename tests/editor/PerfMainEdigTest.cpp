// The main window's sequences and commands against the emulated instrument,
// with "Receive INT, EXT patches" into the bank files.
#include <QLineEdit>

#include "framework/FileIo.h"
#include "midi/MidiSetupDlg.h"
#include "tests/editor/EditorFixture.h"

using namespace cs6;
using test::Bytes;

namespace {

const Bytes kPerformanceRequest = test::Hex("F0 43 20 64 0E 4F 00 F7");

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
        const std::vector<Bytes> expected = { // volume 0, switch 11 on and off, volume 127, switch 10 on and off
            test::Hex("B0 07 00"), test::Change("0A 00 11 01"), test::Change("0A 00 11 00"),
            test::Hex("B0 07 7F"), test::Change("0A 00 10 01"), test::Change("0A 00 10 00"), kPerformanceRequest};
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
        test::MainWindow w;
        QVERIFY(w.ready);
        QVERIFY(test::Choose(w.window.Combo(perf_main::kInsEffectPart), QStringLiteral("Part 6")));
        const QString category = w.window.Combo(perf_main::kCategory)->currentText();
        w.SetOnInstrument(QStringLiteral("30 00 41 20")); // no part 0x20
        w.SetOnInstrument(QStringLiteral("30 00 0C 1E")); // no category 30
        w.window.Button(perf_main::kRequest)->click();
        QCOMPARE(w.window.Combo(perf_main::kInsEffectPart)->currentText(), QStringLiteral("Part 6"));
        QCOMPARE(w.window.Combo(perf_main::kCategory)->currentText(), category);
    }

    void theNameIsMappedAndSentAsTenMessages()
    {
        // Letters from 0x80 up become spaces, 0x7F a tilde; ten letters are kept.
        for (const auto& [typed, stored] : {std::pair{QString::fromUtf8("Ab\u00e9\u007f"), QByteArray("Ab ~      ")},
                                            std::pair{QStringLiteral("Twelve chars"), QByteArray("Twelve cha")}}) {
            test::MainWindow w;
            QVERIFY(w.ready);
            // A refresh writes the name without sending anything.
            w.window.RefreshFromMemory();
            test::DeliverPosted();
            QVERIFY(w.TakeReceived().empty());
            w.window.NameEdit()->setText(typed);
            test::DeliverPosted();
            const auto received = w.TakeReceived();
            QCOMPARE(received.size(), std::size_t{10});
            for (std::size_t i = 0; i < 10; ++i) {
                QCOMPARE(received[i].bytes, test::Change(QString::asprintf("30 00 %02X %02X", int(i), stored[qsizetype(i)])));
                QVERIFY(i == 0 || received[i].time - received[i - 1].time >= 20ms);
            }
            QCOMPARE(InstrumentName(*w.instrument), stored.trimmed().toStdString());
        }
    }

    void initPerfSendsTheInitialPerformance()
    {
        test::MainWindow w;
        QVERIFY(w.ready);
        initialPerformance = Performance(0x3F, 0x4F, 0x00);
        std::copy_n("Init Perf ", 10, initialPerformance.image.begin());
        initialPerformance.image[0x38] = 100;
        w.window.Button(perf_main::kInitPerf)->click();
        QCOMPARE(w.window.NameEdit()->text(), QStringLiteral("Init Perf"));
        QCOMPARE(w.window.Fader(0)->Label(), QStringLiteral("100"));
        QVERIFY(w.instrument->WaitUntilIdle(5s) == sim::WaitOutcome::Reached);
        QCOMPARE(InstrumentName(*w.instrument), std::string("Init Perf"));
    }

    void aFrontPanelChangeIsFollowedByARequest()
    {
        test::MainWindow w;
        QVERIFY(w.ready);
        const QString before = w.window.NameEdit()->text();
        QVERIFY(w.instrument->SelectPerformance(sim::PerformanceBank::Internal, 9) == sim::PanelOutcome::Selected);
        const QString selected = QString::fromStdString(InstrumentName(*w.instrument));
        QVERIFY(selected != before);
        QTRY_COMPARE_WITH_TIMEOUT(w.window.NameEdit()->text(), selected, 5000);
        // With "Detect manual perf. chg." off, nothing is requested: the program
        // change arrives before the answer to "Request", and is handled after it.
        w.window.SetDetectManualChange(false);
        w.TakeReceived();
        QVERIFY(w.instrument->SelectPerformance(sim::PerformanceBank::Internal, 2) == sim::PanelOutcome::Selected);
        w.window.Button(perf_main::kRequest)->click();
        test::DeliverPosted();
        QCOMPARE(w.TakeReceivedBytes(), std::vector<Bytes>{kPerformanceRequest});
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
            test::MainWindow w(true);
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
                QCOMPARE(w.TakeReceivedBytes(), std::vector<Bytes>(focus == perf_main::kRequest, kPerformanceRequest));
        }
    }

    // "Receive INT, EXT patches": both banks into their files, one box for
    // both; Cancel in the progress dialog, pressed once it shows entry 5,
    // stops after the request under way and keeps the files. Regression: a box
    // shown while a handler sends ran the queued messages inside its own event
    // loop: a fader's change went out and the instrument's notification
    // started a request in the middle of the operation under way.
    void receivePatchesWritesBothFilesOrNoneAndItsBoxRunsNoOtherHandler()
    {
        for (const bool cancel : {false, true}) {
            test::InTemporaryFolder folder; // "Receive INT, EXT patches" writes its files here
            test::MainWindow w;
            QVERIFY(w.ready);
            const Bytes old(kUserBankFileSize, 0x33);
            WriteFileAtomically(kIntBankFileName, old);
            WriteFileAtomically(kExtBankFileName, old);
            std::size_t requests = 0, sentDuringBox = 0;
            w.whileBoxShows = [&] {
                requests = w.TakeReceived().size();
                QTest::keyClick(w.window.Fader(0), Qt::Key_Down);
                replyCollector.OnShortMessage(0, 0, test::Hex("C0 05"));
                QCoreApplication::processEvents();
                sentDuringBox = w.TakeReceived().size();
            };
            test::CancelProgressAt(w.window, cancel ? 5 : 1000, [&] { w.window.Button(perf_main::kReceivePatches)->click(); });
            const auto banks = w.instrument->StoredSounds();
            QCOMPARE(w.boxes, std::vector<std::string>{cancel ? "INT bank: cancelled; patches_int.bnk was not changed.\n"
                                                                "EXT bank: cancelled; patches_ext.bnk was not changed."
                                                              : "INT bank: all 130 patches received, patches_int.bnk written.\n"
                                                                "EXT bank: all 130 patches received, patches_ext.bnk written."});
            QCOMPARE(ReadWholeFile(kIntBankFileName), cancel ? old : sim::BankFileBytes(banks, sim::BankFile::Int));
            QCOMPARE(ReadWholeFile(kExtBankFileName), cancel ? old : sim::BankFileBytes(banks, sim::BankFile::Ext));
            QVERIFY(!cancel || (requests >= 5 && requests < 20));
            QCOMPARE(sentDuringBox, std::size_t{0});
            // Afterwards each runs once, in order: the fader's change, then the request.
            QCoreApplication::sendPostedEvents(&w.window);
            const QString volume = w.window.Fader(0)->Label();
            QCOMPARE(w.TakeReceivedBytes(),
                     (std::vector<Bytes>{test::Change("30 00 38 " + QString::number(volume.toInt(), 16)), kPerformanceRequest}));
        }
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
