// Transfer overhead: a performance request and a voice request against the
// emulated instrument with its wire model on (every byte 320 us, as at MIDI's
// 31250 baud). The figure is the time from sending the request until the
// memory holds the answer, divided by the wire time of the answer's bytes.
// Goal: at most 1.01.
#include <algorithm>
#include <chrono>
#include <cstdio>

#include "bench/BenchLink.h"
#include "midi/MidiConnection.h"
#include "midi/MidiSettings.h"
#include "midi/MidiSystem.h"
#include "midi/PortGuid.h"
#include "sim/EmulatedPeer.h"
#include "synth/BulkSequences.h"
#include "synth/SynthDevice.h"

using namespace cs6;
using Clock = std::chrono::steady_clock;

namespace {

std::size_t AnswerBytes(std::span<const BulkBlock> blocks)
{
    std::size_t bytes = 2 * 11; // header and footer
    for (const auto& block : blocks)
        bytes += static_cast<std::size_t>(block.count) + 11;
    return bytes;
}

double Measure(SynthDevice& device, int mid, DumpType type, std::span<const BulkBlock> blocks, int rounds)
{
    const double wire = static_cast<double>(AnswerBytes(blocks)) * 320e-6;
    double worst = 0;
    for (int round = 0; round < rounds; ++round) {
        const auto start = Clock::now();
        if (device.RequestDump(0x0E, mid, 0x00, type) != DumpOutcome::Complete) {
            std::printf("request 0E %02X 00 was not answered completely\n", mid);
            return 0;
        }
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        worst = std::max(worst, seconds / wire);
        std::printf("0E %02X 00: %.1f ms for %.1f ms of wire time, ratio %.4f\n", mid, seconds * 1e3, wire * 1e3,
                    seconds / wire);
    }
    return worst;
}

} // namespace

int main()
{
    const auto instrument = bench::OpenInProcessInstrument();
    bench::ConnectedDevice link;
    SynthDevice& device = link.device;

    const double performance = Measure(device, 0x4F, DumpType::Performance, PerformanceBulkBlocks(), 5);
    const double voice = Measure(device, 0x0F, DumpType::NormalVoice, NormalVoiceBulkBlocks(), 5);
    CloseMidiConnection();
    midiSystem.reset();
    std::printf("transfer time / wire time (worst of performance and voice requests): %.4f\n",
                std::max(performance, voice));
    return 0;
}
