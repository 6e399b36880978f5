#pragma once
// An auto-reset event that a driver signals when input arrives and the
// receive thread waits on. Signal() is safe in a real-time audio callback
// (it only posts a semaphore); several signals before a wait wake it once or
// more, never zero times.

#include <chrono>
#include <semaphore.h>

namespace cs6 {

class ReadEvent {
public:
    ReadEvent();
    ~ReadEvent();
    ReadEvent(const ReadEvent&) = delete;
    ReadEvent& operator=(const ReadEvent&) = delete;

    // Any thread, including real-time callbacks.
    void Signal();
    // Waits up to timeout; true when signalled, false when the time ran out.
    bool Wait(std::chrono::milliseconds timeout);
    // Waits until the steady-clock deadline.
    bool WaitUntil(std::chrono::steady_clock::time_point deadline);

private:
    sem_t semaphore_;
};

} // namespace cs6
