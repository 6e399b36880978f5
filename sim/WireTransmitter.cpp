#include "sim/WireTransmitter.h"

#include <algorithm>

namespace cs6::sim {

WireTransmitter::WireTransmitter(WirePacing pacing, bool keepLog)
    : pacing_(pacing), delivered_(keepLog), thread_([this](std::stop_token stop) { Run(stop); })
{
}

WireTransmitter::~WireTransmitter()
{
    thread_.request_stop();
    changed_.notify_all();
    thread_.join();
}

void WireTransmitter::SetSink(Sink sink)
{
    const std::lock_guard lock(sinkMutex_);
    sink_ = std::move(sink);
}

void WireTransmitter::Send(std::vector<std::vector<std::uint8_t>> messages, Clock::time_point notBefore)
{
    if (messages.empty())
        return;
    {
        const std::lock_guard lock(mutex_);
        for (auto& message : messages)
            queue_.push_back({std::move(message), notBefore});
    }
    changed_.notify_all();
}

WaitOutcome WireTransmitter::WaitUntilIdle(Clock::duration timeout) const
{
    std::unique_lock lock(mutex_);
    const bool idle = changed_.wait_for(lock, timeout, [&] { return queue_.empty() && !handing_; });
    return idle ? WaitOutcome::Reached : WaitOutcome::TimedOut;
}

void WireTransmitter::Run(std::stop_token stop)
{
    std::unique_lock lock(mutex_);
    while (!stop.stop_requested()) {
        if (!changed_.wait(lock, stop, [&] { return !queue_.empty(); }))
            break;

        Pending next = std::move(queue_.front());
        queue_.pop_front();
        handing_ = true;

        // The message occupies the wire from when both it is due and the wire
        // is free; it is delivered when its last byte has arrived.
        const Clock::time_point start = std::max(next.notBefore, wireFreeAt_);
        Clock::time_point due = start;
        if (pacing_ == WirePacing::MidiBaud)
            due += kMidiByteTime * static_cast<long>(next.bytes.size());
        wireFreeAt_ = due;

        // Without pacing most messages are due already: no wait, no wake-up.
        if (due > Clock::now())
            changed_.wait_until(lock, stop, due, [] { return false; });
        if (stop.stop_requested())
            break;

        lock.unlock();
        {
            const std::lock_guard sinkLock(sinkMutex_);
            delivered_.Append(Clock::now(), next.bytes);
            if (sink_)
                sink_(next.bytes);
        }
        lock.lock();
        handing_ = false;
        // Only WaitUntilIdle waits for this, and only an empty queue ends it:
        // waking it after every message of a long answer costs more than the
        // hand-over itself.
        if (queue_.empty())
            changed_.notify_all();
    }
    handing_ = false;
}

} // namespace cs6::sim
