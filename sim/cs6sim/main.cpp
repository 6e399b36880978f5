// cs6sim: the emulated CS6x as a program of its own, with JACK MIDI ports
// "cs6sim:midi_in" and "cs6sim:midi_out" for the editor (or anything else) to
// connect to. Its output is paced like a MIDI cable unless --no-pacing.
//
// Commands on standard input, one a line:
//   perf N        select INT performance N (1..128) on the front panel
//   perf ext N    select EXT performance N (1..64)
//   quit          end
// End of input and SIGTERM end it too. With --echo every received message is
// printed as "rx" and its bytes in hex, for tests that watch what arrives;
// --times adds "@" and the steady clock's nanoseconds at its arrival.
#include <csignal>
#include <cstdio>
#include <cerrno>
#include <cstring>
#include <poll.h>
#include <string>
#include <thread>
#include <unistd.h>

#include <atomic>
#include <mutex>
#include <iostream>
#include <sstream>

#include "midi/JackDriver.h"
#include "midi/RtMidiDriver.h"
#include "sim/DataFiles.h"
#include "sim/EmulatedInstrument.h"

namespace {

int stopPipe[2] = {-1, -1};

void OnTerminate(int)
{
    const char byte = 1;
    (void)!::write(stopPipe[1], &byte, 1);
}

void Usage(std::FILE* to)
{
    std::fprintf(to,
                 "usage: cs6sim [--no-pacing] [--latency-us N] [--name CLIENT] [--echo [--times]]\n"
                 "       cs6sim --write-files DIR\n"
                 "An emulated Yamaha CS6x on JACK MIDI (ports CLIENT:midi_in and CLIENT:midi_out,\n"
                 "CLIENT being cs6sim unless --name says otherwise).\n"
                 "Commands on standard input: perf N, perf ext N, quit.\n");
}

// One command line; false when it asks to end.
template <typename Say>
bool Command(const std::string& line, cs6::sim::EmulatedInstrument& instrument, const Say& say)
{
    std::istringstream words(line);
    std::string verb;
    words >> verb;
    if (verb.empty())
        return true;
    if (verb == "quit")
        return false;
    if (verb == "perf") {
        std::string which;
        words >> which;
        auto bank = cs6::sim::PerformanceBank::Internal;
        if (which == "ext" || which == "int") {
            bank = which == "ext" ? cs6::sim::PerformanceBank::External : cs6::sim::PerformanceBank::Internal;
            words >> which;
        }
        int number = 0;
        try {
            number = std::stoi(which);
        } catch (const std::exception&) {
            say("perf needs a number");
            return true;
        }
        if (instrument.SelectPerformance(bank, number - 1) == cs6::sim::PanelOutcome::Selected)
            say("selected performance " + std::to_string(number));
        else
            say("no performance " + std::to_string(number));
        return true;
    }
    say("unknown command: " + verb);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    cs6::sim::InstrumentOptions options; // paced, as the cable would be
    std::string clientName = "cs6sim";
    bool echo = false;
    bool times = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--echo") {
            echo = true;
        } else if (arg == "--times") {
            times = true;
        } else if (arg == "--no-pacing") {
            options.pacing = cs6::sim::WirePacing::Off;
        } else if (arg == "--latency-us" && i + 1 < argc) {
            options.replyLatency = std::chrono::microseconds(std::atoi(argv[++i]));
        } else if (arg == "--name" && i + 1 < argc) {
            clientName = argv[++i];
        } else if (arg == "--write-files" && i + 1 < argc) {
            const auto result = cs6::sim::WriteFactoryDataFiles(argv[++i]);
            if (result.outcome != cs6::sim::WriteResult::Outcome::Written) {
                std::fprintf(stderr, "cs6sim: could not write %s: %s\n", result.path.c_str(), result.detail.c_str());
                return 1;
            }
            return 0;
        } else if (arg == "--help") {
            Usage(stdout);
            return 0;
        } else {
            Usage(stderr);
            return 2;
        }
    }

    if (::pipe(stopPipe) != 0)
        return 1;
    std::signal(SIGTERM, OnTerminate);
    std::signal(SIGINT, OnTerminate);

    // JACK ports, and ALSA sequencer ports as well where a sequencer exists.
    struct Ports {
        std::unique_ptr<cs6::DriverPort> input;
        std::unique_ptr<cs6::DriverPort> output;
    };
    std::vector<Ports> ports;
    cs6::JackDriver jack(clientName);
    cs6::RtMidiDriver alsa(RtMidi::LINUX_ALSA, clientName, "alsa", "ALSA");
    std::string where;
    {
        Ports jackPorts{jack.OpenOwn(cs6::PortDirection::Input), jack.OpenOwn(cs6::PortDirection::Output)};
        if (jackPorts.input && jackPorts.output && jackPorts.input->Activate(true) && jackPorts.output->Activate(true)) {
            ports.push_back(std::move(jackPorts));
            where += " JACK " + clientName + ":midi_in, " + clientName + ":midi_out;";
        }
        Ports alsaPorts{alsa.OpenVirtual(cs6::PortDirection::Input, "midi_in"),
                        alsa.OpenVirtual(cs6::PortDirection::Output, "midi_out")};
        if (alsaPorts.input && alsaPorts.output && alsaPorts.input->Activate(true) && alsaPorts.output->Activate(true)) {
            ports.push_back(std::move(alsaPorts));
            where += " ALSA " + clientName + ":midi_in, " + clientName + ":midi_out;";
        }
    }
    if (ports.empty()) {
        std::fprintf(stderr, "cs6sim: neither a JACK server nor an ALSA sequencer to connect to\n");
        return 1;
    }

    cs6::sim::EmulatedInstrument instrument(options);
    instrument.SetTransmitSink([&ports](std::span<const std::uint8_t> message) {
        for (auto& port : ports)
            if (port.output->Send(message, cs6::ReferenceNow()) != cs6::DriverSendResult::Sent)
                std::fprintf(stderr, "cs6sim: a message could not be sent\n");
    });

    std::mutex outputLock; // the receivers and the command loop share stdout
    auto say = [&outputLock](const std::string& line) {
        std::lock_guard lock(outputLock);
        std::fputs(line.c_str(), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    };

    std::atomic<bool> running{true};
    std::vector<std::thread> receivers;
    for (auto& port : ports) {
        receivers.emplace_back([&running, &instrument, &say, echo, times, input = port.input.get()] {
            std::vector<cs6::TimedEvent> events;
            while (running) {
                input->ReadNotification()->Wait(std::chrono::milliseconds(200));
                while (input->Read(events)) {
                    for (const auto& event : events) {
                        instrument.Receive(event.bytes);
                        if (echo) {
                            std::string line = "rx";
                            char hex[4];
                            for (const std::uint8_t byte : event.bytes) {
                                std::snprintf(hex, sizeof hex, " %02X", byte);
                                line += hex;
                            }
                            if (times)
                                line += " @" + std::to_string(event.time * 100); // 100 ns units
                            say(line);
                        }
                    }
                    events.clear();
                }
            }
        });
    }

    say("cs6sim ready:" + where);

    std::string pending;
    for (bool go = true; go;) {
        pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {stopPipe[0], POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (fds[1].revents)
            break;
        if (!fds[0].revents)
            continue;
        char chunk[256];
        const ssize_t n = ::read(STDIN_FILENO, chunk, sizeof chunk);
        if (n <= 0)
            break; // end of input
        pending.append(chunk, static_cast<std::size_t>(n));
        for (std::size_t end; go && (end = pending.find('\n')) != std::string::npos;) {
            go = Command(pending.substr(0, end), instrument, say);
            pending.erase(0, end + 1);
        }
    }

    running = false;
    for (std::size_t i = 0; i < ports.size(); ++i) {
        ports[i].input->ReadNotification()->Signal();
        receivers[i].join();
    }
    (void)instrument.WaitUntilIdle(std::chrono::seconds(5));
    return 0;
}
