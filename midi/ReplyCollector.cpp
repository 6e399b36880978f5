#include "midi/ReplyCollector.h"

#include <utility>

namespace cs6 {

ReplyCollector replyCollector;

void ReplyCollector::Arm(int expectedCount)
{
    std::lock_guard lock(lock_);
    incoming_.clear();
    expectedCount_ = expectedCount;
    receivedCount_ = 0;
    repliesReady_ = false;
    armedAt_ = std::chrono::steady_clock::now();
}

std::uint32_t ReplyCollector::WaitForReplies()
{
    std::unique_lock lock(lock_);
    if (receivers_ > 0)
        repliesReadyChanged_.wait(lock, [this] { return repliesReady_ || receivers_ == 0; });
    repliesReady_ = false;
    expectedCount_ = 0;
    receivedCount_ = 0;
    collected_ = std::move(incoming_);
    incoming_.clear();
    return static_cast<std::uint32_t>(collected_.size());
}

std::deque<ReceivedMessage> ReplyCollector::TakeCollected()
{
    std::lock_guard lock(lock_);
    return std::exchange(collected_, {});
}

void ReplyCollector::SetNotifyTarget(NotificationTarget* target)
{
    std::lock_guard lock(lock_);
    notifyTarget_ = target;
}

void ReplyCollector::OnSysEx(ReferenceTime time, std::uint32_t, std::span<const std::uint8_t> data)
{
    ReceivedMessage message{time, {data.begin(), data.end()}};
    std::lock_guard lock(lock_);
    incoming_.push_back(std::move(message));
    ++receivedCount_;
    if (receivedCount_ == expectedCount_) {
        repliesReady_ = true;
        repliesReadyChanged_.notify_all();
    }
}

void ReplyCollector::OnShortMessage(ReferenceTime, std::uint32_t, std::span<const std::uint8_t> data)
{
    // Only two-byte channel messages: program change, channel pressure. Notes,
    // controllers and single real-time bytes reach nobody.
    if (data.size() != 2 || (data[0] & 0xC0) == 0)
        return;
    std::lock_guard lock(lock_);
    if (notifyTarget_)
        notifyTarget_->PostShortMessage(data[0], data[1]);
}

std::chrono::steady_clock::time_point ReplyCollector::OnIdleTimeout(std::chrono::steady_clock::time_point idleSince)
{
    std::lock_guard lock(lock_);
    // Armed while this period ran: its first reply may still be on the way.
    if (armedAt_ > idleSince)
        return armedAt_;
    if (receivedCount_ < expectedCount_) {
        expectedCount_ = 0;
        receivedCount_ = 0;
        repliesReady_ = true;
        repliesReadyChanged_.notify_all();
    }
    return std::chrono::steady_clock::now();
}

void ReplyCollector::OnReceivingStarted()
{
    std::lock_guard lock(lock_);
    ++receivers_;
}

void ReplyCollector::OnReceivingStopped()
{
    std::lock_guard lock(lock_);
    if (receivers_ > 0)
        --receivers_;
    repliesReadyChanged_.notify_all();
}

} // namespace cs6
