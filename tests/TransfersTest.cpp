// Whole-sound requests and bulk sends of the instrument model, against a
// scripted link.
#include <gtest/gtest.h>

#include <functional>

#include "synth/BulkSequences.h"
#include "synth/SynthDevice.h"
#include "synth/SysExMessages.h"
#include "tests/BlockList.h"
#include "tests/FakeInstrumentLink.h"

namespace cs6 {
namespace {

using test::Batch;
using test::Bytes;
using namespace std::chrono_literals;

// A whole answer as the instrument sends it, from a memory whose byte at
// offset i holds seed + i.
Batch Answer(DumpType type, int mid, int low, std::uint8_t seed)
{
    ParameterMemory memory;
    for (std::size_t i = 0; i < memory.image.size(); ++i)
        memory.image[i] = static_cast<std::uint8_t>((seed + i) & 0x7F);
    return BuildBulk(memory, type, mid, low);
}

class TransfersTest : public ::testing::Test {
protected:
    void SetUp() override { link.Attach(device); }

    std::vector<std::uint8_t> Image() const { return {device.Memory().image.begin(), device.Memory().image.end()}; }

    test::FakeInstrumentLink link;
    SynthDevice device;
};

TEST_F(TransfersTest, AnythingButACompleteGoodAnswerChangesNothing)
{
    const Batch good = Answer(DumpType::Performance, 0x4F, 0x00, 9);
    const auto edited = [&good](const std::function<void(Batch&)>& change) {
        Batch batch = good;
        change(batch);
        return batch;
    };
    const struct {
        const char* what;
        Batch batch;
        DumpOutcome outcome;
    } cases[] = {
        {"silence", {}, DumpOutcome::NotAnswered},
        {"33 of 34", edited([](Batch& b) { b.pop_back(); }), DumpOutcome::Incomplete},
        {"35 of 34", edited([&good](Batch& b) { b.push_back(good[1]); }), DumpOutcome::Incomplete},
        // A data byte: the checksum no longer fits.
        {"bad checksum", edited([](Batch& b) { b[10][12] ^= 0x01; }), DumpOutcome::Corrupt},
        {"address outside the directory", // no part 17
         edited([](Batch& b) { b[5] = sysex::BulkDump(0x31, 0x10, 0x00, Bytes(37, 1)); }), DumpOutcome::Corrupt},
        {"data past the block's room", // 64 + 70 > 128
         edited([](Batch& b) { b[5] = sysex::BulkDump(0x30, 0x00, 0x40, Bytes(70, 1)); }), DumpOutcome::Corrupt},
        {"drum key past its room", // a drum-key block holds 8
         edited([](Batch& b) { b[6] = sysex::BulkDump(0x48, 0x02, 0x00, Bytes(9, 1)); }), DumpOutcome::Corrupt},
        {"another maker", edited([](Batch& b) { b[7][1] = 0x41; }), DumpOutcome::Corrupt},
        {"truncated message", edited([](Batch& b) { b[8].resize(b[8].size() - 3); }), DumpOutcome::Corrupt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto before = Image();
        link.batches.push_back(c.batch);
        EXPECT_EQ(device.RequestEditBuffer(DumpType::Performance), c.outcome);
        EXPECT_EQ(Image(), before);
    }
}

TEST_F(TransfersTest, ARepliesAddressDecidesWhereItGoesWhateverWasRequested)
{
    Batch batch = Answer(DumpType::NormalVoice, 0x0F, 0x00, 1);
    batch[3] = sysex::BulkDump(0x31, 0x05, 0x00, Bytes(37, 0x55)); // part 6
    link.batches.push_back(batch);
    EXPECT_EQ(device.RequestEditBuffer(DumpType::NormalVoice), DumpOutcome::Complete);
    EXPECT_EQ(std::tuple(*device.ByteAt(0x31, 0x05, 0x00), *device.ByteAt(0x31, 0x05, 36)), std::tuple(0x55, 0x55));
}

// The head's blocks, then for each index i the repeated group's "41 20" as
// block 41 i 20.
std::vector<std::uint32_t> Expand(const char* head, const char* repeated, int repeats)
{
    std::vector<std::uint32_t> addresses = test::BlockList(head);
    for (int index = 0; index < repeats; ++index)
        for (std::uint32_t a : test::BlockList(repeated))
            addresses.push_back(PackAddress(AddressHigh(a), index, AddressMid(a)));
    return addresses;
}

// What each whole-sound bulk sends, in order, with its pauses and its total
// of data bytes; every block lies in its kind's region and, as the answer to
// a request, comes back into another memory unchanged, nothing outside it.
TEST_F(TransfersTest, WholeSoundBulksSendTheirBlocksInOrderWithTheirPauses)
{
    struct Row {
        DumpType type;
        MemoryRegion region;
        int mid, low;
        std::chrono::milliseconds pause;
        std::size_t dataBytes;
        const char* head;
        const char* repeated;
        int repeats;
    };
    const Row rows[] = {
        {DumpType::Performance, kPerformanceRegion, 0x4F, 0x00, 50ms, 1075,
         "30 00-05, 30 10, 30 20, 32 00-03, 31 00-0F, 31 40, 31 50, 31 60, 31 61", "", 0},
        {DumpType::NormalVoice, kNormalVoiceRegion, 0x08, 0x05, 10ms, 742, "40 00-06, 40 70",
         "41 00, 41 20, 42 00, 43 00, 44 00, 44 40", 4},
        {DumpType::DrumVoice, kDrumVoiceRegion, 0x28, 0x01, 10ms, 3775, "46 00, 46 70, 46 01-05",
         "47 00, 47 20, 48 00, 49 00, 4A 00", 73},
    };
    for (std::size_t i = 0; i < device.Memory().image.size(); ++i)
        device.Memory().image[i] = static_cast<std::uint8_t>((i * 13 + 1) & 0x7F);
    for (const Row& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.type));
        link.sent.clear();
        link.pauses.clear();
        device.SendBulk(row.type, row.mid, row.low);
        const auto addresses = Expand(row.head, row.repeated, row.repeats);
        ASSERT_EQ(link.sent.size(), addresses.size() + 2);
        EXPECT_EQ(static_cast<int>(link.sent.size()), ExpectedReplies(row.type));
        EXPECT_EQ(link.sent.front(), sysex::BulkDump(0x0E, row.mid, row.low, {}));
        EXPECT_EQ(link.sent.back(), sysex::BulkDump(0x0F, row.mid, row.low, {}));
        EXPECT_EQ(link.pauses, std::vector<std::chrono::milliseconds>(link.sent.size(), row.pause));
        std::size_t dataBytes = 0;
        for (std::size_t i = 0; i < addresses.size(); ++i) {
            const auto fields = sysex::ReadBulkDump(link.sent[i + 1]);
            ASSERT_TRUE(fields && sysex::IsValidBulkDump(link.sent[i + 1])) << i;
            ASSERT_EQ(fields->Address(), addresses[i]) << FormatAddress(fields->Address());
            dataBytes += fields->data.size();
            const auto offset = static_cast<std::size_t>(device.Memory().ByteAtAddress(addresses[i]) -
                                                         device.Memory().image.data());
            EXPECT_GE(offset, row.region.offset);
            EXPECT_LE(offset + fields->data.size(), row.region.offset + row.region.size);
        }
        EXPECT_EQ(dataBytes, row.dataBytes);

        SynthDevice other;
        test::FakeInstrumentLink otherLink;
        otherLink.Attach(other);
        otherLink.batches.push_back(link.sent);
        ASSERT_EQ(other.RequestDump(0x0E, row.mid, row.low, row.type), DumpOutcome::Complete);
        EXPECT_EQ(otherLink.armed, std::vector<int>{ExpectedReplies(row.type)});
        EXPECT_EQ(otherLink.sent, std::vector<Bytes>{sysex::DumpRequest(0x0E, row.mid, row.low)});
        auto outside = other.Memory().image; // header and footer land nowhere, blocks only in their region
        std::fill_n(outside.begin() + static_cast<std::ptrdiff_t>(row.region.offset), row.region.size, 0);
        EXPECT_EQ(outside, ParameterMemory().image);
        for (std::uint32_t address : addresses) {
            const auto count = static_cast<std::size_t>(device.Memory().BulkSize(address).value_or(0));
            const auto a = device.Memory().Bytes(address, count);
            const auto b = other.Memory().Bytes(address, count);
            EXPECT_TRUE(std::equal(a.begin(), a.end(), b.begin())) << FormatAddress(address);
        }
    }
    // The performance's header and footer, byte by byte.
    link.sent.clear();
    device.SendPerformance(0x3F, 0x4F, 0x00);
    EXPECT_EQ(link.sent.front(), (Bytes{0xF0, 0x43, 0x00, 0x64, // bulk dump, device 1, CS6x
                                        0x00, 0x00,             // byte count 0
                                        0x0E, 0x4F, 0x00,       // header: edit buffer 4F 00
                                        0x23, 0xF7}));
    EXPECT_EQ(link.sent.back(), (Bytes{0xF0, 0x43, 0x00, 0x64, 0x00, 0x00, 0x0F, 0x4F, 0x00, 0x22, 0xF7}));
}

} // namespace
} // namespace cs6
