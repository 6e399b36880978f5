#pragma once
// The whole-sound bulks: which blocks a performance, a normal voice and a
// drum voice travel as, in order, with their byte counts. A bulk is these
// blocks between a bulk header 0E mid low and a bulk footer 0F mid low, so a
// whole answer has 34, 34 or 374 messages.

#include <cstddef>
#include <cstdint>
#include <span>

namespace cs6 {

struct BulkBlock {
    std::uint32_t address; // packed start address
    int count;             // bulk byte count

    bool operator==(const BulkBlock&) const = default;
};

std::span<const BulkBlock> PerformanceBulkBlocks(); // 32 blocks
std::span<const BulkBlock> NormalVoiceBulkBlocks(); // 32 blocks
std::span<const BulkBlock> DrumVoiceBulkBlocks();   // 372 blocks

} // namespace cs6
