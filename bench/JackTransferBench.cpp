// Transfer overhead over JACK: cs6sim paced at 31250 baud in another process;
// a performance, a voice and a drum-voice request, each as the time until the
// memory holds the answer over the answer's wire time. Goal: at most 1.01.
#include <cstdio>
#include <cstdlib>
#include <csignal>

#include "bench/JackSim.h"
#include "bench/BenchSupport.h"
#include "framework/UserMessage.h"
#include "midi/MidiConnection.h"
#include "midi/MidiSettings.h"
#include "midi/MidiSystem.h"
#include "midi/PortGuid.h"
#include "synth/BulkSequences.h"
#include "synth/SynthDevice.h"

using namespace cs6;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

double WireSeconds(std::span<const BulkBlock> blocks)
{
    std::size_t bytes = 2 * 11;
    for (const auto& block : blocks)
        bytes += static_cast<std::size_t>(block.count) + 11;
    return static_cast<double>(bytes) * 320e-6;
}

double Ratio(SynthDevice& device, const char* what, int mid, DumpType type, std::span<const BulkBlock> blocks)
{
    const auto start = Clock::now();
    const DumpOutcome outcome = device.RequestDump(0x0E, mid, 0x00, type);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const double wire = WireSeconds(blocks);
    std::printf("%s: %s, %.1f ms for %.1f ms of wire time, ratio %.4f\n", what, DumpOutcomeText(outcome),
                seconds * 1e3, wire * 1e3, seconds / wire);
    return outcome == DumpOutcome::Complete ? seconds / wire : 99;
}

} // namespace

int main()
{
    SetMessageBoxHandler([](std::string_view text) { std::printf("message box: %.*s\n", static_cast<int>(text.size()), text.data()); });
    ::setenv("CS6_TEST_JACK_PERIOD", "64", 0);
    bench::JackSim jack;
    if (!jack.Start({}))
        return 1;
    bench::ConnectedDevice link;
    SynthDevice& device = link.device;

    double worst = 0;
    for (int round = 0; round < 3; ++round) {
        worst = std::max(worst, Ratio(device, "performance", 0x4F, DumpType::Performance, PerformanceBulkBlocks()));
        worst = std::max(worst, Ratio(device, "normal voice", 0x0F, DumpType::NormalVoice, NormalVoiceBulkBlocks()));
        worst = std::max(worst, Ratio(device, "drum voice", 0x2F, DumpType::DrumVoice, DrumVoiceBulkBlocks()));
    }
    CloseMidiConnection();
    midiSystem.reset();
    jack.sim->Signal(SIGTERM);
    jack.sim->Wait(5s);
    std::printf("transfer time / wire time over JACK (worst of performance, voice, drum voice): %.4f\n", worst);
    return 0;
}
