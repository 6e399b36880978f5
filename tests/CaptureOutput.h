#pragma once
// A MessageOutput that keeps every message it is given, for tests.

#include <cstdint>
#include <span>
#include <vector>

#include "synth/MessageOutput.h"

namespace cs6::test {

class CaptureOutput : public MessageOutput {
public:
    void SendMessage(std::span<const std::uint8_t> message) override
    {
        messages.emplace_back(message.begin(), message.end());
    }

    std::vector<std::vector<std::uint8_t>> messages;
};

using Bytes = std::vector<std::uint8_t>;

} // namespace cs6::test
