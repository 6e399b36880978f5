#include "synth/ParameterMemory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace cs6 {
namespace {

struct Expected {
    int high;
    int mid;
    std::uint32_t offset;
};

// Every block of the directory with its offset, written out from the block
// table rather than generated the way the directory builds it.
std::vector<Expected> ExpectedDirectory()
{
    std::vector<Expected> rows = {
        {0x00, 0x00, 512},   {0x00, 0x10, 640},   {0x00, 0x20, 768},   {0x00, 0x70, 896},
        {0x0A, 0x00, 384},   {0x0E, 0x00, 384},   {0x0F, 0x00, 384},   {0x30, 0x00, 1024},
        {0x31, 0x40, 3200},  {0x31, 0x50, 3328},  {0x31, 0x60, 3456},  {0x31, 0x61, 3584},
        {0x32, 0x00, 3712},  {0x32, 0x01, 3840},  {0x32, 0x02, 3968},  {0x32, 0x03, 4096},
        {0x30, 0x01, 4224},  {0x30, 0x02, 4352},  {0x30, 0x03, 4480},  {0x30, 0x04, 4608},
        {0x30, 0x05, 4736},  {0x30, 0x10, 4864},  {0x30, 0x20, 4992},  {0x40, 0x00, 5120},
        {0x40, 0x01, 5248},  {0x40, 0x02, 5376},  {0x40, 0x03, 5504},  {0x40, 0x04, 5632},
        {0x40, 0x05, 5760},  {0x40, 0x06, 5888},  {0x40, 0x70, 6016},  {0x46, 0x00, 8192},
        {0x46, 0x01, 8320},  {0x46, 0x02, 8448},  {0x46, 0x03, 8576},  {0x46, 0x04, 8704},
        {0x46, 0x05, 8832},  {0x46, 0x70, 8960},  {0x46, 0x71, 9088},  {0x4C, 0x00, 16384},
        {0x4C, 0x01, 16512}, {0x4C, 0x02, 16640}, {0x4C, 0x03, 16768}, {0x4C, 0x05, 16896},
        {0x4C, 0x10, 17024}, {0x4C, 0x20, 17152}, {0x4C, 0x70, 17280},
    };
    for (std::uint32_t pp = 0; pp < 16; ++pp)
        rows.push_back({0x31, static_cast<int>(pp), 1152 + 128 * pp});
    for (std::uint32_t e = 0; e < 4; ++e) {
        rows.push_back({0x41, static_cast<int>(e), 6144 + 128 * e});
        rows.push_back({0x42, static_cast<int>(e), 6656 + 128 * e});
        rows.push_back({0x43, static_cast<int>(e), 7168 + 128 * e});
        rows.push_back({0x44, static_cast<int>(e), 7680 + 128 * e});
    }
    for (std::uint32_t k = 0; k <= 72; ++k) {
        rows.push_back({0x47, static_cast<int>(k), 9216 + 88 * k});
        rows.push_back({0x48, static_cast<int>(k), 9280 + 88 * k});
        rows.push_back({0x49, static_cast<int>(k), 9288 + 88 * k});
        rows.push_back({0x4A, static_cast<int>(k), 9296 + 88 * k});
    }
    return rows;
}

TEST(ParameterMemoryDirectory, HoldsExactlyTheBlocksOfTheTableAtTheirOffsets)
{
    const ParameterMemory memory;
    const auto expected = ExpectedDirectory();
    ASSERT_EQ(expected.size(), 371u);
    EXPECT_EQ(memory.blockDirectory.size(), 371u);
    for (const auto& row : expected) {
        const auto offset = memory.BlockOffset(MakeBlockKey(row.high, row.mid));
        ASSERT_TRUE(offset.has_value()) << FormatAddress(MakeBlockKey(row.high, row.mid));
        EXPECT_EQ(*offset, row.offset) << FormatAddress(MakeBlockKey(row.high, row.mid));
    }
}

TEST(ParameterMemoryDirectory, BulkSizesHave448CountsMatchingTheTable)
{
    const ParameterMemory memory;
    EXPECT_EQ(memory.blockSizes.size(), 448u);

    auto size = [&](int high, int mid, int low) { return memory.BulkSize(PackAddress(high, mid, low)); };
    EXPECT_EQ(size(0x30, 0x00, 0), 68);
    EXPECT_EQ(size(0x30, 0x01, 0), 24);
    EXPECT_EQ(size(0x30, 0x02, 0), 25);
    EXPECT_EQ(size(0x31, 0x61, 0), 37);
    EXPECT_EQ(size(0x32, 0x03, 0), 16);
    EXPECT_EQ(size(0x40, 0x06, 0), 14);
    EXPECT_EQ(size(0x40, 0x70, 0), 56);
    EXPECT_EQ(size(0x41, 0x03, 0x20), 29);
    EXPECT_EQ(size(0x44, 0x02, 0x40), 6);
    EXPECT_EQ(size(0x46, 0x00, 0), 7);
    EXPECT_EQ(size(0x47, 72, 0x20), 12);
    EXPECT_EQ(size(0x48, 72, 0), 3);
    EXPECT_EQ(size(0x4A, 0, 0), 8);
    EXPECT_EQ(size(0x4C, 0x10, 0), 35);
    EXPECT_EQ(size(0x00, 0x70, 0), 1);
    // No counts for the scratch blocks, 46 71 or the missing 4C 04.
    EXPECT_FALSE(size(0x0E, 0x00, 0));
    EXPECT_FALSE(size(0x46, 0x71, 0));
    EXPECT_FALSE(size(0x4C, 0x04, 0));

    // Every counted block lies in a directory block and fits in its room.
    for (const auto& [address, count] : memory.blockSizes) {
        EXPECT_TRUE(memory.FitsInBlock(address, static_cast<std::size_t>(count))) << FormatAddress(address);
    }
}

TEST(ParameterMemoryDirectory, BlocksNeverOverlapExceptTheSharedScratchSlot)
{
    const ParameterMemory memory;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> spans; // [start, start + room)
    std::set<std::uint32_t> seenOffsets;
    for (const auto& [key, offset] : memory.blockDirectory) {
        if (!seenOffsets.insert(offset).second)
            continue; // the scratch slot appears three times
        spans.emplace_back(offset, offset + static_cast<std::uint32_t>(memory.BlockRoom(key)));
    }
    std::sort(spans.begin(), spans.end());
    for (std::size_t i = 1; i < spans.size(); ++i)
        EXPECT_LE(spans[i - 1].second, spans[i].first) << "block at " << spans[i - 1].first;
    EXPECT_LE(spans.back().second, ParameterMemory::kImageSize);
}

TEST(ParameterMemoryAccess, ByteAtAndByteAtAddressAgree)
{
    ParameterMemory memory;
    std::uint8_t* byPart = memory.ByteAt(0x31, 0x61, 36);
    std::uint8_t* byPacked = memory.ByteAtAddress(0x31u << 14 | 0x61u << 7 | 36u);
    EXPECT_EQ(byPart, byPacked);
    EXPECT_EQ(byPart - memory.image.data(), 3620);
}

TEST(ParameterMemoryAccess, ScratchBlocksShareOneSlot)
{
    ParameterMemory memory;
    *memory.ByteAt(0x0E, 0x00, 5) = 0x55;
    EXPECT_EQ(*memory.ByteAt(0x0A, 0x00, 5), 0x55);
    EXPECT_EQ(*memory.ByteAt(0x0F, 0x00, 5), 0x55);
    EXPECT_EQ(memory.ByteAt(0x0A, 0x00, 0) - memory.image.data(), 384);
}

TEST(ParameterMemoryAccess, DrumKeysArePacked88BytesApart)
{
    ParameterMemory memory;
    const auto offset = [&](int high, int mid, int low) { return memory.ByteAt(high, mid, low) - memory.image.data(); };
    EXPECT_EQ(offset(0x47, 1, 0), 9304);
    EXPECT_EQ(offset(0x48, 1, 0), 9368);
    EXPECT_EQ(offset(0x49, 1, 0), 9376);
    EXPECT_EQ(offset(0x4A, 1, 0), 9384);
    // Byte 64 of 47 00 is byte 0 of 48 00: a low beyond the room runs into the next block.
    EXPECT_EQ(memory.ByteAt(0x47, 0, 64), memory.ByteAt(0x48, 0, 0));
    EXPECT_EQ(memory.ByteAt(0x4A, 0, 8), memory.ByteAt(0x47, 1, 0));
}

TEST(ParameterMemoryAccess, FreshMemoryIsZero)
{
    const ParameterMemory memory;
    EXPECT_TRUE(std::all_of(memory.image.begin(), memory.image.end(), [](auto b) { return b == 0; }));
    const std::uint8_t* name = memory.ByteAt(0x30, 0x00, 0);
    EXPECT_TRUE(std::all_of(name, name + 10, [](auto b) { return b == 0; }));
}

TEST(ParameterMemoryAccess, UnknownBlockIsReportedWithItsAddress)
{
    ParameterMemory memory;
    try {
        memory.ByteAt(0x4C, 0x04, 0x07);
        FAIL() << "no exception";
    } catch (const UnknownAddressError& error) {
        EXPECT_EQ(error.Address(), PackAddress(0x4C, 0x04, 0x07));
        EXPECT_NE(std::string(error.what()).find("4C 04 07"), std::string::npos) << error.what();
    }
    EXPECT_THROW(memory.ByteAtAddress(PackAddress(0x31, 0x10, 0)), UnknownAddressError);
    EXPECT_THROW(memory.ByteAtAddress(1u << 21), UnknownAddressError);
    EXPECT_THROW(memory.ByteAt(0x30, 0x00, 128), UnknownAddressError);
    EXPECT_THROW(memory.ByteAt(-1, 0, 0), UnknownAddressError);
    EXPECT_THROW(memory.Block(0x50, 0x00), UnknownAddressError);
}

TEST(ParameterMemoryAccess, LowBeyondTheBulkCountStaysInTheBlockSlot)
{
    ParameterMemory memory;
    *memory.ByteAt(0x30, 0x00, 127) = 9;
    EXPECT_EQ(memory.ByteAt(0x30, 0x00, 127) - memory.image.data(), 1024 + 127);
    EXPECT_EQ(*memory.ByteAt(0x31, 0x00, 0), 0);
}

TEST(ParameterMemoryRoom, FollowsSlotsAndDrumKeyPacking)
{
    const ParameterMemory memory;
    EXPECT_EQ(memory.BlockRoom(MakeBlockKey(0x30, 0x00)), 128u);
    EXPECT_EQ(memory.BlockRoom(MakeBlockKey(0x47, 5)), 64u);
    EXPECT_EQ(memory.BlockRoom(MakeBlockKey(0x48, 5)), 8u);
    EXPECT_EQ(memory.BlockRoom(MakeBlockKey(0x4A, 72)), 8u);
    EXPECT_EQ(memory.BlockRoom(MakeBlockKey(0x4C, 0x04)), 0u);

    EXPECT_TRUE(memory.FitsInBlock(PackAddress(0x30, 0x00, 0), 128));
    EXPECT_FALSE(memory.FitsInBlock(PackAddress(0x30, 0x00, 0), 129));
    EXPECT_TRUE(memory.FitsInBlock(PackAddress(0x30, 0x00, 100), 28));
    EXPECT_FALSE(memory.FitsInBlock(PackAddress(0x30, 0x00, 100), 29));
    EXPECT_TRUE(memory.FitsInBlock(PackAddress(0x47, 3, 0x20), 32));
    EXPECT_FALSE(memory.FitsInBlock(PackAddress(0x47, 3, 0x20), 33));
    EXPECT_FALSE(memory.FitsInBlock(PackAddress(0x48, 3, 0), 9));
    EXPECT_FALSE(memory.FitsInBlock(PackAddress(0x48, 3, 100), 0)); // low past the room
    EXPECT_FALSE(memory.FitsInBlock(PackAddress(0x31, 0x10, 0), 1));
    EXPECT_FALSE(memory.FitsInBlock(1u << 21, 1));
}

TEST(ParameterMemoryRoom, BytesRefusesRangesPastTheImage)
{
    ParameterMemory memory;
    EXPECT_EQ(memory.Bytes(PackAddress(0x4C, 0x70, 127), 1).size(), 1u);
    EXPECT_THROW(memory.Bytes(PackAddress(0x4C, 0x70, 127), 2), UnknownAddressError);
    // A drum-key block may read on into the blocks behind it.
    EXPECT_EQ(memory.Bytes(PackAddress(0x47, 0, 0), 88).size(), 88u);
}

TEST(ParameterMemoryRegions, LieWhereStoredImagesExpectThem)
{
    ParameterMemory memory;
    EXPECT_EQ(memory.Region(kPerformanceRegion).data(), memory.ByteAt(0x30, 0x00, 0));
    EXPECT_EQ(memory.Region(kPerformanceRegion).size(), 8192u);
    EXPECT_EQ(memory.Region(kNormalVoiceRegion).data(), memory.ByteAt(0x40, 0x00, 0));
    EXPECT_EQ(memory.Region(kNormalVoiceRegion).size(), 3072u);
    EXPECT_EQ(memory.Region(kDrumVoiceRegion).data(), memory.ByteAt(0x46, 0x00, 0));
    EXPECT_EQ(memory.Region(kDrumVoiceRegion).size(), 8192u);
    // The performance region carries the whole normal-voice region behind its blocks.
    EXPECT_EQ(memory.Region(kPerformanceRegion).data() + 4096, memory.Region(kNormalVoiceRegion).data());
    // Name and category positions inside the stored images.
    EXPECT_EQ(memory.ByteAt(0x40, 0x70, 0) - memory.Region(kNormalVoiceRegion).data(), 896);
    EXPECT_EQ(memory.ByteAt(0x40, 0x70, 12) - memory.Region(kNormalVoiceRegion).data(), 908);
    EXPECT_EQ(memory.ByteAt(0x46, 0x70, 0) - memory.Region(kDrumVoiceRegion).data(), 768);
    // The last drum key ends inside the drum region; its last 744 bytes hold no block.
    EXPECT_EQ(memory.ByteAt(0x4A, 72, 8) - memory.Region(kDrumVoiceRegion).data(), 7448);
}

TEST(ParameterMemoryAddress, PackingAndFormatting)
{
    EXPECT_EQ(PackAddress(0x30, 0x00, 0x0C), 0xC000Cu);
    EXPECT_EQ(MakeBlockKey(0x31, 0x02), PackAddress(0x31, 0x02, 0));
    EXPECT_EQ(AddressHigh(PackAddress(0x7F, 0x01, 0x02)), 0x7F);
    EXPECT_EQ(AddressMid(PackAddress(0x7F, 0x01, 0x02)), 0x01);
    EXPECT_EQ(AddressLow(PackAddress(0x7F, 0x01, 0x02)), 0x02);
    EXPECT_EQ(FormatAddress(PackAddress(0x30, 0x00, 0x0C)), "30 00 0C");
}

} // namespace
} // namespace cs6
