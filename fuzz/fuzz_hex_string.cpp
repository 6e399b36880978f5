// The hex string the user types to send a raw message.
//
// Invariants: on success there is one byte per space-separated token, and a
// token of plain hexadecimal digits gives the value of its last two digits;
// the parse fails when there is no token at all.

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "fuzz/FuzzInput.h"
#include "midi/MidiPort.h"

namespace {

std::vector<std::string_view> Tokens(std::string_view text)
{
    std::vector<std::string_view> tokens;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = std::min(text.find(' ', at), text.size());
        if (end > at)
            tokens.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    return tokens;
}

// The value of a token made only of hex digits (its last two), or -1. Read
// with the standard library, not the way the parser reads it.
int PlainValue(std::string_view token)
{
    if (!std::all_of(token.begin(), token.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); }))
        return -1;
    const std::string_view last = token.substr(token.size() - std::min<std::size_t>(token.size(), 2));
    int value = 0;
    std::from_chars(last.data(), last.data() + last.size(), value, 16);
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto tokens = Tokens(text);
    const auto bytes = cs6::ParseHexString(text);
    if (tokens.empty() && bytes)
        cs6::fuzz::Violated("bytes from a text without tokens");
    if (!bytes)
        return 0;
    if (bytes->size() != tokens.size())
        cs6::fuzz::Violated("not one byte per space-separated token");
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const int plain = PlainValue(tokens[i]);
        if (plain >= 0 && (*bytes)[i] != plain)
            cs6::fuzz::Violated("a plain hexadecimal token read as another value");
    }
    return 0;
}
