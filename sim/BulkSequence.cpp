#include "sim/BulkSequence.h"

#include <stdexcept>

namespace cs6::sim {

std::span<const BulkBlock> BulkBlocks(SoundKind kind)
{
    switch (kind) {
    case SoundKind::Performance:
        return PerformanceBulkBlocks();
    case SoundKind::NormalVoice:
        return NormalVoiceBulkBlocks();
    case SoundKind::DrumVoice:
        return DrumVoiceBulkBlocks();
    }
    throw std::logic_error("unknown sound kind");
}

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
