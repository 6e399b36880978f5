#pragma once
// Finding the instrument: which input and output port lead to a CS6x.
//
// The universal identity request goes out on every output port at once while
// every input port listens for the listening time; the inputs that answered
// with a CS6x's identity are then paired with their output by asking once
// more on one output at a time, the outputs whose names are most like the
// input's first, until the input answers again. A pair is made only from an
// answer, never from names alone: the names merely make the first guess
// usually the right one, so pairing costs one answer's time per instrument.
// An instrument that answers on two inputs (the same device seen through two
// MIDI systems) is reached by one output and counts once.
//
// Thread: the user-interface thread, which DetectInstruments blocks for the
// listening time and the pairing. Each input port listens on its own receive
// thread, which only notes that its input answered.
//
// The program's connection must be closed while it runs (CloseMidiConnection):
// a port is not opened twice, and the replies reach only the detection.

#include <QUuid>

#include <array>
#include <chrono>
#include <cstdint>
#include <span>
#include <vector>

#include "midi/MidiSystem.h"

namespace cs6 {

// F0 7E 7F 06 01 F7: every device is asked who it is.
inline constexpr std::array<std::uint8_t, 6> kIdentityRequest{0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7};
inline constexpr std::chrono::milliseconds kIdentityListenTime{500};

// F0 7E <device> 06 02 43 00 41 5C 03 <four version bytes> F7: a CS6x, of
// any device number and version.
[[nodiscard]] bool IsCs6xIdentity(std::span<const std::uint8_t> message);

struct InstrumentPorts {
    QUuid input;  // where its answers arrive
    QUuid output; // where it is reached
    bool operator==(const InstrumentPorts&) const = default;
};

// Every CS6x found, in the order of its input in the system's port listing.
[[nodiscard]] std::vector<InstrumentPorts> DetectInstruments(MidiSystem& system,
                                                             std::chrono::milliseconds listen = kIdentityListenTime);

} // namespace cs6
