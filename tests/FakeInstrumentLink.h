#pragma once
// Both ends of the instrument model's link for unit tests: captures what is
// sent and answers each wait with the next scripted batch (none: silence),
// or, with an emulated instrument set, passes what is sent to it and answers
// each wait with what it transmitted since the request was armed. Pauses are
// recorded, not slept.

#include <chrono>
#include <deque>
#include <vector>

#include "sim/EmulatedInstrument.h"
#include "synth/MessageOutput.h"
#include "synth/ReplySource.h"
#include "synth/SynthDevice.h"

namespace cs6::test {

using Bytes = std::vector<std::uint8_t>;
using Batch = std::vector<Bytes>;

class FakeInstrumentLink : public MessageOutput, public ReplySource {
public:
    void SendMessage(std::span<const std::uint8_t> message) override
    {
        sent.emplace_back(message.begin(), message.end());
        if (instrument)
            instrument->Receive(message);
    }

    void Arm(int expectedCount) override
    {
        armed.push_back(expectedCount);
        if (instrument)
            answeredBefore = instrument->TransmittedMessages().size();
    }

    std::vector<Bytes> WaitForReplies() override
    {
        if (instrument) {
            (void)instrument->WaitUntilIdle(std::chrono::seconds(10));
            const auto log = instrument->TransmittedMessages();
            Batch replies;
            for (std::size_t i = answeredBefore; i < log.size(); ++i)
                replies.push_back(log[i].bytes);
            return replies;
        }
        if (batches.empty())
            return {};
        Batch batch = std::move(batches.front());
        batches.pop_front();
        return batch;
    }

    void Attach(SynthDevice& device)
    {
        device.SetOutput(this);
        device.SetReplySource(this);
        device.SetPause([this](std::chrono::milliseconds time) { pauses.push_back(time); });
    }

    std::deque<Batch> batches;
    std::vector<Bytes> sent;
    std::vector<int> armed;
    std::vector<std::chrono::milliseconds> pauses;
    sim::EmulatedInstrument* instrument = nullptr; // its logs kept
    std::size_t answeredBefore = 0;
};

} // namespace cs6::test
