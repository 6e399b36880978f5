// A .syx file opened as performances, the bytes as they are on disk.
//
// Invariants: a file is either refused with a reason and nothing else, or
// gives at least one performance; what it gives writes back to bytes that
// read to the same performances and then to the same bytes; applying one to
// a memory changes nothing outside the performance blocks and leaves exactly
// that performance there.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz/FuzzInput.h"
#include "synth/PerformanceFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace cs6;
    const PerformanceRead read = ParsePerformances(std::span(data, size));
    if (!read.Ok()) {
        if (!read.performances.empty())
            fuzz::Violated("a refused file gave performances");
        return 0;
    }
    if (read.performances.empty())
        fuzz::Violated("a file was accepted with no performance in it");

    const auto bytes = SerializeLibrary(read.performances);
    const PerformanceRead again = ParsePerformances(bytes);
    if (!again.Ok() || again.performances != read.performances)
        fuzz::Violated("written back, the performances read differently");
    if (SerializeLibrary(again.performances) != bytes)
        fuzz::Violated("written back twice, the bytes differ");

    // One device for the whole run; every run compares against its own copy.
    static SynthDevice device;
    const auto before = device.Memory().image;
    const FilePerformance& first = read.performances.front();
    ApplyPerformance(device, first);
    const auto& after = device.Memory().image;
    const std::size_t begin = kPerformanceBlocks.offset;
    const std::size_t end = begin + kPerformanceBlocks.size;
    if (!std::equal(after.begin(), after.begin() + begin, before.begin()) ||
        !std::equal(after.begin() + end, after.end(), before.begin() + end))
        fuzz::Violated("applying a performance changed the memory outside its blocks");
    if (FilePerformance::FromMemory(device.Memory(), first.location) != first)
        fuzz::Violated("the applied performance is not the one in the memory");
    return 0;
}
