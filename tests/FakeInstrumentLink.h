#pragma once
// Both ends of the instrument model's link for unit tests: captures what is
// sent and answers each wait with the next scripted batch (none: silence).
// Pauses are recorded, not slept.

#include <chrono>
#include <deque>
#include <vector>

#include "synth/MessageOutput.h"
#include "synth/ReplySource.h"
#include "synth/SynthDevice.h"

namespace cs6::test {

using Bytes = std::vector<std::uint8_t>;
using Batch = std::vector<Bytes>;

class FakeInstrumentLink : public MessageOutput, public ReplySource {
public:
    void SendMessage(std::span<const std::uint8_t> message) override { sent.emplace_back(message.begin(), message.end()); }

    void Arm(int expectedCount) override { armed.push_back(expectedCount); }

    std::vector<Bytes> WaitForReplies() override
    {
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
};

} // namespace cs6::test
