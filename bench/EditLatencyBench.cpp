// Edit latency: from a fader's posted drag message being handled by the main
// window to the parameter change's bytes arriving at the instrument; in
// process at the emulated instrument, and over JACK at cs6sim. Goals: median
// under 0.1 ms in process, under 2 ms over JACK.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <csignal>
#include <sstream>

#include "bench/BenchLink.h"
#include "bench/BenchSupport.h"
#include "bench/OffscreenEditor.h"
#include "editor/CS6R_PerfMainEdig.h"
#include "midi/MidiConnection.h"
#include "midi/MidiSettings.h"
#include "midi/MidiSystem.h"
#include "midi/PortGuid.h"
#include "sim/EmulatedPeer.h"
#include "synth/NameTables.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/JackServer.h"

using namespace cs6;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kSteps = 2000;

// The dialog's fader 0 (volume, one byte) steps through values; arrival(step)
// tells when its message reached the instrument.
template <typename Arrival>
std::vector<double> Drag(CS6R_PerfMainEdig& dialog, int steps, Arrival arrival)
{
    std::vector<double> latencies;
    for (int step = 0; step < steps; ++step) {
        dialog.Fader(0)->SetValue(step % 128);
        PostCall(&dialog, [&dialog] { dialog.Fader(0)->notify(FaderStep::Drag); });
        const auto handled = Clock::now();
        QCoreApplication::sendPostedEvents(&dialog);
        const auto arrived = arrival(step);
        if (arrived)
            latencies.push_back(std::chrono::duration<double, std::milli>(*arrived - handled).count());
    }
    return latencies;
}

double InProcess()
{
    auto instrument = std::make_shared<sim::EmulatedInstrument>(sim::InstrumentOptions::ForUnitTests());
    midiSystem = std::make_unique<MidiSystem>(MidiSystemConfig{
        .drivers = {InProcessPorts({{sim::kEmulatedPortName, std::make_shared<sim::EmulatedPeer>(instrument)}})}});
    const QUuid port = PortGuid(kEmulatedKind, sim::kEmulatedPortName);
    bench::OpenPorts(port, port);
    bench::ConnectedDevice link;
    double median = -1;
    {
        CS6R_PerfMainEdig dialog(nullptr, &link.device);
        if (dialog.InitDialog()) {
            instrument->ClearLogs();
            const auto latencies = Drag(dialog, kSteps, [&](int step) -> std::optional<Clock::time_point> {
                if (instrument->WaitForReceived(static_cast<std::size_t>(step) + 1, 1s) != sim::WaitOutcome::Reached)
                    return std::nullopt;
                return instrument->ReceivedMessages().back().time;
            });
            median = bench::Median(latencies);
            std::printf("in process: %zu steps, median %.4f ms\n", latencies.size(), median);
        }
    }
    CloseMidiConnection();
    midiSystem.reset();
    return median;
}

double OverJack()
{
    // A low-latency server setting: 64 frames, 1.3 ms at 48 kHz. A message
    // reaches the other client about two periods after it is sent.
    ::setenv("CS6_TEST_JACK_PERIOD", "64", 0);
    std::string whyNot;
    auto server = test::JackServer::StartAny(&whyNot);
    if (!server) {
        std::printf("over JACK: no server (%s)\n", whyNot.c_str());
        return -1;
    }
    auto sim = test::ChildProcess::Start(CS6SIM_PATH, {"--no-pacing", "--echo", "--times"});
    std::string line;
    if (!sim || !sim->ReadLine(line, 10s))
        return -1;
    midiSystem = std::make_unique<MidiSystem>(MidiSystemConfig{.drivers = {JackMidi("cs6edit")}});
    bench::OpenPorts(PortGuid(kJackKind, "cs6sim:midi_out"), PortGuid(kJackKind, "cs6sim:midi_in"));
    bench::ConnectedDevice link;
    double median = -1;
    {
        CS6R_PerfMainEdig dialog(nullptr, &link.device);
        if (dialog.InitDialog()) {
            // Skip what the start-up sequence sent.
            while (sim->ReadLine(line, 300ms)) {
            }
            const auto latencies = Drag(dialog, kSteps / 4, [&](int) -> std::optional<Clock::time_point> {
                while (sim->ReadLine(line, 2s)) {
                    const auto at = line.find('@');
                    if (line.rfind("rx F0 43 10 64 30 00 38", 0) != 0 || at == std::string::npos)
                        continue;
                    return Clock::time_point(std::chrono::nanoseconds(std::stoll(line.substr(at + 1))));
                }
                return std::nullopt;
            });
            median = bench::Median(latencies);
            std::printf("over JACK (period %s frames at 48 kHz): %zu steps, median %.4f ms\n",
                        std::getenv("CS6_TEST_JACK_PERIOD"), latencies.size(), median);
        }
    }
    CloseMidiConnection();
    midiSystem.reset();
    sim->Signal(SIGTERM);
    sim->Wait(5s);
    return median;
}

} // namespace

int main(int argc, char** argv)
{
    const bench::OffscreenEditor editor(argc, argv);
    const double inProcess = InProcess();
    const double overJack = OverJack();
    std::printf("edit latency median: %.4f ms in process, %.4f ms over JACK\n", inProcess, overJack);
    return 0;
}
