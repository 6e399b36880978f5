#include "synth/BulkSequences.h"

#include <array>
#include <stdexcept>
#include <utility>

namespace cs6 {
namespace {

template <std::size_t N>
struct BlockList {
    std::array<BulkBlock, N> blocks{};
    std::size_t size = 0;

    // Past N this fails to compile: the lists below are made at compile time.
    constexpr void Add(int high, int mid, int low, int count) { blocks[size++] = {PackAddress(high, mid, low), count}; }
};

using Count = std::pair<int, int>; // mid byte, byte count

// The blocks of each bulk in sending order: addresses as the instrument's
// address map writes them, with their bulk byte counts.
constexpr auto kPerformance = [] {
    BlockList<32> list;
    for (auto [mid, count] : {Count{0x00, 68}, {0x01, 24}, {0x02, 25}, {0x03, 22}, {0x04, 34}, {0x05, 10},
                              {0x10, 20}, {0x20, 68}})
        list.Add(0x30, mid, 0x00, count);
    for (int m = 0; m < 4; ++m)
        list.Add(0x32, m, 0x00, 16);
    for (int pp : part::kIndexes)
        list.Add(0x31, pp, 0x00, 37);
    return list;
}();

constexpr auto kNormalVoice = [] {
    BlockList<32> list;
    for (auto [mid, count] : {Count{0x00, 13}, {0x01, 24}, {0x02, 25}, {0x03, 22}, {0x04, 34}, {0x05, 30},
                              {0x06, 14}, {0x70, 56}})
        list.Add(0x40, mid, 0x00, count);
    for (int e = 0; e < block::kVoiceElements; ++e) {
        list.Add(0x41, e, 0x00, 13);
        list.Add(0x41, e, 0x20, 29);
        list.Add(0x42, e, 0x00, 27);
        list.Add(0x43, e, 0x00, 48);
        list.Add(0x44, e, 0x00, 8);
        list.Add(0x44, e, 0x40, 6);
    }
    return list;
}();

constexpr auto kDrumVoice = [] {
    BlockList<372> list;
    for (auto [mid, count] : {Count{0x00, 7}, {0x70, 56}, {0x01, 24}, {0x02, 25}, {0x03, 22}, {0x04, 34}, {0x05, 30}})
        list.Add(0x46, mid, 0x00, count);
    for (int k = 0; k < block::kDrumKeys; ++k) {
        list.Add(0x47, k, 0x00, 18);
        list.Add(0x47, k, 0x20, 12);
        list.Add(0x48, k, 0x00, 3);
        list.Add(0x49, k, 0x00, 8);
        list.Add(0x4A, k, 0x00, 8);
    }
    return list;
}();

static_assert(kPerformance.size == 32 && kNormalVoice.size == 32 && kDrumVoice.size == 372);

} // namespace

std::span<const BulkBlock> PerformanceBulkBlocks() { return kPerformance.blocks; }
std::span<const BulkBlock> NormalVoiceBulkBlocks() { return kNormalVoice.blocks; }
std::span<const BulkBlock> DrumVoiceBulkBlocks() { return kDrumVoice.blocks; }

std::span<const BulkBlock> BulkBlocks(DumpType type)
{
    switch (type) {
    case DumpType::Performance:
        return PerformanceBulkBlocks();
    case DumpType::NormalVoice:
        return NormalVoiceBulkBlocks();
    case DumpType::DrumVoice:
        return DrumVoiceBulkBlocks();
    }
    throw std::invalid_argument("not a whole-sound type");
}

MemoryRegion BulkRegion(DumpType type)
{
    switch (type) {
    case DumpType::Performance:
        return kPerformanceBlocks;
    case DumpType::NormalVoice:
        return kNormalVoiceRegion;
    case DumpType::DrumVoice:
        return kDrumVoiceRegion;
    }
    throw std::invalid_argument("not a whole-sound type");
}

std::vector<sysex::Message> BuildBulk(const ParameterMemory& memory, DumpType type, int mid, int low)
{
    const auto blocks = BulkBlocks(type);
    std::vector<sysex::Message> messages;
    messages.reserve(blocks.size() + 2);
    messages.push_back(sysex::BulkDump(block::kBulkHeader, mid, low, {}));
    for (const BulkBlock& b : blocks)
        messages.push_back(sysex::BulkDump(AddressHigh(b.address), AddressMid(b.address), AddressLow(b.address),
                                           memory.Bytes(b.address, static_cast<std::size_t>(b.count))));
    messages.push_back(sysex::BulkDump(block::kBulkFooter, mid, low, {}));
    return messages;
}

} // namespace cs6
