#pragma once
// An input queue for drivers whose input arrives on a callback thread that
// may take a lock (RtMidi, the in-process driver).
//
// Thread: Push on the driver's callback thread, Drain on the receive thread.

#include <mutex>
#include <span>
#include <vector>

#include "midi/MidiDriver.h"

namespace cs6 {

class LockedInputQueue {
public:
    // Queues the event and signals the notification.
    void Push(ReferenceTime time, std::span<const std::uint8_t> bytes);
    // Appends what was queued, in arrival order; false when nothing was.
    bool Drain(std::vector<TimedEvent>& events);
    ReadEvent* Notification() { return &notification_; }

private:
    std::mutex mutex_;
    std::vector<TimedEvent> events_;
    ReadEvent notification_;
};

} // namespace cs6
