#include "sim/MessageLog.h"

namespace cs6::sim {

void MessageLog::Append(Clock::time_point time, std::span<const std::uint8_t> message)
{
    if (!keep_)
        return;
    {
        const std::lock_guard lock(mutex_);
        entries_.push_back({time, {message.begin(), message.end()}});
    }
    grown_.notify_all();
}

std::vector<LoggedMessage> MessageLog::Entries() const
{
    const std::lock_guard lock(mutex_);
    return entries_;
}

void MessageLog::Clear()
{
    const std::lock_guard lock(mutex_);
    entries_.clear();
}

WaitOutcome MessageLog::WaitForSize(std::size_t count, Clock::duration timeout) const
{
    std::unique_lock lock(mutex_);
    const bool reached = grown_.wait_for(lock, timeout, [&] { return entries_.size() >= count; });
    return reached ? WaitOutcome::Reached : WaitOutcome::TimedOut;
}

} // namespace cs6::sim
