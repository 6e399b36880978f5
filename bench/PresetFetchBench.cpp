// "Receive PRE patches" against the emulated instrument with its wire model
// on (every byte 320 us, as at MIDI's 31250 baud), over the in-process port
// as the program has it. The figure is the fetch's time (the 264 requests,
// the switch pulses and the performance sent back) divided by the wire time
// of the 264 answers plus the waits the protocol itself asks for (the
// pulses' and the pauses between the performance's messages).
// Goal: at most 1.02.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include <unistd.h>

#include "bench/BenchLink.h"
#include "midi/MidiSystem.h"
#include "sim/EmulatedPeer.h"
#include "synth/BulkSequences.h"
#include "synth/PresetFetch.h"

using namespace cs6;
using Clock = std::chrono::steady_clock;

namespace {

// The wire time of one whole-sound answer.
double WireSeconds(DumpType type)
{
    std::size_t bytes = 0;
    for (const auto& message : BuildBulk(ParameterMemory{}, type, 0, 0))
        bytes += message.size();
    return static_cast<double>(bytes) * static_cast<double>(sim::kMidiByteTime.count()) * 1e-6;
}

} // namespace

int main()
{
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / ("cs6-bench-presets-" + std::to_string(::getpid()));
    fs::create_directories(folder);

    const auto instrument = bench::OpenInProcessInstrument();
    bench::ConnectedDevice link;
    SynthDevice& device = link.device;
    std::chrono::milliseconds waits{0};
    device.SetPause([&waits](std::chrono::milliseconds time) {
        waits += time;
        std::this_thread::sleep_for(time);
    });

    const auto start = Clock::now();
    const BankReceipt receipt = ReceivePresetBanks(device, folder);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    CloseMidiConnection();
    midiSystem.reset();
    fs::remove_all(folder);
    if (!receipt.written) {
        std::printf("%s\n", receipt.Describe().c_str());
        return 1;
    }
    const double wire = 256 * WireSeconds(DumpType::NormalVoice) + 8 * WireSeconds(DumpType::DrumVoice);
    const double protocol = std::chrono::duration<double>(waits).count();
    std::printf("264 presets: %.3f s; wire time of the answers %.3f s, protocol waits %.3f s\n", seconds, wire,
                protocol);
    std::printf("preset fetch time / (wire time + protocol waits): %.4f\n", seconds / (wire + protocol));
    return 0;
}
