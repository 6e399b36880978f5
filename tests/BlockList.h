#pragma once
// Block addresses as the block and bulk tables write them: "30 00-05, 31 40"
// is 30 00 00 to 30 05 00, then 31 40 00.

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "synth/ParameterMemory.h"

namespace cs6::test {

inline std::vector<std::uint32_t> BlockList(const char* text)
{
    std::vector<std::uint32_t> addresses;
    std::istringstream in(text);
    for (std::string item; std::getline(in, item, ',');) {
        unsigned high = 0, first = 0, last = 0;
        const int fields = std::sscanf(item.c_str(), " %x %x-%x", &high, &first, &last);
        for (unsigned mid = first; mid <= (fields == 3 ? last : first); ++mid)
            addresses.push_back(PackAddress(static_cast<int>(high), static_cast<int>(mid), 0));
    }
    return addresses;
}

} // namespace cs6::test
