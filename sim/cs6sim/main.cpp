// cs6sim: the emulated CS6x as a program of its own, with JACK MIDI ports
// "cs6sim:midi_in" and "cs6sim:midi_out" for the editor (or anything else) to
// connect to, and ALSA sequencer ports of the same names where a sequencer
// exists. Its output is paced like a MIDI cable unless --no-pacing.
//
// Commands on standard input, one a line:
//   perf N        select INT performance N (1..128) on the front panel
//   perf ext N    select EXT performance N (1..64)
//   quit          end
// End of input and SIGTERM end it too. With --echo every received message is
// printed as "rx" and its bytes in hex, for tests that watch what arrives;
// --times adds "@" and the steady clock's nanoseconds at its arrival.
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "midi/JackDriver.h"
#include "midi/MidiInputHandler.h"
#include "midi/MidiPort.h"
#include "midi/RtMidiDriver.h"
#include "sim/DataFiles.h"
#include "sim/EmulatedInstrument.h"

namespace {

using cs6::sim::EmulatedInstrument;

struct Options {
    cs6::sim::InstrumentOptions instrument; // paced, as the cable would be
    std::string clientName = "cs6sim";
    bool echo = false;
    bool times = false;
    std::optional<std::filesystem::path> writeFilesTo;
};

void Usage(std::FILE* to)
{
    std::fprintf(to,
                 "usage: cs6sim [--no-pacing] [--latency-us N] [--name CLIENT] [--echo [--times]]\n"
                 "       cs6sim --write-files DIR\n"
                 "An emulated Yamaha CS6x on JACK MIDI (ports CLIENT:midi_in and CLIENT:midi_out,\n"
                 "CLIENT being cs6sim unless --name says otherwise).\n"
                 "Commands on standard input: perf N, perf ext N, quit.\n");
}

// The options, or the exit code when the command line ends the program
// (--help, or a usage error).
std::optional<Options> ParseArguments(int argc, char** argv, int& exitCode)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--echo") {
            options.echo = true;
        } else if (arg == "--times") {
            options.times = true;
        } else if (arg == "--no-pacing") {
            options.instrument.pacing = cs6::sim::WirePacing::Off;
        } else if (arg == "--latency-us" && hasValue) {
            options.instrument.replyLatency = std::chrono::microseconds(std::atoi(argv[++i]));
        } else if (arg == "--name" && hasValue) {
            options.clientName = argv[++i];
        } else if (arg == "--write-files" && hasValue) {
            options.writeFilesTo = argv[++i];
        } else {
            const bool help = arg == "--help";
            Usage(help ? stdout : stderr);
            exitCode = help ? 0 : 2;
            return std::nullopt;
        }
    }
    return options;
}

int WriteFiles(const std::filesystem::path& folder)
{
    const auto result = cs6::sim::WriteFactoryDataFiles(folder);
    if (result.outcome == cs6::sim::WriteResult::Outcome::Written)
        return 0;
    std::fprintf(stderr, "cs6sim: could not write %s: %s\n", result.path.c_str(), result.detail.c_str());
    return 1;
}

// Standard output, shared by the receive threads and the command loop.
class Console {
public:
    void Say(const std::string& line)
    {
        const std::lock_guard lock(mutex_);
        std::fputs(line.c_str(), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    }

private:
    std::mutex mutex_;
};

// The instrument's ports: JACK ports, and ALSA sequencer ports as well where
// a sequencer exists. A pair is kept only when both ports opened and became
// active. The inputs receive on the transport's own receive thread.
class Ports {
public:
    struct Pair {
        std::unique_ptr<cs6::MidiInputPort> input;
        std::unique_ptr<cs6::DriverPort> output;
    };

    explicit Ports(const std::string& clientName)
        : jack_(clientName), alsa_(RtMidi::LINUX_ALSA, clientName, "alsa", "ALSA")
    {
        using cs6::PortDirection;
        Keep(jack_.OpenOwn(PortDirection::Input), jack_.OpenOwn(PortDirection::Output), "JACK", clientName);
        Keep(alsa_.OpenVirtual(PortDirection::Input, "midi_in"), alsa_.OpenVirtual(PortDirection::Output, "midi_out"),
             "ALSA", clientName);
    }

    std::vector<Pair>& Pairs() { return pairs_; }
    // " JACK cs6sim:midi_in, cs6sim:midi_out;" for each pair kept.
    const std::string& Where() const { return where_; }

    // The transmit sink: every message to every output.
    void SendToAll(std::span<const std::uint8_t> message)
    {
        for (Pair& pair : pairs_)
            if (pair.output->Send(message, cs6::ReferenceNow()) != cs6::DriverSendResult::Sent)
                std::fprintf(stderr, "cs6sim: a message could not be sent\n");
    }

private:
    void Keep(std::unique_ptr<cs6::DriverPort> input, std::unique_ptr<cs6::DriverPort> output, const char* system,
              const std::string& clientName)
    {
        if (!input || !output || !input->Activate(true) || !output->Activate(true))
            return;
        const auto maxBytes = static_cast<std::uint32_t>(input->MaxMessageBytes());
        pairs_.push_back({std::make_unique<cs6::MidiInputPort>(QUuid(), std::move(input), maxBytes), std::move(output)});
        where_ += std::string(" ") + system + " " + clientName + ":midi_in, " + clientName + ":midi_out;";
    }

    cs6::JackDriver jack_;
    cs6::RtMidiDriver alsa_;
    std::vector<Pair> pairs_; // after the drivers: the ports close first
    std::string where_;
};

// Hands every message that arrives on an input to the instrument and, with
// --echo, to the console as "rx F0 43 ... F7" (with --times " @" and its
// arrival in nanoseconds). Runs on the inputs' receive threads.
class Receiver : public cs6::MidiInputHandler {
public:
    Receiver(EmulatedInstrument& instrument, Console& console, const Options& options)
        : instrument_(instrument), console_(console), options_(options)
    {
    }

    void OnSysEx(cs6::ReferenceTime time, std::uint32_t, std::span<const std::uint8_t> data) override
    {
        Take(time, data);
    }
    void OnShortMessage(cs6::ReferenceTime time, std::uint32_t, std::span<const std::uint8_t> data) override
    {
        Take(time, data);
    }
    std::chrono::steady_clock::time_point OnIdleTimeout(std::chrono::steady_clock::time_point) override
    {
        return std::chrono::steady_clock::now(); // nobody here waits for replies
    }

private:
    void Take(cs6::ReferenceTime time, std::span<const std::uint8_t> data)
    {
        instrument_.Receive(data);
        if (!options_.echo)
            return;
        std::string line = "rx";
        char hex[4];
        for (const std::uint8_t byte : data) {
            std::snprintf(hex, sizeof hex, " %02X", byte);
            line += hex;
        }
        if (options_.times)
            line += " @" + std::to_string(time * 100); // 100 ns units
        console_.Say(line);
    }

    EmulatedInstrument& instrument_;
    Console& console_;
    const Options& options_;
};

// One command line; false when it asks to end.
bool Command(const std::string& line, EmulatedInstrument& instrument, Console& console)
{
    std::istringstream words(line);
    std::string verb;
    words >> verb;
    if (verb.empty())
        return true;
    if (verb == "quit")
        return false;
    if (verb != "perf") {
        console.Say("unknown command: " + verb);
        return true;
    }
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
        console.Say("perf needs a number");
        return true;
    }
    if (instrument.SelectPerformance(bank, number - 1) == cs6::sim::PanelOutcome::Selected)
        console.Say("selected performance " + std::to_string(number));
    else
        console.Say("no performance " + std::to_string(number));
    return true;
}

int stopPipe[2] = {-1, -1};

void OnTerminate(int)
{
    const char byte = 1;
    (void)!::write(stopPipe[1], &byte, 1);
}

// Runs the commands on standard input until "quit", the end of the input or
// SIGTERM / SIGINT.
void CommandLoop(EmulatedInstrument& instrument, Console& console)
{
    std::string pending;
    for (bool go = true; go;) {
        pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {stopPipe[0], POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (fds[1].revents)
            return;
        if (!fds[0].revents)
            continue;
        char chunk[256];
        const ssize_t n = ::read(STDIN_FILENO, chunk, sizeof chunk);
        if (n <= 0)
            return; // end of input
        pending.append(chunk, static_cast<std::size_t>(n));
        for (std::size_t end; go && (end = pending.find('\n')) != std::string::npos;) {
            go = Command(pending.substr(0, end), instrument, console);
            pending.erase(0, end + 1);
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    int exitCode = 0;
    const std::optional<Options> options = ParseArguments(argc, argv, exitCode);
    if (!options)
        return exitCode;
    if (options->writeFilesTo)
        return WriteFiles(*options->writeFilesTo);

    if (::pipe(stopPipe) != 0)
        return 1;
    std::signal(SIGTERM, OnTerminate);
    std::signal(SIGINT, OnTerminate);

    Ports ports(options->clientName);
    if (ports.Pairs().empty()) {
        std::fprintf(stderr, "cs6sim: neither a JACK server nor an ALSA sequencer to connect to\n");
        return 1;
    }
    EmulatedInstrument instrument(options->instrument);
    instrument.SetTransmitSink([&ports](std::span<const std::uint8_t> message) { ports.SendToAll(message); });

    Console console;
    Receiver receiver(instrument, console, *options);
    for (Ports::Pair& pair : ports.Pairs())
        pair.input->StartReceiving(&receiver);

    console.Say("cs6sim ready:" + ports.Where());
    CommandLoop(instrument, console);

    // The receive threads end before the instrument they feed.
    for (Ports::Pair& pair : ports.Pairs())
        pair.input->StopReceiving();
    (void)instrument.WaitUntilIdle(std::chrono::seconds(5));
    return 0;
}
