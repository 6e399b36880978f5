#include "synth/ParameterMemory.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "tests/BlockList.h"

namespace cs6 {
namespace {

// The blocks of one run of slots, 128 bytes each, in memory order, written
// as the block table lists them: "31 00-0F" is sixteen blocks.
struct SlotRun {
    std::uint32_t start;
    const char* blocks;
};

const SlotRun kSlotRuns[] = {
    {512, "00 00, 00 10, 00 20, 00 70"},
    {1024, "30 00, 31 00-0F, 31 40, 31 50, 31 60, 31 61, 32 00-03, 30 01-05, 30 10, 30 20"},
    {5120, "40 00-06, 40 70, 41 00-03, 42 00-03, 43 00-03, 44 00-03"},
    {8192, "46 00-05, 46 70, 46 71"},
    {16384, "4C 00-03, 4C 05, 4C 10, 4C 20, 4C 70"},
};

TEST(ParameterMemoryDirectory, BlocksFollowTheirSlotOrderAndDrumKeysTheirPacking)
{
    const ParameterMemory memory;
    std::size_t blocks = 0;
    for (const SlotRun& run : kSlotRuns) {
        std::uint32_t offset = run.start;
        for (std::uint32_t key : test::BlockList(run.blocks)) {
            EXPECT_EQ(memory.BlockOffset(key), offset) << FormatAddress(key);
            offset += 128;
            ++blocks;
        }
    }
    // 73 drum keys from 9216, 88 bytes apart: 47 at +0, 48 at +64, 49 at +72, 4A at +80.
    for (int key = 0; key <= 72; ++key) {
        const auto base = static_cast<std::uint32_t>(9216 + 88 * key);
        for (auto [high, plus] : {std::pair{0x47, 0u}, {0x48, 64u}, {0x49, 72u}, {0x4A, 80u}}) {
            EXPECT_EQ(memory.BlockOffset(MakeBlockKey(high, key)), base + plus) << FormatAddress(MakeBlockKey(high, key));
            ++blocks;
        }
    }
    // And the three scratch blocks share the slot at 384; nothing else is listed.
    for (int high : {0x0A, 0x0E, 0x0F})
        EXPECT_EQ(memory.BlockOffset(MakeBlockKey(high, 0)), 384u);
    EXPECT_EQ(memory.blockDirectory.size(), blocks + 3);
}

TEST(ParameterMemoryDirectory, EveryBulkCountFitsItsBlockAndNoBlocksOverlap)
{
    const ParameterMemory memory;
    EXPECT_EQ(memory.blockSizes.size(), 448u);
    for (const auto& [address, count] : memory.blockSizes)
        EXPECT_TRUE(memory.FitsInBlock(address, static_cast<std::size_t>(count))) << FormatAddress(address);
    // Anchors of the count table: the common block, a sub-block, a drum key.
    auto size = [&](int high, int mid, int low) { return memory.BulkSize(PackAddress(high, mid, low)); };
    EXPECT_EQ(size(0x30, 0x00, 0), 68);
    EXPECT_EQ(size(0x41, 0x03, 0x20), 29);
    EXPECT_EQ(size(0x47, 72, 0x20), 12);
    EXPECT_FALSE(size(0x46, 0x71, 0));

    std::vector<std::pair<std::uint32_t, std::uint32_t>> spans; // [start, start + room)
    std::set<std::uint32_t> seenOffsets;
    for (const auto& [key, offset] : memory.blockDirectory)
        if (seenOffsets.insert(offset).second) // the scratch slot appears three times
            spans.emplace_back(offset, offset + static_cast<std::uint32_t>(memory.BlockRoom(key)));
    std::sort(spans.begin(), spans.end());
    for (std::size_t i = 1; i < spans.size(); ++i)
        EXPECT_LE(spans[i - 1].second, spans[i].first) << "block at " << spans[i - 1].first;
    EXPECT_LE(spans.back().second, ParameterMemory::kImageSize);
}

// Where the stored images begin and end; inside them, the block offsets above.
TEST(ParameterMemoryAccess, RegionsOfTheStoredImages)
{
    ParameterMemory memory;
    for (const auto& [region, start, size] : {std::tuple{kPerformanceRegion, PackAddress(0x30, 0, 0), 8192u},
                                              {kNormalVoiceRegion, PackAddress(0x40, 0, 0), 3072u},
                                              {kDrumVoiceRegion, PackAddress(0x46, 0, 0), 8192u}}) {
        EXPECT_EQ(memory.Region(region).data(), memory.ByteAtAddress(start)) << FormatAddress(start);
        EXPECT_EQ(memory.Region(region).size(), size) << FormatAddress(start);
    }
}

TEST(ParameterMemoryAccess, UnknownBlockIsReportedWithItsAddress)
{
    ParameterMemory memory;
    EXPECT_THAT([&] { memory.ByteAt(0x4C, 0x04, 0x07); },
                ::testing::ThrowsMessage<UnknownAddressError>(::testing::HasSubstr("4C 04 07")));
    EXPECT_THROW(memory.ByteAtAddress(PackAddress(0x31, 0x10, 0)), UnknownAddressError);
    EXPECT_THROW(memory.ByteAtAddress(1u << 21), UnknownAddressError);
    EXPECT_THROW(memory.ByteAt(0x30, 0x00, 128), UnknownAddressError);
    EXPECT_THROW(memory.ByteAt(-1, 0, 0), UnknownAddressError);
    EXPECT_THROW(memory.Block(0x50, 0x00), UnknownAddressError);
    EXPECT_THROW(memory.Bytes(PackAddress(0x4C, 0x70, 127), 2), UnknownAddressError);
    // A drum-key block may read on into the blocks behind it.
    EXPECT_EQ(memory.Bytes(PackAddress(0x47, 0, 0), 88).size(), 88u);
    EXPECT_EQ(memory.ByteAt(0x47, 0, 64), memory.ByteAt(0x48, 0, 0));
}

} // namespace
} // namespace cs6
