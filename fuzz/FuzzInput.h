#pragma once
// How the fuzz targets that take several MIDI messages read them from one
// input, and how the corpus generator writes them: each message is a length
// byte followed by that many bytes; a last message cut short by the end of
// the input is taken as far as it goes.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <vector>

namespace cs6::fuzz {

inline std::vector<std::vector<std::uint8_t>> SplitMessages(std::span<const std::uint8_t> input)
{
    std::vector<std::vector<std::uint8_t>> messages;
    while (!input.empty()) {
        const std::size_t length = std::min<std::size_t>(input[0], input.size() - 1);
        const auto message = input.subspan(1, length);
        messages.emplace_back(message.begin(), message.end());
        input = input.subspan(1 + length);
    }
    return messages;
}

// The inverse, for making seeds. Messages longer than 255 bytes do not occur
// in the instrument's traffic and are refused.
inline void AppendMessage(std::vector<std::uint8_t>& input, std::span<const std::uint8_t> message)
{
    if (message.size() > 255) {
        std::fprintf(stderr, "a %zu-byte message does not fit a length byte\n", message.size());
        std::abort();
    }
    input.push_back(static_cast<std::uint8_t>(message.size()));
    input.insert(input.end(), message.begin(), message.end());
}

// An invariant does not hold: say which and stop, so libFuzzer keeps the input.
[[noreturn]] inline void Violated(const char* what)
{
    std::fprintf(stderr, "invariant violated: %s\n", what);
    std::abort();
}

} // namespace cs6::fuzz
