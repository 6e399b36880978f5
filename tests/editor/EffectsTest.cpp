// Copying a stored sound's reverb or chorus into the performance, with the
// effect labels of the main window, and the patch select dialog, against the
// emulated instrument.
#include <QLabel>

#include <algorithm>
#include <thread>

#include "tests/editor/EditorFixture.h"

using namespace cs6;
using test::Bytes;

namespace {

using perf_main::kCopyChorus, perf_main::kCopyReverb;

Bytes EditorBytes(SynthDevice& device, int mid, std::size_t from, std::size_t count)
{
    const std::uint8_t* block = device.ByteAt(0x30, mid, 0);
    return Bytes(block + from, block + from + count);
}

QString Label(const CS6R_PerfMainEdig& dialog, int id) { return dialog.ControlAs<QLabel>(id)->text(); }

// The switch pulses and the request of one copy: switch 11 on and off, what
// fetches the sound, switch 10 on and off.
std::vector<Bytes> PulsesAround(std::vector<Bytes> fetch)
{
    fetch.insert(fetch.begin(), {test::Change("0A 00 11 01"), test::Change("0A 00 11 00")});
    fetch.insert(fetch.end(), {test::Change("0A 00 10 01"), test::Change("0A 00 10 00")});
    return fetch;
}

const Bytes kRequestInt1 = test::Hex("F0 43 20 64 0E 08 00 F7"); // INT, program 0

struct Copy {
    int button, row, program, enterOn, bankCode;
    std::vector<Bytes> fetch;
    bool panelChange = false; // a performance chosen on the instrument during the copy
};

struct FailedCopy {
    int button;
    bool detecting;
    test::PatchChoice choice; // program -1: cancelled after the bank
    sim::AnswerFaults faults;
    std::vector<Bytes> sent;
    QString outcome; // in the box that tells the user; none when cancelled
};

} // namespace

class EffectsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { InitNameTables(); }

    void copyReplacesTheEffectBytesAndSendsThePerformance_data()
    {
        QTest::addColumn<Copy>("copy");
        // A user bank is requested where it is stored; Enter in the program list presses OK.
        QTest::newRow("reverb of INT 1, Enter") << Copy{kCopyReverb, kBankInt, 0, patch_select::kProgram, 0x08, {kRequestInt1}, true};
        // A preset is selected (bank MSB 3F, LSB 01, program 5), then requested
        // from the normal-voice edit buffer.
        QTest::newRow("reverb of PRE2 6") << Copy{kCopyReverb, kBankPre2, 5, 0, 0x01, {test::Hex("B0 00 3F"),
                                                  test::Hex("B0 20 01"), test::Hex("C0 05"), test::Hex("F0 43 20 64 0E 0F 00 F7")}};
        QTest::newRow("chorus of INT drum 2") << Copy{kCopyChorus, kBankIntDrum, 1, 0, 0x28, {test::Hex("F0 43 20 64 0E 28 01 F7")}};
    }

    // The reverb is bytes 0..23 of 30 01, taken from the sound's block 40 01 or
    // 46 01; the chorus bytes 0..24 of 30 02 from 40 02 or 46 02. A program
    // change that arrives while the copy sends is handled after it.
    void copyReplacesTheEffectBytesAndSendsThePerformance()
    {
        QFETCH(Copy, copy);
        const bool reverb = copy.button == kCopyReverb;
        const int mid = reverb ? 0x01 : 0x02, other = 3 - mid;
        const std::size_t count = reverb ? 24 : 25;
        const int label = reverb ? perf_main::kReverbLabel : perf_main::kChorusLabel;
        test::MainWindow w;
        w.LoadStoredSounds();
        QVERIFY(w.ready);
        // An effect no sound has (its key unknown), and marks behind the copied bytes.
        std::fill_n(w.device.ByteAt(0x30, mid, 0), count, 0x7E);
        std::fill_n(w.device.ByteAt(0x30, mid, 0) + count, 8, 0x55);
        const Bytes otherBefore = EditorBytes(w.device, other, 0, 32);
        w.window.RefreshFromMemory();
        const QString prefix = reverb ? QStringLiteral("Reverb : ") : QStringLiteral("Chorus : ");
        QCOMPARE(Label(w.window, label), prefix);
        const Bytes image = w.instrument->StoredImage(copy.bankCode, copy.program);
        const Bytes copied(image.begin() + mid * 128, image.begin() + mid * 128 + static_cast<std::ptrdiff_t>(count));
        const QString named = QString::fromLatin1(EffectTypeName(copied[0], copied[1]).data());
        QVERIFY(!named.isEmpty());
        test::AnswerNextPatchDialog({copy.row, copy.program, copy.enterOn});
        std::thread frontPanel([&, before = w.instrument->ReceivedMessages().size()] { // once the request reached it
            if (copy.panelChange && w.instrument->WaitForReceived(before + 3, 10s) == sim::WaitOutcome::Reached)
                (void)w.instrument->SelectPerformance(sim::PerformanceBank::Internal, 4);
        });
        w.window.Button(copy.button)->click();
        frontPanel.join();
        // The memory: the effect's bytes from the sound, the rest of its block
        // and the other effect as they were.
        QCOMPARE(EditorBytes(w.device, mid, 0, count), copied);
        QCOMPARE(EditorBytes(w.device, mid, count, 8), Bytes(8, 0x55));
        QCOMPARE(EditorBytes(w.device, other, 0, 32), otherBefore);
        // On the wire: the pulses around the fetch, then the whole performance,
        // nothing else.
        QVERIFY(w.instrument->WaitUntilIdle(5s) == sim::WaitOutcome::Reached);
        const auto received = w.TakeReceived();
        const std::vector<Bytes> expected = PulsesAround(copy.fetch);
        QCOMPARE(received.size(), expected.size() + 34);
        const auto bytes = test::EditorFixture::BytesOf(received);
        QCOMPARE(std::vector<Bytes>(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(expected.size())), expected);
        const std::size_t request = copy.fetch.size() + 1;
        for (std::size_t i : {std::size_t{1}, request + 1, request + 2}) // the pulses, the pause after the copy
            QVERIFY(received[i].time - received[i - 1].time >= 50ms);
        QCOMPARE(w.instrument->ReadMemory(PackAddress(0x30, mid, 0), count), copied);
        QCOMPARE(Label(w.window, label), prefix + named);
        QVERIFY(w.window.DetectManualChange());
        QVERIFY(w.boxes.empty());
        if (copy.panelChange) { // with detection back on, the program change asks for the performance
            QTRY_VERIFY_WITH_TIMEOUT(w.instrument->ReceivedMessages().size() > w.seen, 5000);
            QCOMPARE(w.TakeReceivedBytes(), std::vector<Bytes>{test::Hex("F0 43 20 64 0E 4F 00 F7")});
        }
    }

    void aCopyWithoutASoundChangesNothing_data()
    {
        QTest::addColumn<FailedCopy>("copy");
        const std::vector<Bytes> none;
        const std::vector<Bytes> int4 = PulsesAround({test::Hex("F0 43 20 64 0E 08 03 F7")});
        QTest::newRow("reverb cancelled") << FailedCopy{kCopyReverb, true, {kBankInt}, {}, none, {}};
        QTest::newRow("chorus cancelled, detection off") << FailedCopy{kCopyChorus, false, {kBankInt}, {}, none, {}};
        QTest::newRow("Enter on Cancel") << FailedCopy{kCopyReverb, true, {kBankInt, 3, kIdCancel}, {}, none, {}};
        QTest::newRow("silent") << FailedCopy{kCopyReverb, true, {kBankInt, 0}, {.noAnswer = true},
                                              PulsesAround({kRequestInt1}), "not answered"};
        QTest::newRow("cut short") << FailedCopy{kCopyReverb, true, {kBankInt, 3}, {.onlyFirst = 20}, int4, "incomplete"};
        QTest::newRow("bad checksum") << FailedCopy{kCopyReverb, true, {kBankInt, 3}, {.wrongChecksumAt = 2}, int4, "corrupt"};
        // The emulated instrument has no plug-in board: PLG1 gets no answer.
        QTest::newRow("no plug-in board") << FailedCopy{kCopyReverb, true, {kBankPlg1, 9}, {},
                                                        PulsesAround({test::Hex("F0 43 20 64 0E 18 09 F7")}), "not answered"};
    }

    void aCopyWithoutASoundChangesNothing()
    {
        QFETCH(FailedCopy, copy);
        test::MainWindow w;
        w.LoadStoredSounds();
        QVERIFY(w.ready);
        w.window.SetDetectManualChange(copy.detecting);
        const Bytes effects = EditorBytes(w.device, 0x01, 0, 256); // 30 01 and 30 02
        const auto region = w.device.Memory().Region(kNormalVoiceRegion);
        const Bytes voiceRegion(region.begin(), region.end());
        w.instrument->SetFaults(copy.faults, sim::FaultScope::UntilCleared);
        // While the dialog is open detection is off, and a program change from
        // the instrument starts no request.
        bool offWhileOpen = false;
        test::AnswerNextPatchDialog(copy.choice, [&] {
            offWhileOpen = !w.window.DetectManualChange();
            replyCollector.OnShortMessage(0, 0, test::Hex("C0 05"));
            QCoreApplication::sendPostedEvents(&w.window);
        });
        w.window.Button(copy.button)->click();
        QVERIFY(offWhileOpen);
        QCOMPARE(w.window.DetectManualChange(), copy.detecting);
        QVERIFY(w.instrument->WaitUntilIdle(5s) == sim::WaitOutcome::Reached);
        QCOMPARE(w.TakeReceivedBytes(), copy.sent);
        QCOMPARE(EditorBytes(w.device, 0x01, 0, 256), effects);
        QCOMPARE(Bytes(region.begin(), region.end()), voiceRegion);
        QCOMPARE(w.boxes.size(), std::size_t{!copy.outcome.isEmpty()});
        for (const QString& part : {QStringLiteral("did not answer as expected"), QStringLiteral("Nothing was copied"), copy.outcome})
            QVERIFY2(copy.outcome.isEmpty() || w.Shown(part), qPrintable(part));
    }

    void thePatchDialogKeepsTheProgramAndOkNeedsOne()
    {
        PatchSelectDlg dialog(nullptr);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Select patch"));
        QStringList banks;
        for (int i = 0; i < dialog.BankList()->count(); ++i)
            banks << dialog.BankList()->itemText(i) + u'=' + dialog.BankList()->itemData(i).toString(); // the bankTable row
        QCOMPARE(banks, QStringList({"PRE1=2", "PRE2=3", "INT=4", "EXT=5", "PLG1=6", "PLG2=7", "PRE drum=8",
                                     "INT drum=9", "EXT drum=10"}));
        // Enter with nothing chosen does not end the dialog, nor does a bank alone.
        QVERIFY(test::Activate(dialog) && dialog.OkButton()->isDefault());
        QVERIFY(test::Choose(dialog.BankList(), QStringLiteral("PRE1")));
        QCOMPARE(dialog.ProgramList()->currentIndex(), -1);
        QVERIFY(!dialog.OkButton()->isEnabled());
        QTest::keyClick(&dialog, Qt::Key_Return);
        QVERIFY(dialog.isVisible());
        // The program stays where the new bank has it (the rule is the strip's:
        // ControlTablesTest).
        dialog.ProgramList()->setCurrentIndex(1);
        QVERIFY(dialog.OkButton()->isEnabled());
        QVERIFY(test::Choose(dialog.BankList(), QStringLiteral("EXT")));
        QCOMPARE(dialog.ProgramList()->currentText().left(3), QStringLiteral("2  "));
        QTest::keyClick(&dialog, Qt::Key_Return);
        QVERIFY(!dialog.isVisible() && dialog.result() == QDialog::Accepted);
        QCOMPARE(std::pair(dialog.selectedBank, dialog.selectedProgram), std::pair(std::int32_t{kBankExt}, std::int32_t{1}));
    }
};

CS6_EDITOR_TEST(EffectsTest);
#include "EffectsTest.moc"
