#pragma once
// What a receiving input port hands its events to.
//
// Thread: the On... operations are called by the receive thread only;
// OnReceivingStarted / OnReceivingStopped by the user-interface thread.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <span>

#include "midi/ReferenceTime.h"

namespace cs6 {

class MidiInputHandler {
public:
    virtual ~MidiInputHandler() = default;

    // An event whose first byte is F0. data is valid only during the call.
    virtual void OnSysEx(ReferenceTime time, std::uint32_t channelGroup, std::span<const std::uint8_t> data) = 0;
    // Any other event.
    virtual void OnShortMessage(ReferenceTime time, std::uint32_t channelGroup, std::span<const std::uint8_t> data) = 0;
    // No reply input arrived for idleTimeoutMs since idleSince. Returns the
    // time the idle clock counts from now: the present after a timeout, or a
    // later start (a request armed during the period gets a full timeout).
    virtual std::chrono::steady_clock::time_point OnIdleTimeout(std::chrono::steady_clock::time_point idleSince) = 0;

    // A port started or stopped receiving into this handler.
    virtual void OnReceivingStarted() {}
    virtual void OnReceivingStopped() {}

    // The receive thread's wait timeout, read afresh before every wait.
    std::atomic<int> idleTimeoutMs{2000};
};

} // namespace cs6
