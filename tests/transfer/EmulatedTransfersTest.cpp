// Whole-sound transfers against the emulated instrument, over the transport.
#include <gtest/gtest.h>

#include "sim/DataFiles.h"
#include "synth/BankFiles.h"
#include "synth/NameTables.h"
#include "tests/transfer/EmulatedLink.h"

namespace cs6 {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

Bytes RegionOf(const ParameterMemory& memory, MemoryRegion region)
{
    const auto bytes = memory.Region(region);
    return {bytes.begin(), bytes.end()};
}

// Every region of the memory outside the one a request may change.
void ExpectOnlyRegionChanged(const ParameterMemory& memory, MemoryRegion changed)
{
    for (std::size_t i = 0; i < memory.image.size(); ++i) {
        if (i >= changed.offset && i < changed.offset + changed.size)
            continue;
        ASSERT_EQ(memory.image[i], 0) << "offset " << i;
    }
}

TEST(EmulatedTransfers, EachRequestFillsItsRegionAndOnlyThat)
{
    {
        test::EmulatedLink link;
        ASSERT_EQ(link.device.RequestDump(0x0E, 0x4F, 0x00, DumpType::Performance), DumpOutcome::Complete);
        const Bytes blocks = link.instrument->EditBuffer(sim::SoundKind::Performance);
        const Bytes ours = RegionOf(link.device.Memory(), {1024, 4096});
        EXPECT_EQ(ours, blocks);
        EXPECT_NE(ours, Bytes(4096, 0));
        ExpectOnlyRegionChanged(link.device.Memory(), {1024, 4096});
    }
    {
        test::EmulatedLink link;
        ASSERT_EQ(link.device.RequestDump(0x0E, 0x0F, 0x00, DumpType::NormalVoice), DumpOutcome::Complete);
        EXPECT_EQ(RegionOf(link.device.Memory(), kNormalVoiceRegion),
                  link.instrument->EditBuffer(sim::SoundKind::NormalVoice));
        ExpectOnlyRegionChanged(link.device.Memory(), kNormalVoiceRegion);
    }
    {
        test::EmulatedLink link;
        ASSERT_EQ(link.device.RequestDump(0x0E, 0x2F, 0x00, DumpType::DrumVoice), DumpOutcome::Complete);
        EXPECT_EQ(RegionOf(link.device.Memory(), kDrumVoiceRegion),
                  link.instrument->EditBuffer(sim::SoundKind::DrumVoice));
        ExpectOnlyRegionChanged(link.device.Memory(), kDrumVoiceRegion);
    }
}

TEST(EmulatedTransfers, FaultyAnswersChangeNothing)
{
    test::EmulatedLink link;
    struct Case {
        const char* what;
        sim::AnswerFaults faults;
        DumpOutcome outcome;
    };
    const Case cases[] = {
        {"33 of 34", {.onlyFirst = 33}, DumpOutcome::Incomplete},
        {"a wrong checksum", {.wrongChecksumAt = 7}, DumpOutcome::Corrupt},
        {"a dropped footer", {.dropFooter = true}, DumpOutcome::Incomplete},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        link.instrument->SetFaults(c.faults, sim::FaultScope::NextAnswer);
        EXPECT_EQ(link.device.RequestDump(0x0E, 0x4F, 0x00, DumpType::Performance), c.outcome);
        ExpectOnlyRegionChanged(link.device.Memory(), {0, 0});
    }
}

TEST(EmulatedTransfers, APerformanceIsSentWithFiftyMillisecondsBetweenMessages)
{
    test::EmulatedLink link;
    link.device.SendPerformance(63, 79, 0);
    ASSERT_EQ(link.instrument->WaitForReceived(34, 5s), sim::WaitOutcome::Reached);
    const auto received = link.instrument->ReceivedMessages();
    ASSERT_EQ(received.size(), 34u);
    EXPECT_EQ(received.front().bytes, (Bytes{0xF0, 0x43, 0x00, 0x64, 0x00, 0x00, 0x0E, 0x4F, 0x00, 0x23, 0xF7}));
    EXPECT_EQ(received.back().bytes, (Bytes{0xF0, 0x43, 0x00, 0x64, 0x00, 0x00, 0x0F, 0x4F, 0x00, 0x22, 0xF7}));
    for (std::size_t i = 1; i < received.size(); ++i)
        EXPECT_GE(received[i].time - received[i - 1].time, 50ms) << "after message " << i - 1;
}

TEST(EmulatedTransfers, AVoiceBulkKeepsTenMillisecondGapsAndIsStored)
{
    test::EmulatedLink link;
    NormalVoice voice(0x3F, 0x08, 0x05);
    voice.image[NormalVoice::kNameOffset] = 'Z';
    voice.SendToDevice(link.device);
    ASSERT_EQ(link.instrument->WaitForReceived(34, 5s), sim::WaitOutcome::Reached);
    const auto received = link.instrument->ReceivedMessages();
    for (std::size_t i = 1; i < received.size(); ++i)
        EXPECT_GE(received[i].time - received[i - 1].time, 10ms) << "after message " << i - 1;
    ASSERT_EQ(link.instrument->WaitUntilIdle(5s), sim::WaitOutcome::Reached);
    // Framed 0E 08 05 / 0F 08 05: stored at INT 6.
    const Bytes stored = link.instrument->StoredImage(0x08, 5);
    ASSERT_EQ(stored.size(), 3072u);
    EXPECT_EQ(stored[NormalVoice::kNameOffset], 'Z');
}

TEST(EmulatedTransfers, APresetVoiceIsFetchedThroughTheEditBuffer)
{
    test::EmulatedLink link;
    NormalVoice voice(0x3F, 0x01, 0x05);
    ASSERT_EQ(voice.RequestFromDevice(link.device), DumpOutcome::Complete);
    const Bytes stored = link.instrument->StoredImage(0x01, 5);
    EXPECT_EQ(Bytes(voice.image.begin(), voice.image.end()), stored);
    EXPECT_FALSE(voice.GetName().empty());
}

TEST(EmulatedTransfers, ReceivingTheUserBanksGivesTheInstrumentsOwnBankFiles)
{
    test::EmulatedLink link;
    InitNameTables();
    const FetchReport internal = FetchUserBank(link.device, 8, internalBank, internalDrums);
    const FetchReport external = FetchUserBank(link.device, 9, externalBank, externalDrums);
    EXPECT_TRUE(internal.Complete());
    EXPECT_TRUE(external.Complete());
    const auto banks = link.instrument->StoredSounds();
    EXPECT_EQ(SerializeUserBank(internalBank, internalDrums), sim::BankFileBytes(banks, sim::BankFile::Int));
    EXPECT_EQ(SerializeUserBank(externalBank, externalDrums), sim::BankFileBytes(banks, sim::BankFile::Ext));
}

TEST(EmulatedTransfers, ASilentInstrumentEndsAFetchAfterTwoIdleTimeouts)
{
    test::EmulatedLink link;
    link.instrument->SetFaults({.noAnswer = true}, sim::FaultScope::UntilCleared);
    internalBank[0] = NormalVoice(0x3F, 0x08, 0);
    internalBank[0].image[NormalVoice::kNameOffset] = 'K';
    const auto start = std::chrono::steady_clock::now();
    const FetchReport report = FetchUserBank(link.device, 8, internalBank, internalDrums);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5500ms);
    EXPECT_TRUE(report.notServed);
    EXPECT_EQ(report.requested, 2);
    EXPECT_EQ(internalBank[0].image[NormalVoice::kNameOffset], 'K');
}

} // namespace
} // namespace cs6
