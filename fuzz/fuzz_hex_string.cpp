// The hex string the user types to send a raw message.
//
// Invariants: on success there is one byte per space-separated token, and a
// token of plain hexadecimal digits gives the value of its last two digits;
// the parse fails when there is no token at all.

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

int Digit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The value of a token made only of hex digits, or -1.
int PlainValue(std::string_view token)
{
    int value = 0;
    for (const char c : token) {
        if (Digit(c) < 0)
            return -1;
        value = (value << 4 | Digit(c)) & 0xFF;
    }
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
