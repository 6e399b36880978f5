#pragma once
// The three whole-sound bulks of the instrument, by kind: which blocks a
// performance, a normal voice and a drum voice consist of (the core's tables,
// so the editor and the instrument cannot disagree), and the building of a
// complete answer (bulk header, blocks, bulk footer) from a parameter memory.
//
// Thread: any; the tables are immutable once built.

#include <cstddef>
#include <span>
#include <vector>

#include "synth/BulkSequences.h"
#include "synth/ParameterMemory.h"
#include "synth/SysExMessages.h"

namespace cs6::sim {

using cs6::BulkBlock;

enum class SoundKind {
    Performance,
    NormalVoice,
    DrumVoice,
};

// The blocks of one sound in transmission order, without header and footer:
// 32 for a performance or a normal voice, 372 for a drum voice.
std::span<const BulkBlock> BulkBlocks(SoundKind kind);

// The part of the parameter memory a stored sound of this kind occupies. A
// performance keeps only its 32 blocks (the first 4096 bytes of the performance
// region); the rest of that region belongs to the voice edit buffers.
MemoryRegion StoredRegion(SoundKind kind);
inline constexpr MemoryRegion kPerformanceBlocks{1024, 4096};

// Header 0E mid low, the blocks read from memory, footer 0F mid low.
std::vector<sysex::Message> BuildBulk(const ParameterMemory& memory, SoundKind kind, int mid, int low);

} // namespace cs6::sim
