#include "sim/BulkSequence.h"

#include <stdexcept>

namespace cs6::sim {
namespace {

BulkBlock BlockAt(int high, int mid, int low)
{
    // Counts come from the memory's own size table, so the two cannot disagree.
    static const ParameterMemory sizes;
    const std::uint32_t address = PackAddress(high, mid, low);
    const auto count = sizes.BulkSize(address);
    if (!count)
        throw std::logic_error("no bulk size for " + FormatAddress(address));
    return {address, *count};
}

std::vector<BulkBlock> PerformanceBlocks()
{
    std::vector<BulkBlock> blocks;
    for (int mid : {0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x10, 0x20})
        blocks.push_back(BlockAt(0x30, mid, 0));
    for (int mid = 0; mid < 4; ++mid)
        blocks.push_back(BlockAt(0x32, mid, 0));
    for (int part = 0; part < 16; ++part)
        blocks.push_back(BlockAt(0x31, part, 0));
    for (int part : {0x40, 0x50, 0x60, 0x61})
        blocks.push_back(BlockAt(0x31, part, 0));
    return blocks;
}

std::vector<BulkBlock> NormalVoiceBlocks()
{
    std::vector<BulkBlock> blocks;
    for (int mid : {0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x70})
        blocks.push_back(BlockAt(0x40, mid, 0));
    for (int e = 0; e < 4; ++e) {
        blocks.push_back(BlockAt(0x41, e, 0x00));
        blocks.push_back(BlockAt(0x41, e, 0x20));
        blocks.push_back(BlockAt(0x42, e, 0x00));
        blocks.push_back(BlockAt(0x43, e, 0x00));
        blocks.push_back(BlockAt(0x44, e, 0x00));
        blocks.push_back(BlockAt(0x44, e, 0x40));
    }
    return blocks;
}

std::vector<BulkBlock> DrumVoiceBlocks()
{
    std::vector<BulkBlock> blocks;
    // The name block travels second, straight after the first common block.
    for (int mid : {0x00, 0x70, 0x01, 0x02, 0x03, 0x04, 0x05})
        blocks.push_back(BlockAt(0x46, mid, 0));
    for (int k = 0; k <= 72; ++k) {
        blocks.push_back(BlockAt(0x47, k, 0x00));
        blocks.push_back(BlockAt(0x47, k, 0x20));
        blocks.push_back(BlockAt(0x48, k, 0x00));
        blocks.push_back(BlockAt(0x49, k, 0x00));
        blocks.push_back(BlockAt(0x4A, k, 0x00));
    }
    return blocks;
}

} // namespace

std::span<const BulkBlock> BulkBlocks(SoundKind kind)
{
    static const std::vector<BulkBlock> performance = PerformanceBlocks();
    static const std::vector<BulkBlock> normalVoice = NormalVoiceBlocks();
    static const std::vector<BulkBlock> drumVoice = DrumVoiceBlocks();
    switch (kind) {
    case SoundKind::Performance:
        return performance;
    case SoundKind::NormalVoice:
        return normalVoice;
    case SoundKind::DrumVoice:
        return drumVoice;
    }
    throw std::logic_error("unknown sound kind");
}

std::size_t BulkMessageCount(SoundKind kind) { return BulkBlocks(kind).size() + 2; }

MemoryRegion StoredRegion(SoundKind kind)
{
    switch (kind) {
    case SoundKind::Performance:
        return kPerformanceBlocks;
    case SoundKind::NormalVoice:
        return kNormalVoiceRegion;
    case SoundKind::DrumVoice:
        return kDrumVoiceRegion;
    }
    throw std::logic_error("unknown sound kind");
}

std::vector<sysex::Message> BuildBulk(const ParameterMemory& memory, SoundKind kind, int mid, int low)
{
    const auto blocks = BulkBlocks(kind);
    std::vector<sysex::Message> messages;
    messages.reserve(blocks.size() + 2);
    messages.push_back(sysex::BulkDump(sysex::kBulkHeaderHigh, mid, low, {}));
    for (const BulkBlock& block : blocks) {
        const auto data = memory.Bytes(block.address, static_cast<std::size_t>(block.count));
        messages.push_back(sysex::BulkDump(AddressHigh(block.address), AddressMid(block.address),
                                           AddressLow(block.address), data));
    }
    messages.push_back(sysex::BulkDump(sysex::kBulkFooterHigh, mid, low, {}));
    return messages;
}

} // namespace cs6::sim
