#include "sim/BulkSequence.h"

#include <gtest/gtest.h>

#include <numeric>

#include "tests/sim/InstrumentHarness.h"

namespace cs6::sim {
namespace {

using test::Bytes;

struct Row {
    int high, mid, low, count;
};

std::vector<BulkBlock> Blocks(std::initializer_list<Row> rows)
{
    std::vector<BulkBlock> blocks;
    for (const Row& row : rows)
        blocks.push_back({PackAddress(row.high, row.mid, row.low), row.count});
    return blocks;
}

std::vector<BulkBlock> AsVector(std::span<const BulkBlock> blocks) { return {blocks.begin(), blocks.end()}; }

TEST(BulkSequence, NormalVoiceBlocksInTransmissionOrder)
{
    const auto expected = Blocks({
        {0x40, 0x00, 0, 13}, {0x40, 0x01, 0, 24}, {0x40, 0x02, 0, 25}, {0x40, 0x03, 0, 22},
        {0x40, 0x04, 0, 34}, {0x40, 0x05, 0, 30}, {0x40, 0x06, 0, 14}, {0x40, 0x70, 0, 56}, // name block last
        {0x41, 0, 0x00, 13}, {0x41, 0, 0x20, 29}, {0x42, 0, 0, 27}, {0x43, 0, 0, 48}, {0x44, 0, 0x00, 8}, {0x44, 0, 0x40, 6},
        {0x41, 1, 0x00, 13}, {0x41, 1, 0x20, 29}, {0x42, 1, 0, 27}, {0x43, 1, 0, 48}, {0x44, 1, 0x00, 8}, {0x44, 1, 0x40, 6},
        {0x41, 2, 0x00, 13}, {0x41, 2, 0x20, 29}, {0x42, 2, 0, 27}, {0x43, 2, 0, 48}, {0x44, 2, 0x00, 8}, {0x44, 2, 0x40, 6},
        {0x41, 3, 0x00, 13}, {0x41, 3, 0x20, 29}, {0x42, 3, 0, 27}, {0x43, 3, 0, 48}, {0x44, 3, 0x00, 8}, {0x44, 3, 0x40, 6},
    });
    EXPECT_EQ(AsVector(BulkBlocks(SoundKind::NormalVoice)), expected);
    EXPECT_EQ(BulkMessageCount(SoundKind::NormalVoice), 34u);
}

TEST(BulkSequence, DrumVoiceBlocksInTransmissionOrder)
{
    // Common blocks with the name block second, then five blocks for each of the 73 keys.
    auto expected = Blocks({
        {0x46, 0x00, 0, 7}, {0x46, 0x70, 0, 56}, {0x46, 0x01, 0, 24}, {0x46, 0x02, 0, 25},
        {0x46, 0x03, 0, 22}, {0x46, 0x04, 0, 34}, {0x46, 0x05, 0, 30},
    });
    for (int key = 0; key <= 72; ++key) {
        const auto keyBlocks = Blocks({{0x47, key, 0x00, 18}, {0x47, key, 0x20, 12}, {0x48, key, 0, 3},
                                       {0x49, key, 0, 8}, {0x4A, key, 0, 8}});
        expected.insert(expected.end(), keyBlocks.begin(), keyBlocks.end());
    }
    EXPECT_EQ(AsVector(BulkBlocks(SoundKind::DrumVoice)), expected);
    EXPECT_EQ(BulkMessageCount(SoundKind::DrumVoice), 374u);
}

TEST(BulkSequence, EveryBlockStaysInsideTheStoredRegionOfItsKind)
{
    const ParameterMemory memory;
    for (const SoundKind kind : {SoundKind::Performance, SoundKind::NormalVoice, SoundKind::DrumVoice}) {
        const MemoryRegion region = StoredRegion(kind);
        for (const BulkBlock& block : BulkBlocks(kind)) {
            // The sequence tables and the memory's size table are written
            // separately; a block must carry the count the memory knows it by.
            EXPECT_EQ(memory.BulkSize(block.address), block.count) << FormatAddress(block.address);
            const auto bytes = memory.Bytes(block.address, static_cast<std::size_t>(block.count));
            const auto offset = static_cast<std::size_t>(bytes.data() - memory.image.data());
            EXPECT_GE(offset, region.offset) << FormatAddress(block.address);
            EXPECT_LE(offset + bytes.size(), region.offset + region.size) << FormatAddress(block.address);
            EXPECT_TRUE(memory.FitsInBlock(block.address, bytes.size())) << FormatAddress(block.address);
        }
    }
}

TEST(BulkSequence, BuildFramesTheBlocksWithHeaderAndFooterAndCarriesTheMemory)
{
    ParameterMemory memory;
    memory.ByteAt(0x40, 0x70, 0)[0] = 'V';
    memory.ByteAt(0x44, 0x03, 0x45)[0] = 0x5A; // last byte of the last block

    const auto messages = BuildBulk(memory, SoundKind::NormalVoice, 0x08, 0x05);
    ASSERT_EQ(messages.size(), 34u);
    EXPECT_EQ(messages.front(), (Bytes{0xF0, 0x43, 0x00, 0x64, // bulk dump, CS6x
                                       0x00, 0x00,             // no data
                                       0x0E, 0x08, 0x05,       // header: INT, program 5
                                       0x65,                   // checksum: 0E + 08 + 05 = 0x1B
                                       0xF7}));
    EXPECT_EQ(messages.back(), (Bytes{0xF0, 0x43, 0x00, 0x64, 0x00, 0x00, 0x0F, 0x08, 0x05, 0x64, 0xF7}));
    EXPECT_EQ(messages[8][9], 'V'); // 40 70 is the eighth block
    const Bytes& last = messages[32];
    EXPECT_EQ((Bytes{last[6], last[7], last[8]}), (Bytes{0x44, 0x03, 0x40}));
    EXPECT_EQ(last[9 + 5], 0x5A);
    for (const Bytes& message : messages)
        EXPECT_TRUE(sysex::IsValidBulkDump(message));
}

TEST(BulkSequence, WireBytesOfEachWholeSound)
{
    // 11 bytes of framing per message plus the data: what pacing will charge.
    auto bytes = [](SoundKind kind) {
        const auto blocks = BulkBlocks(kind);
        return std::accumulate(blocks.begin(), blocks.end(), 11 * BulkMessageCount(kind),
                               [](std::size_t sum, const BulkBlock& b) { return sum + static_cast<std::size_t>(b.count); });
    };
    EXPECT_EQ(bytes(SoundKind::Performance), 1449u); // 1075 data bytes
    EXPECT_EQ(bytes(SoundKind::NormalVoice), 1116u); // 742
    EXPECT_EQ(bytes(SoundKind::DrumVoice), 7889u);  // 3775
}

} // namespace
} // namespace cs6::sim
