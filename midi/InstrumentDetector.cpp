#include "midi/InstrumentDetector.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <string_view>

#include "midi/MidiInputHandler.h"
#include "midi/MidiPort.h"

namespace cs6 {
namespace {

using Clock = std::chrono::steady_clock;

// Which inputs answered since the last request, and how long the slowest
// took. Note runs on the receive threads, the rest on the detecting thread.
class Answers {
public:
    explicit Answers(std::size_t inputs) : answered_(inputs, false) {}

    // A request goes out now: earlier answers are forgotten.
    void Ask()
    {
        std::lock_guard lock(mutex_);
        std::fill(answered_.begin(), answered_.end(), false);
        askedAt_ = Clock::now();
    }

    void Note(std::size_t input)
    {
        std::lock_guard lock(mutex_);
        if (!answered_[input])
            slowest_ = std::max(slowest_, Clock::now() - askedAt_);
        answered_[input] = true;
        changed_.notify_all();
    }

    // Waits until every awaited input has answered or the deadline passed;
    // returns the inputs that answered.
    std::vector<bool> WaitFor(const std::vector<bool>& awaited, Clock::time_point deadline)
    {
        std::unique_lock lock(mutex_);
        changed_.wait_until(lock, deadline, [&] {
            for (std::size_t i = 0; i < awaited.size(); ++i)
                if (awaited[i] && !answered_[i])
                    return false;
            return true;
        });
        return answered_;
    }

    // The longest an input took to answer a request.
    Clock::duration Slowest()
    {
        std::lock_guard lock(mutex_);
        return slowest_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<bool> answered_;
    Clock::time_point askedAt_;
    Clock::duration slowest_{};
};

// Receive thread: notes a CS6x identity on its input; everything else is
// dropped.
class Listener : public MidiInputHandler {
public:
    Listener(Answers& answers, std::size_t input) : answers_(answers), input_(input) {}

    void OnSysEx(ReferenceTime, std::uint32_t, std::span<const std::uint8_t> data) override
    {
        if (IsCs6xIdentity(data))
            answers_.Note(input_);
    }
    void OnShortMessage(ReferenceTime, std::uint32_t, std::span<const std::uint8_t>) override {}
    Clock::time_point OnIdleTimeout(Clock::time_point) override { return Clock::now(); }

private:
    Answers& answers_;
    std::size_t input_;
};

struct Input {
    DriverPortInfo info;
    std::unique_ptr<Listener> listener;
    std::unique_ptr<MidiInputPort> port; // after the listener: stops receiving first
};

struct Output {
    DriverPortInfo info;
    std::unique_ptr<DriverPort> port;
};

// How alike two port descriptions are: the characters they share at the
// start and at the end ("cs6sim:midi_out (JACK)" and "cs6sim:midi_in (JACK)"
// share 12 and 7).
std::size_t Likeness(std::string_view a, std::string_view b)
{
    const std::size_t shorter = std::min(a.size(), b.size());
    std::size_t head = 0;
    while (head < shorter && a[head] == b[head])
        ++head;
    std::size_t tail = 0;
    while (head + tail < shorter && a[a.size() - 1 - tail] == b[b.size() - 1 - tail])
        ++tail;
    return head + tail;
}

// Of the ports that are wanted, the one whose description is most like
// `like`, the first of equals; ports.size() when none is wanted.
template <typename Ports, typename Wanted>
std::size_t MostAlike(const Ports& ports, std::string_view like, Wanted wanted)
{
    std::size_t best = ports.size();
    std::size_t bestLikeness = 0;
    for (std::size_t i = 0; i < ports.size(); ++i) {
        if (!wanted(i))
            continue;
        const std::size_t likeness = Likeness(ports[i].info.description, like);
        if (best == ports.size() || likeness > bestLikeness) {
            best = i;
            bestLikeness = likeness;
        }
    }
    return best;
}

void Send(Output& output)
{
    // A port that fails is simply not heard from.
    (void)output.port->Send(kIdentityRequest, output.port->LatencyClock().value_or(ReferenceNow()));
}

} // namespace

bool IsCs6xIdentity(std::span<const std::uint8_t> message)
{
    static constexpr std::array<std::uint8_t, 10> head{0xF0, 0x7E, 0x00, 0x06, 0x02, 0x43, 0x00, 0x41, 0x5C, 0x03};
    if (message.size() != head.size() + 5 || message.back() != 0xF7)
        return false;
    for (std::size_t i = 0; i < head.size(); ++i)
        if (i != 2 && message[i] != head[i])
            return false;
    return std::all_of(message.begin() + 1, message.end() - 1, [](std::uint8_t byte) { return byte < 0x80; });
}

std::vector<InstrumentPorts> DetectInstruments(MidiSystem& system, std::chrono::milliseconds listen)
{
    std::vector<DriverPortInfo> inputInfos;
    std::vector<Output> outputs;
    for (auto& info : system.ListPorts()) {
        if (info.direction == PortDirection::Input) {
            inputInfos.push_back(std::move(info));
            continue;
        }
        try {
            auto port = system.OpenActive(info.guid, PortDirection::Output);
            outputs.push_back({std::move(info), std::move(port)});
        } catch (const PyxMidiPortException&) {
        }
    }
    Answers answers(inputInfos.size());
    std::vector<Input> inputs;
    for (std::size_t i = 0; i < inputInfos.size(); ++i) {
        Input input{std::move(inputInfos[i]), std::make_unique<Listener>(answers, i), nullptr};
        try {
            auto driverPort = system.OpenActive(input.info.guid, PortDirection::Input);
            const auto maxBytes = static_cast<std::uint32_t>(driverPort->MaxMessageBytes());
            input.port = std::make_unique<MidiInputPort>(input.info.guid, std::move(driverPort), maxBytes);
            input.port->StartReceiving(input.listener.get());
        } catch (const PyxMidiPortException&) {
            input.port.reset(); // a port that cannot listen cannot answer
        } catch (const std::exception&) {
            input.port.reset();
        }
        inputs.push_back(std::move(input));
    }
    if (inputs.empty() || outputs.empty())
        return {};

    // Everybody is asked at once. Should every input that listens answer,
    // there is no need to wait for more.
    std::vector<bool> listening;
    for (const Input& input : inputs)
        listening.push_back(input.port != nullptr);
    answers.Ask();
    for (Output& output : outputs)
        Send(output);
    const std::vector<bool> answered = answers.WaitFor(listening, Clock::now() + listen);

    // One output at a time, for as long as the slowest answer took with room
    // to spare, ended early once every input that answered has answered.
    const auto settle = std::min<Clock::duration>(listen, 2 * answers.Slowest() + std::chrono::milliseconds(50));
    std::vector<bool> unpaired = answered;
    std::vector<bool> tried(outputs.size(), false);
    std::vector<std::pair<std::size_t, InstrumentPorts>> found; // by input index
    for (;;) {
        const auto next = std::find(unpaired.begin(), unpaired.end(), true);
        if (next == unpaired.end())
            break;
        const auto input = static_cast<std::size_t>(next - unpaired.begin());
        const std::size_t best =
            MostAlike(outputs, inputs[input].info.description, [&](std::size_t o) { return !tried[o]; });
        if (best == outputs.size()) {
            unpaired[input] = false; // no single output reaches it
            continue;
        }
        tried[best] = true;
        answers.Ask();
        Send(outputs[best]);
        const std::vector<bool> reached = answers.WaitFor(answered, Clock::now() + settle);

        // The input this output leads to: the one sought, or else the one
        // most like the output among those it reached.
        const auto unpairedReached = [&](std::size_t i) { return reached[i] && unpaired[i]; };
        const std::size_t pick =
            reached[input] ? input : MostAlike(inputs, outputs[best].info.description, unpairedReached);
        if (pick == inputs.size())
            continue;
        found.push_back({pick, {inputs[pick].info.guid, outputs[best].info.guid}});
        for (std::size_t i = 0; i < inputs.size(); ++i)
            if (reached[i])
                unpaired[i] = false;
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<InstrumentPorts> result;
    for (const auto& entry : found)
        result.push_back(entry.second);
    return result;
}

} // namespace cs6
