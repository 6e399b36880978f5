#include "midi/ReadEvent.h"

#include <cerrno>
#include <ctime>

namespace cs6 {

ReadEvent::ReadEvent() { sem_init(&semaphore_, 0, 0); }

ReadEvent::~ReadEvent() { sem_destroy(&semaphore_); }

void ReadEvent::Signal()
{
    // Keep the count at most 1 so that a burst of input does not leave a pile
    // of stale wake-ups behind; an occasional extra wake is harmless.
    int value = 0;
    if (sem_getvalue(&semaphore_, &value) == 0 && value > 0)
        return;
    sem_post(&semaphore_);
}

bool ReadEvent::Wait(std::chrono::milliseconds timeout)
{
    return WaitUntil(std::chrono::steady_clock::now() + timeout);
}

bool ReadEvent::WaitUntil(std::chrono::steady_clock::time_point deadline)
{
    // steady_clock is CLOCK_MONOTONIC on Linux.
    const auto since = deadline.time_since_epoch();
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(since);
    timespec when{};
    when.tv_sec = static_cast<time_t>(seconds.count());
    when.tv_nsec = static_cast<long>(std::chrono::duration_cast<std::chrono::nanoseconds>(since - seconds).count());
    for (;;) {
        if (sem_clockwait(&semaphore_, CLOCK_MONOTONIC, &when) == 0)
            return true;
        if (errno == ETIMEDOUT)
            return false;
        // EINTR: a signal arrived; wait on.
    }
}

} // namespace cs6
