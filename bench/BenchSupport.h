#pragma once
// Small helpers shared by the benchmarks.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "framework/UserMessage.h"

namespace cs6::bench {

// Message boxes go to the output instead of waiting for a click.
inline void PrintMessageBoxes()
{
    SetMessageBoxHandler([](std::string_view text) {
        std::printf("message box: %.*s\n", static_cast<int>(text.size()), text.data());
    });
}

inline double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// The process's peak resident memory in megabytes (VmHWM).
inline double PeakResidentMegabytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0; // kB
    }
    return 0;
}

} // namespace cs6::bench
