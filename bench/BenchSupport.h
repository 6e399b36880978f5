#pragma once
// Small helpers shared by the benchmarks.

#include <algorithm>
#include <chrono>
#include <fstream>
#include <string>
#include <vector>

namespace cs6::bench {

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
