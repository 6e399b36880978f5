// The reply collector, the receive thread and the connection, over the
// in-process driver with a peer standing in for the instrument.
#include <dlfcn.h>
#include <pthread.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <future>
#include <thread>

#include "midi/MidiConnection.h"
#include "midi/MidiSettings.h"
#include "midi/MidiSystem.h"
#include "midi/PortGuid.h"
#include "midi/ReplyCollector.h"
#include "tests/support/MidiTestSupport.h"

namespace {
std::atomic<bool> failThreadStart{false}; // while set, no thread starts
} // namespace

// Every thread of this program starts here: a test can make a start fail, as
// it does when the system is out of threads or memory.
extern "C" int pthread_create(pthread_t* thread, const pthread_attr_t* attributes, void* (*start)(void*),
                              void* argument) noexcept
{
    using Create = int (*)(pthread_t*, const pthread_attr_t*, void* (*)(void*), void*);
    static const auto real = reinterpret_cast<Create>(dlsym(RTLD_NEXT, "pthread_create"));
    return failThreadStart.load() ? EAGAIN : real(thread, attributes, start, argument);
}

namespace cs6 {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

Bytes Reply(int index) { return {0xF0, 0x43, 0x00, 0x64, 0x00, 0x01, 0x30, 0x00, std::uint8_t(index), 0x00, 0xF7}; }
const Bytes kRequest = {0xF0, 0x43, 0x20, 0x64, 0x0E, 0x4F, 0x00, 0xF7};

// Handler events as a receive thread delivers them, one letter each:
// S receiving started, X stopped, R a reply, I an idle timeout, A Arm(armed).
struct Script {
    const char* events;
    int armed;
    std::uint32_t released; // what WaitForReplies returns
};

TEST(ReplyCollector, ReleasesTheRepliesOfTheArmedRequest)
{
    const Script scripts[] = {
        {"SRRAR", 1, 1},  // replies before Arm are dropped
        {"SARRRR", 2, 4}, // extras before the wait join the batch
        {"SARRI", 34, 2}, // idle releases a short batch
        {"SIAR", 1, 1},   // idle with nothing armed leaves no stale release
        {"A", 34, 0},     // nothing receives: no wait at all
        {"SXA", 1, 0},
    };
    for (const auto& script : scripts) {
        SCOPED_TRACE(script.events);
        ReplyCollector collector;
        for (const char* event = script.events; *event; ++event) {
            switch (*event) {
            case 'S': collector.OnReceivingStarted(); break;
            case 'X': collector.OnReceivingStopped(); break;
            case 'R': collector.OnSysEx(0, 0, Reply(0)); break;
            case 'I': (void)collector.OnIdleTimeout(Clock::now()); break;
            case 'A': collector.Arm(script.armed); break;
            }
        }
        EXPECT_EQ(collector.WaitForReplies(), script.released);
    }
}

TEST(ReplyCollector, OnlyTwoByteChannelMessagesReachTheTarget)
{
    struct : NotificationTarget {
        void PostShortMessage(std::uint8_t status, std::uint8_t data) override { posted.push_back({status, data}); }
        std::vector<Bytes> posted;
    } target;
    ReplyCollector collector;
    const auto feed = [&](const Bytes& message) { collector.OnShortMessage(0, 0, message); };
    feed({0xC0, 0x05}); // before a target is set: dropped
    collector.SetNotifyTarget(&target);
    feed({0xC0, 0x05});       // program change
    feed({0xD3, 0x40});       // channel pressure, channel 4
    feed({0x90, 0x3C, 0x64}); // note-on: three bytes
    feed({0xFE});             // active sensing
    feed({0x05, 0x06});       // stray data bytes
    collector.SetNotifyTarget(nullptr);
    feed({0xC0, 0x07});
    EXPECT_EQ(target.posted, (std::vector<Bytes>{{0xC0, 0x05}, {0xD3, 0x40}}));
}

// Answers the next message it gets with the replies it holds, and keeps what
// reached it. FromProgram runs on the sending (test) thread; Send on any.
struct Peer : InProcessPeer {
    void FromProgram(std::span<const std::uint8_t> message) override
    {
        received.emplace_back(message.begin(), message.end());
        for (const auto& reply : std::exchange(answer, {}))
            Send(reply);
    }
    void SetTransmit(Transmit to) override { transmit = std::move(to); }
    void Send(const Bytes& message) const { transmit(message); }

    std::vector<Bytes> answer;
    std::vector<Bytes> received;
    Transmit transmit;
};

class ReceiveThreadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        midiSystem = std::make_unique<MidiSystem>(MidiSystemConfig{.drivers = {InProcessPorts({{"Emulated CS6x", peer}})}});
        const QUuid port = PortGuid(kEmulatedKind, "Emulated CS6x");
        midiSettings = {1, 0, 1, port, QUuid(), port};
        OpenMidiConnection();
        ASSERT_TRUE(inputOpen && outputOpen);
    }

    void TearDown() override
    {
        replyCollector.idleTimeoutMs = 2000;
        CloseMidiConnection();
        midiSystem.reset();
    }

    std::shared_ptr<Peer> peer = std::make_shared<Peer>();
};

TEST_F(ReceiveThreadTest, AFullAnswerReleasesTheWaiterAtOnceInOrderAndClosingReleasesThePorts)
{
    OpenMidiConnection(); // closes, joining the receive thread, and opens anew
    ASSERT_TRUE(inputOpen && inputPort->Receiving());
    for (int i = 0; i < 34; ++i)
        peer->answer.push_back(Reply(i));
    replyCollector.Arm(34);
    const auto start = Clock::now();
    ConnectionOutput().SendMessage(kRequest);
    EXPECT_EQ(replyCollector.WaitForReplies(), 34u);
    EXPECT_LT(Clock::now() - start, 1500ms); // well before the idle timeout
    const auto batch = replyCollector.TakeCollected();
    for (std::size_t i = 0; i < batch.size(); ++i)
        EXPECT_EQ(batch[i].data, Reply(int(i)));

    CloseMidiConnection();
    EXPECT_TRUE(!inputOpen && !outputOpen && !inputPort);
    ConnectionOutput().SendMessage(kRequest); // nothing open: dropped
    EXPECT_EQ(peer->received.size(), 1u);
}

// A request short of its 34 replies is released one idle timeout after the
// later of its Arm and its last reply, wherever the receive thread's idle
// period stood when it was armed, and other input does not put that off.
struct Timing {
    const char* what;
    int idleMs;
    int armAfterMs;    // into the receive thread's idle period
    int answerAfterMs; // after Arm
    int replies;
    bool sensing; // active sensing every 100 ms meanwhile
};

TEST_F(ReceiveThreadTest, AShortAnswerIsReleasedOneIdleTimeoutAfterArmOrItsLastReply)
{
    const Timing timings[] = {
        {"20 of 34, the program's timeout", 2000, 0, 0, 20, false},
        {"armed late in the idle period, answered after the thread's next wake", 1000, 700, 500, 1, false},
        {"armed late in the idle period and never answered", 1000, 700, 0, 0, false},
        {"active sensing goes on", 500, 0, 0, 3, true},
    };
    for (const auto& timing : timings) {
        SCOPED_TRACE(timing.what);
        inputPort->StopReceiving();
        replyCollector.idleTimeoutMs = timing.idleMs;
        inputPort->StartReceiving(&replyCollector);
        std::this_thread::sleep_for(std::chrono::milliseconds(timing.armAfterMs));
        replyCollector.Arm(34);
        const auto armed = Clock::now();
        std::jthread instrument([&](std::stop_token stop) {
            std::this_thread::sleep_for(std::chrono::milliseconds(timing.answerAfterMs));
            for (int i = 0; i < timing.replies; ++i)
                peer->Send(Reply(i));
            while (timing.sensing && !stop.stop_requested()) {
                peer->Send({0xFE});
                std::this_thread::sleep_for(100ms);
            }
        });
        EXPECT_EQ(replyCollector.WaitForReplies(), std::uint32_t(timing.replies));
        const auto expected = std::chrono::milliseconds(timing.answerAfterMs + timing.idleMs);
        EXPECT_GT(Clock::now() - armed, expected - 50ms);
        EXPECT_LT(Clock::now() - armed, expected + 600ms);
    }
}

TEST_F(ReceiveThreadTest, AnInputThatCannotOpenOrStartReceivingStaysClosedQuietlyAndNobodyWaitsOnIt)
{
    test::Boxes boxes;
    for (const bool noThread : {false, true}) {
        SCOPED_TRACE(noThread ? "no thread for receiving" : "no such port");
        if (!noThread)
            midiSettings.inputPortGuid = PortGuid(kEmulatedKind, "unplugged");
        failThreadStart = noThread;
        OpenMidiConnection();
        failThreadStart = false;
        EXPECT_TRUE(!inputOpen && outputOpen); // the output opens on its own
        midiSettings.inputPortGuid = PortGuid(kEmulatedKind, "Emulated CS6x");

        replyCollector.Arm(1);
        auto waiting = std::async(std::launch::async, [] { return replyCollector.WaitForReplies(); });
        if (waiting.wait_for(1s) != std::future_status::ready) {
            ADD_FAILURE() << "a request waits for a receive thread that never started";
            (void)replyCollector.OnIdleTimeout(Clock::now());
        }
        EXPECT_EQ(waiting.get(), 0u);
    }
    EXPECT_TRUE(boxes.empty());
}

} // namespace
} // namespace cs6
