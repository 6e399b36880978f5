// Opening a performance file in the main window: from the open of a file of
// one performance until the views show it and the emulated instrument, paced
// at 31250 baud, holds it, less the pauses the instrument needs between the
// bulk's 34 messages (34 × 50 ms). Files of two performances take turns, so
// that every open changes the performance. Goal: under 50 ms.
#include <QApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "bench/BenchLink.h"
#include "bench/BenchSupport.h"
#include "bench/OffscreenEditor.h"
#include "editor/CS6R_PerfMainEdig.h"
#include "midi/DriverList.h"
#include "midi/MidiSystem.h"
#include "sim/EmulatedPeer.h"
#include "synth/NameTables.h"
#include "synth/PerformanceFile.h"

using namespace cs6;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kRounds = 6;
constexpr auto kPauses = 34 * 50ms;

double Milliseconds(Clock::duration time) { return std::chrono::duration<double, std::milli>(time).count(); }

} // namespace

int main(int argc, char** argv)
{
    const bench::OffscreenEditor editor(argc, argv);

    const auto instrument =
        bench::OpenInProcessInstrument({.pacing = sim::WirePacing::MidiBaud, .keepLogs = true});
    std::vector<double> overheads;
    {
        bench::ConnectedDevice link;
        CS6R_PerfMainEdig window(nullptr, &link.device);
        QTemporaryDir folder;
        if (window.InitDialog() && folder.isValid()) {
            window.show();
            // Two files: the performance the instrument holds, and the same renamed.
            const std::array<std::string, 2> files{folder.filePath("a.syx").toStdString(),
                                                   folder.filePath("b.syx").toStdString()};
            ParameterMemory other;
            other.image = link.device.Memory().image;
            std::ranges::copy(std::string_view("Bench     "), other.Bytes(PackAddress(0x30, 0, 0), 10).begin());
            SavePerformanceFile(files[0], link.device.Memory());
            SavePerformanceFile(files[1], other);
            for (int round = 0; round < kRounds; ++round) {
                instrument->ClearLogs();
                const auto start = Clock::now();
                if (!window.Files().OpenFile(files[static_cast<std::size_t>(round % 2 ? 0 : 1)]))
                    break;
                QCoreApplication::processEvents(); // the views follow
                const auto shown = Clock::now();
                if (instrument->WaitForReceived(34, 5s) != sim::WaitOutcome::Reached) {
                    std::printf("the instrument did not receive the whole bulk\n");
                    break;
                }
                const auto held = instrument->ReceivedMessages().back().time;
                const double overhead = Milliseconds(std::max(shown, held) - start - kPauses);
                std::printf("open %d: shown after %.1f ms, the footer in after %.1f ms: %.1f ms over 34 x 50 ms\n",
                            round + 1, Milliseconds(shown - start), Milliseconds(held - start), overhead);
                overheads.push_back(overhead);
            }
        }
    }
    CloseMidiConnection();
    midiSystem.reset();
    const double worst = overheads.size() == kRounds ? *std::ranges::max_element(overheads) : -1;
    std::printf("open and send a one-performance file: worst %.1f ms over 34 x 50 ms (goal < 50), median %.1f ms\n",
                worst, bench::Median(overheads));
    return 0;
}
