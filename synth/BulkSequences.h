#pragma once
// The whole-sound bulks: which blocks a performance, a normal voice and a
// drum voice travel as, in order, with their byte counts, and the building
// of a whole bulk from a parameter memory.
//
// These lists are the one listing of those blocks' byte counts:
// ParameterMemory::blockSizes is made from them and from the instrument's 00
// and 4C areas, which no bulk carries.
//
// A bulk is its blocks between a bulk header 0E mid low and a bulk footer
// 0F mid low, where mid and low locate the sound (bank code and program, or
// an edit buffer and 00): 34, 34 or 374 messages. BuildBulk makes exactly
// those messages and sends nothing: SynthDevice sends them to the instrument
// with its pauses, the emulated instrument answers requests with them, and a
// sound written to a file as a bulk is the same bytes.
//
// Thread: any. The lists are constants; BuildBulk only reads the memory.

#include <cstdint>
#include <span>
#include <vector>

#include "synth/InstrumentMap.h"
#include "synth/ParameterMemory.h"
#include "synth/SysExMessages.h"

namespace cs6 {

struct BulkBlock {
    std::uint32_t address; // packed start address
    int count;             // bulk byte count

    bool operator==(const BulkBlock&) const = default;
};

std::span<const BulkBlock> PerformanceBulkBlocks(); // 32 blocks
std::span<const BulkBlock> NormalVoiceBulkBlocks(); // 32 blocks
std::span<const BulkBlock> DrumVoiceBulkBlocks();   // 372 blocks
// The type's list above. Throws std::invalid_argument for another value.
std::span<const BulkBlock> BulkBlocks(DumpType type);

// The stretch of the memory the type's blocks lie in: kPerformanceBlocks,
// kNormalVoiceRegion or kDrumVoiceRegion.
MemoryRegion BulkRegion(DumpType type);

// Header 0E mid low, every block of the type with its count of bytes read
// from the memory, footer 0F mid low. Throws like BulkBlocks.
[[nodiscard]] std::vector<sysex::Message> BuildBulk(const ParameterMemory& memory, DumpType type, int mid, int low);

} // namespace cs6
