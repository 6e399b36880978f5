// The port watcher's cost: how long one look at the ports takes (what the
// watcher does once a second while the editor runs), with the ports of
// cs6sim open over JACK, and after the JACK server went away, when each look
// also tries to reach a server. The figure is the share of one core the
// watcher takes at its period of one second, the worse of the two.
// Goal: under 0.1 %.
#include <QCoreApplication>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <csignal>

#include "bench/JackSim.h"
#include "framework/UserMessage.h"
#include "midi/PortWatcher.h"

using namespace cs6;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

struct LookTime {
    double cpu;  // seconds of processor time, every thread of the process
    double wall; // seconds the user-interface thread is held
};

// The mean time of one look.
LookTime Look(PortWatcher& watcher, int looks)
{
    const std::clock_t cpuStart = std::clock();
    const auto start = Clock::now();
    for (int i = 0; i < looks; ++i)
        watcher.Check();
    return {static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC / looks,
            std::chrono::duration<double>(Clock::now() - start).count() / looks};
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv); // the watcher's timer
    SetMessageBoxHandler([](std::string_view text) { std::printf("message box: %.*s\n", static_cast<int>(text.size()), text.data()); });
    bench::JackSim jack;
    if (!jack.Start({}))
        return 1;
    ConnectionOutput output;
    PortWatcher watcher(output, {}, std::chrono::hours(1)); // looks only when asked here

    const LookTime present = Look(watcher, 1000);
    if (watcher.State() != PortState::Present)
        return 1;
    jack.server->Kill();
    const auto deadline = Clock::now() + 10s;
    while (watcher.State() != PortState::Gone && Clock::now() < deadline)
        watcher.Check();
    if (watcher.State() != PortState::Gone)
        return 1;
    const LookTime gone = Look(watcher, 200);
    CloseMidiConnection();
    midiSystem.reset();
    jack.sim->Signal(SIGTERM);
    jack.sim->Wait(5s);
    const double period = std::chrono::duration<double>(kPortWatchPeriod).count();
    std::printf("one look, processor time (wall time): %.1f us (%.1f us) with the ports open, %.1f us (%.1f us) with "
                "the server gone; period %.0f s\n",
                present.cpu * 1e6, present.wall * 1e6, gone.cpu * 1e6, gone.wall * 1e6, period);
    std::printf("share of one core the port watcher takes: %.4f %%\n", std::max(present.cpu, gone.cpu) / period * 100);
    return 0;
}
