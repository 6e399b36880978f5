// Undo and redo through the real widgets and keys against the emulated
// instrument: what a step sends and what the instrument then holds, the
// views that follow a change made elsewhere, a performance replaced as a
// whole, and a run of edits taken back to the start.
#include <QLineEdit>

#include "editor/CS6R_PerfPartEdit.h"
#include "editor/CS6R_PerfPartRecv.h"
#include "tests/editor/EditorFixture.h"

using namespace cs6;
using test::Bytes;

namespace {

using Editor = test::MainWindow;

// Keys pressed where the focus is in window, and the views' refreshes.
void Keys(QWidget& window, QKeyCombination keys)
{
    QWidget* focus = window.focusWidget();
    QTest::keyClick(focus ? focus : &window, keys.key(), keys.keyboardModifiers());
    QCoreApplication::processEvents();
}
void Undo(QWidget& window) { Keys(window, Qt::CTRL | Qt::Key_Z); }

// The parameter changes of messages with the data of bytes, which lie from
// address on.
std::vector<Bytes> WithData(std::vector<Bytes> messages, std::uint32_t address, const Bytes& bytes)
{
    for (Bytes& m : messages) {
        const auto offset = PackAddress(m[4], m[5], m[6]) - address;
        std::copy_n(bytes.begin() + offset, m.size() - 8, m.begin() + 7);
    }
    return messages;
}

// A user's gesture in the main window: the bytes it changes and the
// messages one of its steps sends.
struct Gesture {
    std::function<void(Editor&)> make;
    std::function<QString(Editor&)> shown; // what its control shows
    std::uint32_t address = 0;
    std::size_t count = 0, messages = 1;
};

std::vector<std::pair<const char*, Gesture>> Gestures()
{
    constexpr int kDetune = CS6R_PerfPartMainEdit::kDetuneFader;
    auto next = [](QComboBox* list) { test::Choose(list, (list->currentIndex() + 1) % list->count()); };
    auto typeName = [](Editor& e) {
        e.window.NameEdit()->setFocus();
        e.window.NameEdit()->selectAll();
        QTest::keyClicks(e.window.NameEdit(), QStringLiteral("Undo"));
        test::DeliverPosted();
    };
    return {
        {"volume dragged",
         {[](Editor& e) { test::DragFader(e.window.Fader(0), {-4, -9, -14}); },
          [](Editor& e) { return e.window.Fader(0)->Label(); }, PackAddress(0x30, 0, 0x38), 1}},
        {"tempo keyed up thrice",
         {[](Editor& e) { for (int i = 0; i < 3; ++i) test::KeyFader(e.window.Fader(3), Qt::Key_Up); },
          [](Editor& e) { return e.window.Fader(3)->Label(); }, PackAddress(0x30, 0, 0x1F), 2}},
        {"key mode chosen",
         {[next](Editor& e) { next(e.window.Combo(perf_main::kMasterKeyboardMode)); },
          [](Editor& e) { return e.window.Combo(perf_main::kMasterKeyboardMode)->currentText(); }, PackAddress(0x30, 0, 0x0E), 1}},
        {"name typed",
         {typeName, [](Editor& e) { return e.window.NameEdit()->text(); }, PackAddress(0x30, 0, 0), 10, 10}},
        {"detune dragged",
         {[](Editor& e) { test::DragFader(e.Strip().Fader(kDetune), {-5, -11}); },
          [](Editor& e) { return e.Strip().Fader(kDetune)->Label(); }, PackAddress(0x31, 0, 0x10), 2}},
        {"bank chosen",
         {[next](Editor& e) { next(e.Strip().BankCombo()); },
          [](Editor& e) { return e.Strip().BankCombo()->currentText(); }, PackAddress(0x31, 0, 0), 3, 3}},
        {"mode switched",
         {[](Editor& e) { e.Strip().Button(perf_part_main::kMono)->click(); },
          [](Editor& e) { return e.Strip().Button(perf_part_main::kMono)->text(); }, PackAddress(0x31, 0, 0x04), 1}},
    };
}

} // namespace

Q_DECLARE_METATYPE(Gesture)

class UndoTest : public QObject {
    Q_OBJECT

private slots:
    void aGestureIsOneStepThatUndoesAndRedoes_data()
    {
        QTest::addColumn<Gesture>("gesture");
        for (const auto& [name, gesture] : Gestures())
            QTest::newRow(name) << gesture;
    }

    void aGestureIsOneStepThatUndoesAndRedoes()
    {
        QFETCH(Gesture, gesture);
        Editor editor(true);
        QVERIFY(editor.ready);
        const auto state = [&] { // what the instrument holds and the control shows
            return std::pair(editor.instrument->ReadMemory(gesture.address, gesture.count), gesture.shown(editor));
        };
        const auto before = state();
        const int steps = editor.window.History().Stack().index();
        gesture.make(editor);
        QCoreApplication::processEvents();
        const auto made = editor.Received(gesture.messages);
        QVERIFY(made.size() >= gesture.messages);
        const std::vector<Bytes> lastStep(made.end() - static_cast<std::ptrdiff_t>(gesture.messages), made.end());
        const auto after = state();
        QVERIFY(after.first != before.first);
        QCOMPARE(editor.window.History().Stack().index(), steps + 1);
        for (QKeyCombination redo : {Qt::CTRL | Qt::SHIFT | Qt::Key_Z, Qt::CTRL | Qt::Key_Y}) {
            Undo(editor.window);
            QCOMPARE(editor.Received(gesture.messages), WithData(lastStep, gesture.address, before.first));
            QCOMPARE(editor.window.History().Stack().index(), steps);
            QCOMPARE(state(), before);
            Keys(editor.window, redo);
            QCOMPARE(editor.Received(gesture.messages), lastStep);
            QCOMPARE(state(), after);
        }
    }

    void anAccidentalRequestIsUndoneByTransmittingTheEdits()
    {
        Editor editor(true);
        QVERIFY(editor.ready);
        editor.window.SetDetectManualChange(false);
        QVERIFY(!editor.window.isWindowModified());
        test::DragFader(editor.window.Fader(0), {-20});
        QVERIFY(editor.window.isWindowModified());
        const Bytes edited = test::PerformanceOf(editor.device);
        QCOMPARE(editor.instrument->SelectPerformance(sim::PerformanceBank::Internal, 5), sim::PanelOutcome::Selected);
        const Bytes other = editor.instrument->EditBuffer(DumpType::Performance);
        QVERIFY(other != edited);
        editor.window.Button(perf_main::kRequest)->click();
        QCOMPARE(test::PerformanceOf(editor.device), other);
        QCOMPARE(editor.window.windowTitle(),
                 QStringLiteral("CS6x Performance Editor - %1[*]").arg(editor.window.NameEdit()->text()));
        QVERIFY(!editor.window.isWindowModified());
        Undo(editor.window);
        QCOMPARE(editor.instrument->EditBuffer(DumpType::Performance), edited);
        QCOMPARE(test::PerformanceOf(editor.device), edited);
        QCOMPARE(static_cast<int>(editor.window.Fader(0)->Value()), int{edited[0x38]});
        QVERIFY(!editor.window.isWindowModified()); // sent whole
        Keys(editor.window, Qt::CTRL | Qt::Key_Y);
        QCOMPARE(editor.instrument->EditBuffer(DumpType::Performance), other);
    }

    // A change made in one window, here undone from the quick edit, shows in
    // the strip and the receive switches without being asked.
    void anUndoInOneWindowShowsInTheOthers()
    {
        Editor editor(true);
        QVERIFY(editor.ready);
        CS6R_PerfPartRecv receive(&editor.Strip(), &editor.device, 0);
        CS6R_PerfPartEdit quickEdit(&editor.Strip(), &editor.device, 0);
        QVERIFY(test::Activate(receive) && test::Activate(quickEdit));
        FaderControl* volume = editor.Strip().Fader(0);
        QPushButton* box = receive.Box(perf_part_recv::kControlChange);
        FaderControl* cutoff = quickEdit.Fader(0);
        const auto shown = [&] { return std::tuple{volume->Value(), box->isChecked(), cutoff->Value()}; };
        const auto [volume0, box0, cutoff0] = shown();
        test::DragFader(volume, {-10});
        box->click();
        test::KeyFader(cutoff, cutoff0 < 127 ? Qt::Key_Up : Qt::Key_Down);
        const auto [volume1, box1, cutoff1] = shown();
        QVERIFY(volume1 != volume0 && box1 != box0 && cutoff1 != cutoff0);
        for (const auto& undone : {std::tuple{volume1, box1, cutoff0}, std::tuple{volume1, box0, cutoff0}, std::tuple{volume0, box0, cutoff0}}) {
            Undo(quickEdit);
            QVERIFY(shown() == undone);
        }
    }

    void twentyMixedEditsUndoneLeaveTheInstrumentAsItWas()
    {
        Editor editor(true);
        QVERIFY(editor.ready);
        const Bytes start = editor.instrument->EditBuffer(DumpType::Performance);
        const auto gestures = Gestures();
        for (std::size_t i = 0; i < 20; ++i)
            gestures[i % gestures.size()].second.make(editor);
        QVERIFY(editor.instrument->EditBuffer(DumpType::Performance) != start);
        for (int i = 0; i < 40 && editor.window.History().Stack().canUndo(); ++i)
            Undo(editor.window);
        QCOMPARE(editor.instrument->EditBuffer(DumpType::Performance), start);
        QCOMPARE(test::PerformanceOf(editor.device), start);
    }
};

CS6_EDITOR_TEST(UndoTest);
#include "UndoTest.moc"
