#pragma once
// Where the instrument model hands its outgoing messages: the open MIDI output
// port in the program, a capturing sink in tests. One call sends one complete
// message at once; nothing is queued or retried.

#include <cstdint>
#include <span>

namespace cs6 {

class MessageOutput {
public:
    virtual ~MessageOutput() = default;

    // Sends one complete MIDI message (status byte first; a SysEx message from
    // F0 to F7). Failures are the output's to report; the caller goes on.
    virtual void SendMessage(std::span<const std::uint8_t> message) = 0;
};

} // namespace cs6
