#pragma once
// The part block 31 pp: every parameter of one performance part lies in the
// block whose mid byte is the part's index (0x00..0x0F for parts 1 to 16,
// 0x40 AD, 0x50 CL, 0x60 PLG1, 0x61 PLG2), the low byte naming the parameter.

#include <QString>

#include <cstdint>

#include "synth/ParameterMemory.h"

namespace cs6 {

inline constexpr int kPartBlockHigh = 0x31;

inline constexpr int kPartAD = 0x40;
inline constexpr int kPartCL = 0x50;
inline constexpr int kPartPLG1 = 0x60;
inline constexpr int kPartPLG2 = 0x61;

// The packed address of one parameter of a part.
constexpr std::uint32_t PartAddress(int partIndex, int low) { return PackAddress(kPartBlockHigh, partIndex, low); }

// Where the part's block lies in the memory.
inline MemoryRegion PartBlockRegion(const ParameterMemory& memory, int partIndex)
{
    return {memory.BlockOffset(MakeBlockKey(kPartBlockHigh, partIndex)).value_or(0), ParameterMemory::kSlotSize};
}

// The part as the small dialogs name it in their captions: "Part 3",
// "Part AD", "Part CL", "Part PLG1", "Part PLG2".
inline QString PartCaptionName(int partIndex)
{
    switch (partIndex) {
    case kPartAD:
        return QStringLiteral("Part AD");
    case kPartCL:
        return QStringLiteral("Part CL");
    case kPartPLG1:
        return QStringLiteral("Part PLG1");
    case kPartPLG2:
        return QStringLiteral("Part PLG2");
    default:
        return QStringLiteral("Part %1").arg(partIndex + 1);
    }
}

} // namespace cs6
