// The receive thread and the reply collector over the in-process driver, with
// a scripted peer standing in for the instrument.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "framework/UserMessage.h"
#include "midi/MidiConnection.h"
#include "midi/MidiSettings.h"
#include "midi/MidiSystem.h"
#include "midi/PortGuid.h"
#include "midi/ReplyCollector.h"
#include "tests/midi/ScriptedPeer.h"

namespace cs6 {
namespace {

using namespace std::chrono_literals;
using test::Bytes;
using Clock = std::chrono::steady_clock;

Bytes Reply(std::uint8_t index) { return {0xF0, 0x43, 0x00, 0x64, 0x00, 0x01, 0x30, 0x00, index, 0x00, 0xF7}; }
const Bytes kRequest = {0xF0, 0x43, 0x20, 0x64, 0x0E, 0x4F, 0x00, 0xF7};

std::vector<Bytes> Replies(int count)
{
    std::vector<Bytes> replies;
    for (int i = 0; i < count; ++i)
        replies.push_back(Reply(static_cast<std::uint8_t>(i)));
    return replies;
}

// Collects posted two-byte messages; waits for them without sleeping blindly.
class WaitingTarget : public NotificationTarget {
public:
    void PostShortMessage(std::uint8_t status, std::uint8_t data) override
    {
        std::lock_guard lock(mutex_);
        posted.push_back({status, data});
        changed_.notify_all();
    }
    bool WaitFor(std::size_t count, std::chrono::milliseconds timeout)
    {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, timeout, [&] { return posted.size() >= count; });
    }
    std::vector<Bytes> Posted()
    {
        std::lock_guard lock(mutex_);
        return posted;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Bytes> posted;
};

class ReceiveThreadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        peer = std::make_shared<test::ScriptedPeer>();
        MidiSystemConfig config;
        config.useAlsa = false;
        config.useJack = false;
        config.inProcessPeers.emplace_back("Emulated CS6x", peer);
        midiSystem = std::make_unique<MidiSystem>(std::move(config));
        EnumerateMidiPorts();
        midiSettings = {};
        midiSettings.inputEnabled = 1;
        midiSettings.outputEnabled = 1;
        midiSettings.inputPortGuid = PortGuid(kEmulatedKind, "Emulated CS6x");
        midiSettings.outputPortGuid = midiSettings.inputPortGuid;
        OpenMidiConnection();
        ASSERT_TRUE(inputOpen);
        ASSERT_TRUE(outputOpen);
    }

    void TearDown() override
    {
        replyCollector.SetNotifyTarget(nullptr);
        CloseMidiConnection();
        midiSystem.reset();
        inputPorts.clear();
        outputPorts.clear();
        EXPECT_TRUE(peer->unexpected.empty()) << peer->unexpected.size() << " unexpected messages";
    }

    void Request() { ASSERT_EQ(outputPort->SendMidiMessage(kRequest, 0), SendOutcome::Sent); }

    std::shared_ptr<test::ScriptedPeer> peer;
    ConnectionOutput output;
};

TEST_F(ReceiveThreadTest, TheEmulatedPortsAreListedFirstInBothDirections)
{
    ASSERT_FALSE(inputPorts.empty());
    ASSERT_FALSE(outputPorts.empty());
    EXPECT_EQ(inputPorts[0].name, "Emulated CS6x");
    EXPECT_EQ(outputPorts[0].name, "Emulated CS6x");
    EXPECT_EQ(inputPorts[0].portGuid, PortGuid(kEmulatedKind, "Emulated CS6x"));
}

TEST_F(ReceiveThreadTest, AFullAnswerReleasesTheWaiterAtOnce)
{
    peer->Expect(kRequest, Replies(34));
    replyCollector.Arm(34);
    const auto start = Clock::now();
    Request();
    EXPECT_EQ(replyCollector.WaitForReplies(), 34u);
    EXPECT_LT(Clock::now() - start, 1500ms); // well before the idle timeout
    const auto batch = replyCollector.TakeCollected();
    ASSERT_EQ(batch.size(), 34u);
    for (std::size_t i = 0; i < batch.size(); ++i)
        EXPECT_EQ(batch[i].data, Reply(static_cast<std::uint8_t>(i)));
}

TEST_F(ReceiveThreadTest, AShortAnswerIsReleasedTwoSecondsAfterTheLastInput)
{
    peer->Expect(kRequest, Replies(20));
    replyCollector.Arm(34);
    Request();
    const auto sent = Clock::now();
    EXPECT_EQ(replyCollector.WaitForReplies(), 20u);
    const auto waited = Clock::now() - sent;
    EXPECT_GE(waited, 1900ms);
    EXPECT_LT(waited, 3000ms);
}

TEST_F(ReceiveThreadTest, ARequestArmedLateInAnIdlePeriodIsReleasedAtTheNextTimeout)
{
    inputPort->StopReceiving();
    replyCollector.idleTimeoutMs = 1000;
    inputPort->StartReceiving(&replyCollector);
    const auto started = Clock::now();
    std::this_thread::sleep_for(800ms); // deliberately late in the thread's idle period
    peer->Expect(kRequest);             // no answer
    replyCollector.Arm(1);
    Request();
    EXPECT_EQ(replyCollector.WaitForReplies(), 0u);
    const auto released = Clock::now() - started;
    EXPECT_GE(released, 950ms);
    EXPECT_LT(released, 1600ms); // not a full timeout after the request
}

TEST_F(ReceiveThreadTest, OtherInputDoesNotKeepAShortRequestWaiting)
{
    replyCollector.idleTimeoutMs = 500;
    inputPort->StopReceiving();
    inputPort->StartReceiving(&replyCollector);
    peer->Expect(kRequest, Replies(3));
    replyCollector.Arm(34);
    Request();
    // Active sensing every 100 ms, as some instruments send it.
    std::atomic<bool> done{false};
    std::thread sensing([&] {
        while (!done) {
            peer->SendToProgram({0xFE});
            std::this_thread::sleep_for(100ms);
        }
    });
    const auto start = Clock::now();
    EXPECT_EQ(replyCollector.WaitForReplies(), 3u);
    done = true;
    sensing.join();
    EXPECT_LT(Clock::now() - start, 1500ms);
}

TEST_F(ReceiveThreadTest, TwoByteMessagesReachTheTargetAndOthersDoNot)
{
    WaitingTarget target;
    // No target yet: dropped. A reply behind it shows when it was handled.
    replyCollector.Arm(1);
    peer->SendToProgram({0xC0, 0x04});
    peer->SendToProgram(Reply(0));
    ASSERT_EQ(replyCollector.WaitForReplies(), 1u);
    replyCollector.SetNotifyTarget(&target);
    peer->SendToProgram({0x90, 0x3C, 0x40});
    peer->SendToProgram({0xFE});
    peer->SendToProgram({0xC0, 0x05});
    ASSERT_TRUE(target.WaitFor(1, 2s));
    // A later marker proves the earlier ones were handled, then check all.
    peer->SendToProgram({0xC0, 0x06});
    ASSERT_TRUE(target.WaitFor(2, 2s));
    EXPECT_EQ(target.Posted(), (std::vector<Bytes>{{0xC0, 0x05}, {0xC0, 0x06}}));
}

TEST_F(ReceiveThreadTest, StopReceivingEndsTheThreadAndANewPortStartsAFreshOne)
{
    EXPECT_TRUE(inputPort->Receiving());
    OpenMidiConnection(); // closes (joining the thread) and opens new ports
    ASSERT_TRUE(inputOpen);
    EXPECT_TRUE(inputPort->Receiving());
    peer->Expect(kRequest, Replies(2));
    replyCollector.Arm(2);
    Request();
    EXPECT_EQ(replyCollector.WaitForReplies(), 2u);

    CloseMidiConnection();
    EXPECT_FALSE(inputOpen);
    EXPECT_FALSE(outputOpen);
    EXPECT_EQ(inputPort, nullptr); // closed ports are released
    replyCollector.Arm(1);
    EXPECT_EQ(replyCollector.WaitForReplies(), 0u); // nothing receives: no wait
}

TEST_F(ReceiveThreadTest, ConnectionOutputSendsOnlyWhileTheOutputIsOpen)
{
    peer->Expect(Bytes{0xB0, 0x07, 0x7F});
    output.SendMessage(Bytes{0xB0, 0x07, 0x7F});
    CloseMidiConnection();
    output.SendMessage(Bytes{0xB0, 0x07, 0x00}); // dropped: nothing open
    EXPECT_TRUE(peer->ScriptDone());
    EXPECT_EQ(peer->received.size(), 1u);
}

TEST_F(ReceiveThreadTest, APortThatCannotBeOpenedStaysClosedWithoutAMessage)
{
    std::vector<std::string> boxes;
    auto previous = SetMessageBoxHandler([&](std::string_view text) { boxes.emplace_back(text); });
    midiSettings.inputPortGuid = PortGuid(kEmulatedKind, "unplugged");
    OpenMidiConnection();
    EXPECT_FALSE(inputOpen);
    EXPECT_TRUE(outputOpen); // the output opens on its own
    EXPECT_TRUE(boxes.empty());
    SetMessageBoxHandler(std::move(previous));
}

} // namespace
} // namespace cs6
