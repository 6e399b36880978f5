#pragma once
// The instrument's MIDI output: a queue of complete messages and one delivery
// thread that hands them to the transmit sink in order, one message per call,
// each at the time its last byte would have left the cable when pacing is on.
//
// Wire times are computed from the nominal schedule, not from when the sink
// returned, so a slow sink delays delivery but never makes the wire faster
// than 320 µs a byte.
//
// Thread: every public function may be called from any thread, except where
// said. The sink runs on the delivery thread only.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <span>
#include <stop_token>
#include <thread>
#include <vector>

#include "sim/InstrumentOptions.h"
#include "sim/MessageLog.h"

namespace cs6::sim {

class WireTransmitter {
public:
    using Sink = std::function<void(std::span<const std::uint8_t>)>;

    // keepLog: whether Delivered() records the messages (see MessageLog).
    WireTransmitter(WirePacing pacing, bool keepLog);
    // Stops the delivery thread; messages not yet delivered are dropped.
    ~WireTransmitter();

    WireTransmitter(const WireTransmitter&) = delete;
    WireTransmitter& operator=(const WireTransmitter&) = delete;

    // Once this returns the previous sink is not called again. An empty sink
    // drops the messages (a log that keeps them still does). Not from inside
    // the sink.
    void SetSink(Sink sink);

    // Queues messages behind everything queued before; the first may not start
    // before notBefore.
    void Send(std::vector<std::vector<std::uint8_t>> messages, Clock::time_point notBefore);

    // Until nothing is queued and no message is being handed to the sink. Not
    // from inside the sink (it would wait for itself and time out).
    [[nodiscard]] WaitOutcome WaitUntilIdle(Clock::duration timeout) const;

    // Every delivered message, stamped when it was handed to the sink.
    const MessageLog& Delivered() const { return delivered_; }
    void ClearDelivered() { delivered_.Clear(); }

private:
    struct Pending {
        std::vector<std::uint8_t> bytes;
        Clock::time_point notBefore;
    };

    void Run(std::stop_token stop);

    const WirePacing pacing_;
    mutable std::mutex mutex_; // guards the fields below down to sinkMutex_
    mutable std::condition_variable_any changed_;
    std::deque<Pending> queue_;
    bool handing_ = false;
    Clock::time_point wireFreeAt_{};

    std::mutex sinkMutex_; // held while the sink runs, so SetSink can wait it out
    Sink sink_;

    MessageLog delivered_;
    std::jthread thread_; // last: starts after, and stops before, everything above
};

} // namespace cs6::sim
