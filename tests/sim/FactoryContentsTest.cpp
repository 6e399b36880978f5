#include "sim/FactoryContents.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "synth/NameTables.h"
#include "tests/sim/InstrumentHarness.h"

namespace cs6::sim {
namespace {

using test::Bytes;

// Position inside a stored image of byte low of block (high, mid).
std::size_t InImage(SoundKind kind, int high, int mid, int low = 0)
{
    static const ParameterMemory layout;
    return *layout.BlockOffset(MakeBlockKey(high, mid)) + static_cast<std::size_t>(low) - StoredRegion(kind).offset;
}

int EffectKey(std::span<const std::uint8_t> image, std::size_t at) { return image[at] * 256 + image[at + 1]; }

class FactoryContents : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InitNameTables(); }

    // Built once for the suite; the factory is slow enough to matter.
    static const SoundBanks& Factory()
    {
        static const SoundBanks made = MakeFactoryBanks();
        return made;
    }

    const SoundBanks* banks = &Factory();
};

bool IsPrintableName(std::span<const std::uint8_t> bytes)
{
    for (const std::uint8_t b : bytes)
        if (b < 0x20 || b > 0x7E)
            return false;
    return true;
}

TEST_F(FactoryContents, AreTheSameOnEveryBuild)
{
    EXPECT_TRUE(MakeFactoryBanks() == *banks);
    EXPECT_EQ(MakeInitialPerformanceImage(), MakeInitialPerformanceImage());
}

TEST_F(FactoryContents, EveryStoredByteIsSevenBitSoItCanTravelInABulk)
{
    for (const BankInfo& info : SoundBanks::Banks())
        for (int program = 0; program < info.programs; ++program) {
            const auto image = banks->Image(info.code, program);
            ASSERT_EQ(image.size(), SoundBanks::ImageSize(info.kind));
            for (std::size_t i = 0; i < image.size(); ++i)
                ASSERT_LT(image[i], 0x80) << "bank " << info.code << " program " << program << " byte " << i;
        }
}

TEST_F(FactoryContents, VoicesCoverAllCategoriesWithDistinctPrintableNamesPerBank)
{
    std::set<int> categories;
    for (const int code : {bank::kPre1, bank::kPre2, bank::kInt, bank::kExt}) {
        std::set<std::string> names;
        for (int program = 0; program < 128; ++program) {
            const auto image = banks->Image(code, program);
            const int category = image[field::kVoiceCategory];
            ASSERT_LT(category, 23);
            categories.insert(category);
            EXPECT_TRUE(IsPrintableName(image.subspan(field::kVoiceName, field::kNameLength)));
            const std::string name = ImageName(image, SoundKind::NormalVoice);
            EXPECT_FALSE(name.empty());
            EXPECT_TRUE(names.insert(name).second) << "bank " << code << " repeats " << name;
        }
    }
    EXPECT_EQ(categories.size(), 23u);
}

TEST_F(FactoryContents, KitsAndPerformancesHaveDistinctNames)
{
    for (const BankInfo& info : SoundBanks::Banks()) {
        if (info.kind == SoundKind::NormalVoice)
            continue;
        std::set<std::string> names;
        for (int program = 0; program < info.programs; ++program) {
            const auto image = banks->Image(info.code, program);
            const std::size_t at = info.kind == SoundKind::DrumVoice ? field::kKitName : field::kPerformanceName;
            EXPECT_TRUE(IsPrintableName(image.subspan(at, field::kNameLength)));
            EXPECT_TRUE(names.insert(ImageName(image, info.kind)).second);
        }
    }
}

TEST_F(FactoryContents, ReverbAndChorusTypesAreKeysOfTheEffectTable)
{
    for (const int key : FactoryReverbTypes())
        EXPECT_FALSE(EffectTypeName(key).empty()) << key;
    for (const int key : FactoryChorusTypes())
        EXPECT_FALSE(EffectTypeName(key).empty()) << key;

    std::set<int> used;
    for (const BankInfo& info : SoundBanks::Banks()) {
        const int high = info.kind == SoundKind::Performance ? 0x30 : info.kind == SoundKind::NormalVoice ? 0x40 : 0x46;
        for (int program = 0; program < info.programs; ++program) {
            const auto image = banks->Image(info.code, program);
            for (const int mid : {0x01, 0x02}) { // reverb, chorus
                const int key = EffectKey(image, InImage(info.kind, high, mid));
                EXPECT_NE(effectTypeNames.count(key), 0u) << "bank " << info.code << " program " << program;
                used.insert(key);
            }
        }
    }
    EXPECT_GT(used.size(), 10u); // a variety, not one type everywhere
}

TEST_F(FactoryContents, PerformancePartsPlayExistingPresetSoundsOnSensibleSettings)
{
    for (const int code : {bank::kIntPerf, bank::kExtPerf}) {
        const auto info = SoundBanks::FindBank(code);
        for (int program = 0; program < info->programs; ++program) {
            const auto image = banks->Image(code, program);
            EXPECT_LT(image[perf::kCategory], 23);
            EXPECT_GT(image[perf::kVolume], 0);
            int listening = 0;
            for (const int part : PartIndexes()) {
                const std::size_t at = InImage(SoundKind::Performance, 0x31, part);
                const auto sound = SoundBanks::FindBank(image[at + perf::kPartBankLsb]);
                ASSERT_TRUE(sound.has_value()) << "perf " << program << " part " << part;
                EXPECT_NE(sound->kind, SoundKind::Performance);
                EXPECT_FALSE(sound->writable) << "factory performances use the presets";
                EXPECT_EQ(image[at + perf::kPartBankMsb], kStoredBankMsb);
                EXPECT_LT(image[at + perf::kPartProgram], sound->programs);
                EXPECT_LE(image[at + perf::kPartReceiveChannel], perf::kReceiveOff);
                EXPECT_GE(image[at + perf::kPartVolume], 64);
                EXPECT_GE(image[at + perf::kPartNoteShift], 40);
                EXPECT_LE(image[at + perf::kPartNoteShift], 88);
                listening += image[at + perf::kPartReceiveChannel] != perf::kReceiveOff;
            }
            EXPECT_GE(listening, 2) << "perf " << program;
        }
    }
}

TEST_F(FactoryContents, InitialPerformanceIsNeutral)
{
    const Bytes image = MakeInitialPerformanceImage();
    ASSERT_EQ(image.size(), 8192u);
    EXPECT_EQ(ImageName(image, SoundKind::Performance), "Init Perf");
    EXPECT_EQ(image[field::kNameLength - 1], ' '); // padded with a blank, not a zero
    EXPECT_EQ(image[perf::kCategory], 0);
    EXPECT_EQ(EffectTypeName(EffectKey(image, InImage(SoundKind::Performance, 0x30, 0x01))), "Hall 1");
    EXPECT_EQ(EffectTypeName(EffectKey(image, InImage(SoundKind::Performance, 0x30, 0x02))), "Chorus 1");
    for (const int part : PartIndexes()) {
        const std::size_t at = InImage(SoundKind::Performance, 0x31, part);
        EXPECT_EQ(image[at + perf::kPartBankLsb], bank::kPre1);
        EXPECT_EQ(image[at + perf::kPartProgram], 0);
        EXPECT_EQ(image[at + perf::kPartReceiveChannel], part < 16 ? part : perf::kReceiveOff) << part;
        EXPECT_EQ(image[at + perf::kPartPan], 64);
        EXPECT_EQ(image[at + perf::kPartNoteShift], 64);
        EXPECT_EQ(image[at + perf::kPartSwitches] & 0x03, 0); // neither layered nor arpeggiated
    }
    // Behind the performance blocks lies the rest of an empty memory.
    EXPECT_EQ(Bytes(image.begin() + 4096, image.end()), Bytes(4096, 0));
}

} // namespace
} // namespace cs6::sim
