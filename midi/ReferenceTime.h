#pragma once
// Time stamps of MIDI events and the ports' latency clock: 100-nanosecond
// units of the steady clock.

#include <chrono>
#include <cstdint>

namespace cs6 {

using ReferenceTime = std::int64_t;

inline ReferenceTime ReferenceNow()
{
    using Units = std::chrono::duration<std::int64_t, std::ratio<1, 10'000'000>>;
    return std::chrono::duration_cast<Units>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

} // namespace cs6
