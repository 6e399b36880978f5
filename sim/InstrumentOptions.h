#pragma once
// How the emulated instrument talks on the wire, and the faults a test can
// make it commit when it answers a dump request.

#include <chrono>
#include <cstddef>
#include <optional>

namespace cs6::sim {

enum class WirePacing {
    Off,      // each message is handed on as soon as it is due
    MidiBaud, // every byte takes 320 µs, as at MIDI's 31250 baud (10 bits a byte)
};

inline constexpr std::chrono::microseconds kMidiByteTime{320};

struct InstrumentOptions {
    // On by default: whoever runs the instrument for a person (the in-process
    // driver, cs6sim) gets the timing of the real cable without asking.
    WirePacing pacing = WirePacing::MidiBaud;

    // Time between a request arriving and the first byte of its answer going
    // out. Applies to answers (dump requests, identity), not to front-panel
    // messages.
    std::chrono::microseconds replyLatency{0};

    // Whether the instrument records what it receives, what it sends and its
    // switch events. Off by default: the programs that run it for a person
    // would otherwise hold every message of a session. Tests turn it on to
    // read the logs.
    bool keepLogs = false;

    // No pacing, no latency, logs kept.
    static InstrumentOptions ForUnitTests() { return {WirePacing::Off, std::chrono::microseconds{0}, true}; }
};

// Faults applied to the answer of a dump request. Message indexes count from 0
// (0 is the bulk header). The wrong checksum is applied before the cut to the
// first N.
struct AnswerFaults {
    // The request is handled but nothing is sent back.
    bool noAnswer = false;
    // Only the first N messages of the answer are sent.
    std::optional<std::size_t> onlyFirst{};
    // Message k goes out with its checksum off by one (still 7-bit).
    std::optional<std::size_t> wrongChecksumAt{};

    bool operator==(const AnswerFaults&) const = default;
};

enum class FaultScope {
    NextAnswer,   // the faults apply to the next answered dump request, then clear
    UntilCleared, // they apply to every answer until ClearFaults()
};

} // namespace cs6::sim
