#pragma once
// The part block 31 pp: every parameter of one performance part lies in the
// block whose mid byte is the part's index (part::kIndexes), the low byte
// naming the parameter (part::Parameter). And the names the dialogs give a
// part.

#include <QString>

#include <array>
#include <cstdint>

#include "synth/InstrumentMap.h"
#include "synth/ParameterMemory.h"

namespace cs6 {

// The packed address of one parameter of a part.
constexpr std::uint32_t PartAddress(int partIndex, int low) { return PackAddress(block::kPart, partIndex, low); }

// Where the part's block lies in the memory.
inline MemoryRegion PartBlockRegion(const ParameterMemory& memory, int partIndex)
{
    return {memory.BlockOffset(MakeBlockKey(block::kPart, partIndex)).value_or(0), ParameterMemory::kSlotSize};
}

enum class PartNaming {
    Caption,    // the small dialogs' captions: "Part 3", "Part AD", "Part CL", "Part PLG1", "Part PLG2"
    StripTitle, // the part strip's title: "PART 3", "PART AD", "PART CL", "PRTPLG1", "PRTPLG2"
};

inline QString PartName(int partIndex, PartNaming naming)
{
    struct Named {
        int index;
        const char* caption;
        const char* stripTitle;
    };
    static constexpr std::array<Named, 4> kNamed{{{part::kAD, "Part AD", "PART AD"},
                                                  {part::kCL, "Part CL", "PART CL"},
                                                  {part::kPLG1, "Part PLG1", "PRTPLG1"},
                                                  {part::kPLG2, "Part PLG2", "PRTPLG2"}}};
    const bool caption = naming == PartNaming::Caption;
    for (const Named& named : kNamed) {
        if (named.index == partIndex)
            return QString::fromLatin1(caption ? named.caption : named.stripTitle);
    }
    return (caption ? QStringLiteral("Part %1") : QStringLiteral("PART %1")).arg(partIndex + 1);
}

} // namespace cs6
