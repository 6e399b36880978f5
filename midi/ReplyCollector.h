#pragma once
// Hands bulk replies to a waiting requester. The receive thread queues every
// incoming SysEx message and counts it against the number a requester armed;
// the waiter is released when that number is reached or when reply input has
// been idle for idleTimeoutMs, counted from Arm at the earliest, so every
// request waits a full timeout for its first reply. Two-byte channel messages
// (a program change chosen on the instrument) go to the notification target.
//
// Thread: Arm, WaitForReplies, TakeCollected and SetNotifyTarget on the
// user-interface thread; the handler operations on the receive thread. One
// lock guards the counts, the queues and the target.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

#include "midi/MidiInputHandler.h"

namespace cs6 {

struct ReceivedMessage {
    ReferenceTime time = 0;
    std::vector<std::uint8_t> data; // the whole message, F0 through F7
};

// Where two-byte channel messages are posted. The GUI's implementation posts
// a Qt event to the main dialog.
class NotificationTarget {
public:
    virtual ~NotificationTarget() = default;
    // Called on the receive thread with the collector's lock held: must only
    // post, never block or call back into the collector.
    virtual void PostShortMessage(std::uint8_t status, std::uint8_t data) = 0;
};

class ReplyCollector : public MidiInputHandler {
public:
    // Drops whatever is queued, starts counting towards expectedCount and
    // restarts the idle clock.
    void Arm(int expectedCount);

    // Blocks until the armed count has arrived or the idle timeout ended the
    // wait, then moves the batch to the collected queue and returns its size.
    // Returns 0 at once when no input port is receiving: nothing could ever
    // release the wait.
    std::uint32_t WaitForReplies();

    // The batch of the last WaitForReplies, handed over to the requester.
    std::deque<ReceivedMessage> TakeCollected();

    // The window that receives two-byte messages (null: nobody). Clearing it
    // waits for a post in progress, so a window that clears it in its
    // destructor is never posted to afterwards.
    void SetNotifyTarget(NotificationTarget* target);

    void OnSysEx(ReferenceTime time, std::uint32_t channelGroup, std::span<const std::uint8_t> data) override;
    void OnShortMessage(ReferenceTime time, std::uint32_t channelGroup, std::span<const std::uint8_t> data) override;
    std::chrono::steady_clock::time_point OnIdleTimeout(std::chrono::steady_clock::time_point idleSince) override;
    void OnReceivingStarted() override;
    void OnReceivingStopped() override;

private:
    std::mutex lock_;
    std::condition_variable repliesReadyChanged_;
    bool repliesReady_ = false; // auto-reset: a wait consumes it
    int expectedCount_ = 0;
    int receivedCount_ = 0;
    int receivers_ = 0;
    std::chrono::steady_clock::time_point armedAt_;
    std::deque<ReceivedMessage> incoming_;
    std::deque<ReceivedMessage> collected_;
    NotificationTarget* notifyTarget_ = nullptr;
};

// The one collector of the program.
extern ReplyCollector replyCollector;

} // namespace cs6
