#include "midi/LockedInputQueue.h"

namespace cs6 {

void LockedInputQueue::Push(ReferenceTime time, std::span<const std::uint8_t> bytes)
{
    {
        std::lock_guard lock(mutex_);
        events_.push_back({time, {bytes.begin(), bytes.end()}});
    }
    notification_.Signal();
}

bool LockedInputQueue::Drain(std::vector<TimedEvent>& events)
{
    std::lock_guard lock(mutex_);
    if (events_.empty())
        return false;
    for (auto& event : events_)
        events.push_back(std::move(event));
    events_.clear();
    return true;
}

} // namespace cs6
