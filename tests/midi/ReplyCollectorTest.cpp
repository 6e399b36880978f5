#include "midi/ReplyCollector.h"

#include <gtest/gtest.h>

#include <mutex>
#include <vector>

namespace cs6 {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct RecordingTarget : NotificationTarget {
    void PostShortMessage(std::uint8_t status, std::uint8_t data) override { posted.push_back({status, data}); }
    std::vector<Bytes> posted;
};

void Feed(ReplyCollector& collector, const Bytes& message)
{
    if (message[0] == 0xF0)
        collector.OnSysEx(0, 0, message);
    else
        collector.OnShortMessage(0, 0, message);
}

const Bytes kReply = {0xF0, 0x43, 0x00, 0x64, 0x00, 0x00, 0x0E, 0x4F, 0x00, 0x23, 0xF7};

// These tests drive the handler directly, standing in for the receive thread.
TEST(ReplyCollector, ReleasedAtTheArmedCountAndHandsOverTheBatchInOrder)
{
    ReplyCollector collector;
    collector.OnReceivingStarted();
    collector.Arm(3);
    for (std::uint8_t i = 0; i < 3; ++i) {
        Bytes message = kReply;
        message[8] = i;
        Feed(collector, message);
    }
    ASSERT_EQ(collector.WaitForReplies(), 3u);
    const auto batch = collector.TakeCollected();
    ASSERT_EQ(batch.size(), 3u);
    for (std::uint8_t i = 0; i < 3; ++i)
        EXPECT_EQ(batch[i].data[8], i);
    EXPECT_TRUE(collector.TakeCollected().empty());
}

TEST(ReplyCollector, MessagesBeforeArmAreDiscarded)
{
    ReplyCollector collector;
    collector.OnReceivingStarted();
    Feed(collector, kReply);
    Feed(collector, kReply);
    collector.Arm(1);
    Feed(collector, kReply);
    EXPECT_EQ(collector.WaitForReplies(), 1u);
}

TEST(ReplyCollector, ExtraMessagesBeforeTheWaitJoinTheBatch)
{
    ReplyCollector collector;
    collector.OnReceivingStarted();
    collector.Arm(2);
    for (int i = 0; i < 4; ++i)
        Feed(collector, kReply);
    EXPECT_EQ(collector.WaitForReplies(), 4u);
}

TEST(ReplyCollector, IdleTimeoutReleasesAShortBatchButNotACompleteOne)
{
    ReplyCollector collector;
    collector.OnReceivingStarted();
    collector.Arm(34);
    for (int i = 0; i < 20; ++i)
        Feed(collector, kReply);
    collector.OnIdleTimeout();
    EXPECT_EQ(collector.WaitForReplies(), 20u);

    // Idle with nothing armed: no stale release is left for the next request.
    collector.OnIdleTimeout();
    collector.Arm(1);
    Feed(collector, kReply);
    EXPECT_EQ(collector.WaitForReplies(), 1u);
}

TEST(ReplyCollector, WaitReturnsZeroAtOnceWhenNothingReceives)
{
    ReplyCollector collector;
    collector.Arm(34);
    EXPECT_EQ(collector.WaitForReplies(), 0u);

    collector.OnReceivingStarted();
    collector.OnReceivingStopped();
    collector.Arm(1);
    EXPECT_EQ(collector.WaitForReplies(), 0u);
}

TEST(ReplyCollector, OnlyTwoByteChannelMessagesReachTheTarget)
{
    ReplyCollector collector;
    RecordingTarget target;
    Feed(collector, {0xC0, 0x05}); // before a target is set: dropped
    collector.SetNotifyTarget(&target);
    Feed(collector, {0xC0, 0x05});       // program change
    Feed(collector, {0xD3, 0x40});       // channel pressure, channel 4
    Feed(collector, {0x90, 0x3C, 0x64}); // note-on: three bytes
    Feed(collector, {0xFE});             // active sensing
    Feed(collector, {0x05, 0x06});       // stray data bytes
    collector.SetNotifyTarget(nullptr);
    Feed(collector, {0xC0, 0x07});
    EXPECT_EQ(target.posted, (std::vector<Bytes>{{0xC0, 0x05}, {0xD3, 0x40}}));
}

} // namespace
} // namespace cs6
