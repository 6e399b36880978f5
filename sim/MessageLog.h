#pragma once
// A time-stamped record of MIDI messages, one complete message per entry, that
// other threads can read and wait on. The emulated instrument keeps one for what
// it received and one for what it handed to its transmit sink. A log made not
// to keep its messages stays empty, so a long-running instrument does not grow.
//
// Thread: every function may be called from any thread.

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

namespace cs6::sim {

// The instrument's own clock: every time stamp and every wire time is on it.
using Clock = std::chrono::steady_clock;

struct LoggedMessage {
    Clock::time_point time;
    std::vector<std::uint8_t> bytes;
};

enum class WaitOutcome {
    Reached,  // the awaited state was there before the timeout
    TimedOut, // it was not
};

class MessageLog {
public:
    explicit MessageLog(bool keep) : keep_(keep) {}
    MessageLog(const MessageLog&) = delete;
    MessageLog& operator=(const MessageLog&) = delete;

    void Append(Clock::time_point time, std::span<const std::uint8_t> message);

    std::vector<LoggedMessage> Entries() const;
    void Clear();

    // Waits until the log holds at least count entries.
    [[nodiscard]] WaitOutcome WaitForSize(std::size_t count, Clock::duration timeout) const;

private:
    const bool keep_;
    mutable std::mutex mutex_;
    mutable std::condition_variable grown_;
    std::vector<LoggedMessage> entries_;
};

} // namespace cs6::sim
