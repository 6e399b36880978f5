#include "synth/BulkSequences.h"

#include <vector>

#include "synth/ParameterMemory.h"

namespace cs6 {

std::span<const BulkBlock> PerformanceBulkBlocks()
{
    static const std::vector<BulkBlock> blocks = [] {
        std::vector<BulkBlock> list = {
            {PackAddress(0x30, 0x00, 0), 68}, {PackAddress(0x30, 0x01, 0), 24}, {PackAddress(0x30, 0x02, 0), 25},
            {PackAddress(0x30, 0x03, 0), 22}, {PackAddress(0x30, 0x04, 0), 34}, {PackAddress(0x30, 0x05, 0), 10},
            {PackAddress(0x30, 0x10, 0), 20}, {PackAddress(0x30, 0x20, 0), 68},
        };
        for (int m = 0; m < 4; ++m)
            list.push_back({PackAddress(0x32, m, 0), 16});
        for (int pp = 0; pp < 16; ++pp)
            list.push_back({PackAddress(0x31, pp, 0), 37});
        for (int pp : {0x40, 0x50, 0x60, 0x61})
            list.push_back({PackAddress(0x31, pp, 0), 37});
        return list;
    }();
    return blocks;
}

std::span<const BulkBlock> NormalVoiceBulkBlocks()
{
    static const std::vector<BulkBlock> blocks = [] {
        std::vector<BulkBlock> list = {
            {PackAddress(0x40, 0x00, 0), 13}, {PackAddress(0x40, 0x01, 0), 24}, {PackAddress(0x40, 0x02, 0), 25},
            {PackAddress(0x40, 0x03, 0), 22}, {PackAddress(0x40, 0x04, 0), 34}, {PackAddress(0x40, 0x05, 0), 30},
            {PackAddress(0x40, 0x06, 0), 14}, {PackAddress(0x40, 0x70, 0), 56},
        };
        for (int e = 0; e < 4; ++e) {
            list.push_back({PackAddress(0x41, e, 0x00), 13});
            list.push_back({PackAddress(0x41, e, 0x20), 29});
            list.push_back({PackAddress(0x42, e, 0x00), 27});
            list.push_back({PackAddress(0x43, e, 0x00), 48});
            list.push_back({PackAddress(0x44, e, 0x00), 8});
            list.push_back({PackAddress(0x44, e, 0x40), 6});
        }
        return list;
    }();
    return blocks;
}

std::span<const BulkBlock> DrumVoiceBulkBlocks()
{
    static const std::vector<BulkBlock> blocks = [] {
        std::vector<BulkBlock> list = {
            {PackAddress(0x46, 0x00, 0), 7},  {PackAddress(0x46, 0x70, 0), 56}, {PackAddress(0x46, 0x01, 0), 24},
            {PackAddress(0x46, 0x02, 0), 25}, {PackAddress(0x46, 0x03, 0), 22}, {PackAddress(0x46, 0x04, 0), 34},
            {PackAddress(0x46, 0x05, 0), 30},
        };
        for (int k = 0; k <= 72; ++k) {
            list.push_back({PackAddress(0x47, k, 0x00), 18});
            list.push_back({PackAddress(0x47, k, 0x20), 12});
            list.push_back({PackAddress(0x48, k, 0x00), 3});
            list.push_back({PackAddress(0x49, k, 0x00), 8});
            list.push_back({PackAddress(0x4A, k, 0x00), 8});
        }
        return list;
    }();
    return blocks;
}

} // namespace cs6
