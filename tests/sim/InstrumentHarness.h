#pragma once
// Test side of the emulated instrument: a sink that keeps what the instrument
// sends, and helpers that send a request and take the answer once the
// instrument is idle.

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <span>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "sim/EmulatedInstrument.h"
#include "synth/ParameterMemory.h"
#include "synth/SysExMessages.h"

namespace cs6::sim::test {

using Bytes = std::vector<std::uint8_t>;

inline constexpr auto kWait = std::chrono::seconds(10);

class Capture {
public:
    void Take(std::span<const std::uint8_t> message)
    {
        const std::lock_guard lock(mutex_);
        messages_.emplace_back(message.begin(), message.end());
    }

    // Everything captured so far, and forget it.
    std::vector<Bytes> Drain()
    {
        const std::lock_guard lock(mutex_);
        return std::exchange(messages_, {});
    }

private:
    std::mutex mutex_;
    std::vector<Bytes> messages_;
};

class InstrumentHarness : public ::testing::Test {
protected:
    explicit InstrumentHarness(InstrumentOptions options = InstrumentOptions::ForUnitTests()) : instrument(options)
    {
        instrument.SetTransmitSink([this](std::span<const std::uint8_t> m) { capture.Take(m); });
    }

    void Send(const Bytes& message) { instrument.Receive(message); }

    // Sends the messages, waits until everything they caused has gone out and
    // returns it.
    std::vector<Bytes> Exchange(std::initializer_list<Bytes> messages)
    {
        for (const Bytes& message : messages)
            instrument.Receive(message);
        EXPECT_EQ(instrument.WaitUntilIdle(kWait), WaitOutcome::Reached);
        return capture.Drain();
    }

    std::vector<Bytes> Request(int mid, int low) { return Exchange({sysex::DumpRequest(0x0E, mid, low)}); }

    // The capture outlives the instrument, whose delivery thread may still
    // hand it a message while the instrument shuts down.
    Capture capture;
    EmulatedInstrument instrument;
};

// What the editor does with an answer: every block written at its address,
// header and footer skipped. Returns the region the answer filled.
inline Bytes ApplyAnswer(const std::vector<Bytes>& answer, MemoryRegion region)
{
    ParameterMemory memory;
    for (const Bytes& message : answer) {
        const auto fields = sysex::ReadBulkDump(message);
        if (!fields || fields->IsHeaderOrFooter())
            continue;
        std::copy(fields->data.begin(), fields->data.end(),
                  memory.Bytes(fields->Address(), fields->data.size()).begin());
    }
    const auto bytes = memory.Region(region);
    return {bytes.begin(), bytes.end()};
}

} // namespace cs6::sim::test
