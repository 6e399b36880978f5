// Whole-sound requests and bulk sends of the instrument model, against a
// scripted link.
#include <gtest/gtest.h>

#include "synth/BulkSequences.h"
#include "synth/SynthDevice.h"
#include "synth/SysExMessages.h"
#include "tests/FakeInstrumentLink.h"

namespace cs6 {
namespace {

using test::Batch;
using test::Bytes;
using namespace std::chrono_literals;

// A whole answer as the instrument sends it: header, blocks filled with a
// pattern, footer.
Batch Answer(std::span<const BulkBlock> blocks, int mid, int low, std::uint8_t seed)
{
    Batch batch{sysex::BulkDump(0x0E, mid, low, {})};
    for (const auto& block : blocks) {
        Bytes data(static_cast<std::size_t>(block.count));
        for (std::size_t i = 0; i < data.size(); ++i)
            data[i] = static_cast<std::uint8_t>((seed + i + block.address) & 0x7F);
        batch.push_back(sysex::BulkDump(AddressHigh(block.address), AddressMid(block.address),
                                        AddressLow(block.address), data));
    }
    batch.push_back(sysex::BulkDump(0x0F, mid, low, {}));
    return batch;
}

class TransfersTest : public ::testing::Test {
protected:
    void SetUp() override { link.Attach(device); }

    std::vector<std::uint8_t> Image() const { return {device.Memory().image.begin(), device.Memory().image.end()}; }

    test::FakeInstrumentLink link;
    SynthDevice device;
};

TEST_F(TransfersTest, ExpectedReplyCounts)
{
    EXPECT_EQ(ExpectedReplies(DumpType::Performance), 34);
    EXPECT_EQ(ExpectedReplies(DumpType::NormalVoice), 34);
    EXPECT_EQ(ExpectedReplies(DumpType::DrumVoice), 374);
    EXPECT_EQ(ExpectedReplies(static_cast<DumpType>(0)), 1);
    EXPECT_EQ(ExpectedReplies(static_cast<DumpType>(4)), 1);
    EXPECT_EQ(PerformanceBulkBlocks().size() + 2, 34u);
    EXPECT_EQ(NormalVoiceBulkBlocks().size() + 2, 34u);
    EXPECT_EQ(DrumVoiceBulkBlocks().size() + 2, 374u);
}

TEST_F(TransfersTest, AVoiceAnswerIsAppliedBlockByBlockSkippingHeaderAndFooter)
{
    link.batches.push_back(Answer(NormalVoiceBulkBlocks(), 0x0F, 0x00, 5));
    const auto before = Image();
    EXPECT_EQ(device.RequestDump(0x0E, 0x0F, 0x00, DumpType::NormalVoice), DumpOutcome::Complete);

    // Armed for 34 before the request went out.
    EXPECT_EQ(link.armed, std::vector<int>{34});
    EXPECT_EQ(link.sent, std::vector<Bytes>{sysex::DumpRequest(0x0E, 0x0F, 0x00)});

    const ParameterMemory& memory = device.Memory();
    for (const auto& block : NormalVoiceBulkBlocks()) {
        const auto bytes = memory.Bytes(block.address, static_cast<std::size_t>(block.count));
        for (std::size_t i = 0; i < bytes.size(); ++i)
            ASSERT_EQ(bytes[i], (5 + i + block.address) & 0x7F) << FormatAddress(block.address);
    }
    // Nothing outside the normal-voice region changed; the header and footer
    // did not land in the scratch slot.
    const auto after = Image();
    for (std::size_t i = 0; i < after.size(); ++i) {
        if (i < kNormalVoiceRegion.offset || i >= kNormalVoiceRegion.offset + kNormalVoiceRegion.size) {
            ASSERT_EQ(after[i], before[i]) << "offset " << i;
        }
    }
}

TEST_F(TransfersTest, AnythingButACompleteGoodAnswerChangesNothing)
{
    struct Case {
        const char* what;
        Batch batch;
        DumpOutcome outcome;
    };
    const Batch good = Answer(PerformanceBulkBlocks(), 0x4F, 0x00, 9);
    std::vector<Case> cases;
    cases.push_back({"silence", {}, DumpOutcome::NotAnswered});
    {
        Batch batch = good;
        batch.pop_back();
        cases.push_back({"33 of 34", batch, DumpOutcome::Incomplete});
    }
    {
        Batch batch = good;
        batch.push_back(good[1]);
        cases.push_back({"35 of 34", batch, DumpOutcome::Incomplete});
    }
    {
        Batch batch = good;
        batch[10][12] ^= 0x01; // a data byte: the checksum no longer fits
        cases.push_back({"bad checksum", batch, DumpOutcome::Corrupt});
    }
    {
        Batch batch = good;
        batch[5] = sysex::BulkDump(0x31, 0x10, 0x00, Bytes(37, 1)); // no part 17
        cases.push_back({"address outside the directory", batch, DumpOutcome::Corrupt});
    }
    {
        Batch batch = good;
        batch[5] = sysex::BulkDump(0x30, 0x00, 0x40, Bytes(70, 1)); // 64 + 70 > 128
        cases.push_back({"data past the block's room", batch, DumpOutcome::Corrupt});
    }
    {
        Batch batch = good;
        batch[6] = sysex::BulkDump(0x48, 0x02, 0x00, Bytes(9, 1)); // a drum-key block holds 8
        cases.push_back({"drum key past its room", batch, DumpOutcome::Corrupt});
    }
    {
        Batch batch = good;
        batch[7][1] = 0x41; // not Yamaha
        cases.push_back({"another maker", batch, DumpOutcome::Corrupt});
    }
    {
        Batch batch = good;
        batch[8].resize(batch[8].size() - 3);
        cases.push_back({"truncated message", batch, DumpOutcome::Corrupt});
    }

    for (auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto before = Image();
        link.batches.push_back(c.batch);
        EXPECT_EQ(device.RequestDump(0x0E, 0x4F, 0x00, DumpType::Performance), c.outcome);
        EXPECT_EQ(Image(), before);
    }
}

TEST_F(TransfersTest, ARepliesAddressDecidesWhereItGoesWhateverWasRequested)
{
    Batch batch = Answer(NormalVoiceBulkBlocks(), 0x0F, 0x00, 1);
    batch[3] = sysex::BulkDump(0x31, 0x05, 0x00, Bytes(37, 0x55)); // part 6
    link.batches.push_back(batch);
    EXPECT_EQ(device.RequestDump(0x0E, 0x0F, 0x00, DumpType::NormalVoice), DumpOutcome::Complete);
    EXPECT_EQ(*device.ByteAt(0x31, 0x05, 0x00), 0x55);
    EXPECT_EQ(*device.ByteAt(0x31, 0x05, 36), 0x55);
}

TEST_F(TransfersTest, OtherDumpTypesExpectExactlyOneReply)
{
    link.batches.push_back({sysex::BulkDump(0x30, 0x00, 0x00, Bytes(68, 0x22))});
    EXPECT_EQ(device.RequestDump(0x0E, 0x4F, 0x00, static_cast<DumpType>(0)), DumpOutcome::Complete);
    EXPECT_EQ(link.armed.back(), 1);
    EXPECT_EQ(*device.ByteAt(0x30, 0x00, 67), 0x22);
    link.batches.push_back({sysex::BulkDump(0x30, 0x00, 0x00, Bytes(68, 0x33)), sysex::BulkDump(0x0F, 0, 0, {})});
    EXPECT_EQ(device.RequestDump(0x0E, 0x4F, 0x00, static_cast<DumpType>(4)), DumpOutcome::Incomplete);
    EXPECT_EQ(*device.ByteAt(0x30, 0x00, 67), 0x22);
}

TEST_F(TransfersTest, WithoutAReplySourceARequestIsNotAnswered)
{
    device.SetReplySource(nullptr);
    EXPECT_EQ(device.RequestDump(0x0E, 0x4F, 0x00, DumpType::Performance), DumpOutcome::NotAnswered);
    EXPECT_EQ(link.sent.size(), 1u);
}

TEST_F(TransfersTest, PerformanceBulkOrderBytesAndPauses)
{
    device.SendPerformance(63, 79, 0);
    ASSERT_EQ(link.sent.size(), 34u);
    EXPECT_EQ(link.sent.front(), (Bytes{0xF0, 0x43, 0x00, 0x64, 0x00, 0x00, 0x0E, 0x4F, 0x00, 0x23, 0xF7}));
    EXPECT_EQ(link.sent.back(), (Bytes{0xF0, 0x43, 0x00, 0x64, 0x00, 0x00, 0x0F, 0x4F, 0x00, 0x22, 0xF7}));
    // Blocks in order: 30 00 .. 30 20, 32 00 .. 32 03, parts 1..16, AD, CL, PLG1, PLG2.
    const std::vector<std::pair<std::uint32_t, int>> expected = [] {
        std::vector<std::pair<std::uint32_t, int>> list = {
            {PackAddress(0x30, 0x00, 0), 68}, {PackAddress(0x30, 0x01, 0), 24}, {PackAddress(0x30, 0x02, 0), 25},
            {PackAddress(0x30, 0x03, 0), 22}, {PackAddress(0x30, 0x04, 0), 34}, {PackAddress(0x30, 0x05, 0), 10},
            {PackAddress(0x30, 0x10, 0), 20}, {PackAddress(0x30, 0x20, 0), 68}, {PackAddress(0x32, 0x00, 0), 16},
            {PackAddress(0x32, 0x01, 0), 16}, {PackAddress(0x32, 0x02, 0), 16}, {PackAddress(0x32, 0x03, 0), 16}};
        for (int pp : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 0x40, 0x50, 0x60, 0x61})
            list.push_back({PackAddress(0x31, pp, 0), 37});
        return list;
    }();
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto fields = sysex::ReadBulkDump(link.sent[i + 1]);
        ASSERT_TRUE(fields);
        EXPECT_EQ(fields->Address(), expected[i].first) << i;
        EXPECT_EQ(fields->byteCount, expected[i].second) << i;
        EXPECT_TRUE(sysex::IsValidBulkDump(link.sent[i + 1]));
    }
    EXPECT_EQ(link.pauses, std::vector<std::chrono::milliseconds>(34, 50ms));
}

TEST_F(TransfersTest, VoiceBulksPauseTenMillisecondsAfterEveryMessage)
{
    device.SendNormalVoiceBulk(0x08, 0x05);
    ASSERT_EQ(link.sent.size(), 34u);
    EXPECT_EQ(link.sent.front(), sysex::BulkDump(0x0E, 0x08, 0x05, {}));
    EXPECT_EQ(link.sent.back(), sysex::BulkDump(0x0F, 0x08, 0x05, {}));
    EXPECT_EQ(sysex::ReadBulkDump(link.sent[9])->Address(), PackAddress(0x41, 0x00, 0x00));
    EXPECT_EQ(sysex::ReadBulkDump(link.sent[10])->Address(), PackAddress(0x41, 0x00, 0x20));
    EXPECT_EQ(link.pauses, std::vector<std::chrono::milliseconds>(34, 10ms));

    link.sent.clear();
    link.pauses.clear();
    device.SendDrumVoiceBulk(0x28, 0x01);
    ASSERT_EQ(link.sent.size(), 374u);
    // 46 00, then the name block 46 70, then 46 01 .. 46 05.
    EXPECT_EQ(sysex::ReadBulkDump(link.sent[1])->Address(), PackAddress(0x46, 0x00, 0x00));
    EXPECT_EQ(sysex::ReadBulkDump(link.sent[2])->Address(), PackAddress(0x46, 0x70, 0x00));
    EXPECT_EQ(sysex::ReadBulkDump(link.sent[8])->Address(), PackAddress(0x47, 0x00, 0x00));
    EXPECT_EQ(sysex::ReadBulkDump(link.sent[372])->Address(), PackAddress(0x4A, 72, 0x00));
    EXPECT_EQ(link.pauses, std::vector<std::chrono::milliseconds>(374, 10ms));
}

TEST_F(TransfersTest, MemoryToBulkToMemoryGivesBackTheSameBytes)
{
    for (std::size_t i = 0; i < device.Memory().image.size(); ++i)
        device.Memory().image[i] = static_cast<std::uint8_t>((i * 13 + 1) & 0x7F);
    device.SendPerformance(0x3F, 0x4F, 0x00);
    const Batch sent = link.sent;

    SynthDevice other;
    test::FakeInstrumentLink otherLink;
    otherLink.Attach(other);
    otherLink.batches.push_back(sent);
    ASSERT_EQ(other.RequestDump(0x0E, 0x4F, 0x00, DumpType::Performance), DumpOutcome::Complete);
    for (const auto& block : PerformanceBulkBlocks()) {
        const auto a = device.Memory().Bytes(block.address, static_cast<std::size_t>(block.count));
        const auto b = other.Memory().Bytes(block.address, static_cast<std::size_t>(block.count));
        EXPECT_TRUE(std::equal(a.begin(), a.end(), b.begin())) << FormatAddress(block.address);
    }
}

TEST_F(TransfersTest, ASwitchPulseIsOnThenOffFiftyMillisecondsApart)
{
    SwitchPulse(device, 0x10);
    EXPECT_EQ(link.sent, (std::vector<Bytes>{
                             {0xF0, 0x43, 0x10, 0x64, 0x0A, 0x00, 0x10, 0x01, 0xF7}, // switch 10 on
                             {0xF0, 0x43, 0x10, 0x64, 0x0A, 0x00, 0x10, 0x00, 0xF7}, // and off
                         }));
    EXPECT_EQ(link.pauses, (std::vector<std::chrono::milliseconds>{50ms, 50ms}));
}

} // namespace
} // namespace cs6
