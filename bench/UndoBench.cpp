// Undo: from Ctrl+Z pressed in the main window to the parameter change of the
// fader step it takes back arriving at the emulated instrument in process
// (goal: median under 0.1 ms); a drag of 1,000 steps leaves one undo step;
// the memory that 10,000 steps of different controls take (goal: under 10 MB).
#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include <malloc.h>

#include <cstdio>
#include <cstdlib>

#include "bench/BenchLink.h"
#include "bench/BenchSupport.h"
#include "bench/OffscreenEditor.h"
#include "editor/CS6R_PerfMainEdig.h"
#include "editor/EditHistory.h"
#include "midi/DriverList.h"
#include "midi/MidiSystem.h"
#include "sim/EmulatedPeer.h"
#include "synth/NameTables.h"

using namespace cs6;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kUndos = 2000;
constexpr int kDragSteps = 1000;
constexpr int kSteps = 10000;

void DeliverPosted() { QCoreApplication::sendPostedEvents(nullptr, PostedCall::Type()); }

void Mouse(QWidget* widget, QEvent::Type type, Qt::MouseButtons buttons, QPoint at)
{
    QMouseEvent event(type, QPointF(at), QPointF(widget->mapToGlobal(at)), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// Ctrl+Z after each of kUndos key steps of the volume fader.
double UndoLatency(CS6R_PerfMainEdig& window, sim::EmulatedInstrument& instrument)
{
    FaderControl* fader = window.Fader(0);
    std::vector<double> latencies;
    for (int i = 0; i < kUndos; ++i) {
        QTest::keyClick(fader, i % 2 ? Qt::Key_Down : Qt::Key_Up);
        DeliverPosted();
        instrument.ClearLogs();
        const auto pressed = Clock::now();
        QTest::keyClick(fader, Qt::Key_Z, Qt::ControlModifier);
        if (instrument.WaitForReceived(1, 1s) == sim::WaitOutcome::Reached)
            latencies.push_back(
                std::chrono::duration<double, std::milli>(instrument.ReceivedMessages().back().time - pressed).count());
        QCoreApplication::processEvents(); // the views' refresh
    }
    const double median = bench::Median(latencies);
    std::printf("undo: %zu of %d undos sent, median %.4f ms from the key to the instrument\n", latencies.size(),
                kUndos, median);
    return median;
}

// A drag of the volume fader over kDragSteps moves, up and down its track.
int DragSteps(CS6R_PerfMainEdig& window, sim::EmulatedInstrument& instrument)
{
    instrument.ClearLogs();
    FaderControl* fader = window.Fader(0);
    const int before = window.History().Stack().index();
    const QPoint thumb(fader->width() / 2, fader->ThumbY());
    Mouse(fader, QEvent::MouseButtonPress, Qt::LeftButton, thumb);
    QPoint at = thumb;
    for (int i = 0; i < kDragSteps; ++i) {
        at = thumb + QPoint(0, i % 40 - 20);
        Mouse(fader, QEvent::MouseMove, Qt::LeftButton, at);
        DeliverPosted();
    }
    Mouse(fader, QEvent::MouseButtonRelease, Qt::NoButton, at);
    DeliverPosted();
    const int steps = window.History().Stack().index() - before;
    (void)instrument.WaitForReceived(kDragSteps + 1, 1s);
    std::printf("drag: %d moves sent %zu changes and left %d undo step(s)\n", kDragSteps,
                instrument.ReceivedMessages().size(), steps);
    return steps;
}

// kSteps edits of eight controls in turn, so that none joins the one before,
// on a device with no output.
double StepsMegabytes()
{
    SynthDevice device;
    QObject owner;
    auto* history = new EditHistory(device, &owner);
    const int controls[8] = {};
    const std::size_t heapBefore = mallinfo2().uordblks;
    for (int i = 0; i < kSteps; ++i) {
        const auto low = static_cast<int>(0x0D + i % 8);
        history->Edit(&controls[i % 8], EditGesture::Done,
                      {{PackAddress(0x31, 0x00, low), {static_cast<std::uint8_t>(i & 0x7F)}}});
    }
    const double megabytes = static_cast<double>(mallinfo2().uordblks - heapBefore) / (1024.0 * 1024.0);
    std::printf("memory: %d undo steps take %.2f MB of heap (%.0f bytes a step)\n", history->Stack().count(),
                megabytes, megabytes * 1024 * 1024 / kSteps);
    return megabytes;
}

} // namespace

int main(int argc, char** argv)
{
    const bench::OffscreenEditor editor(argc, argv);

    const auto instrument = bench::OpenInProcessInstrument(sim::InstrumentOptions::ForUnitTests());
    double undo = -1;
    int dragSteps = -1;
    {
        bench::ConnectedDevice link;
        CS6R_PerfMainEdig window(nullptr, &link.device);
        if (window.InitDialog()) {
            window.show();
            window.activateWindow();
            if (!QTest::qWaitForWindowActive(&window))
                std::printf("the main window did not become active\n");
            undo = UndoLatency(window, *instrument);
            dragSteps = DragSteps(window, *instrument);
        }
    }
    CloseMidiConnection();
    midiSystem.reset();
    const double megabytes = StepsMegabytes();
    std::printf("undo median %.4f ms (goal < 0.1), a %d-step drag %d undo step(s), %d steps %.2f MB (goal < 10)\n",
                undo, kDragSteps, dragSteps, kSteps, megabytes);
    return 0;
}
