#include "sim/DataFiles.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "framework/FileIo.h"
#include "sim/EmulatedInstrument.h"
#include "sim/FactoryContents.h"
#include "tests/sim/InstrumentHarness.h"

namespace cs6::sim {
namespace {

namespace fs = std::filesystem;
using test::Bytes;

// A fresh directory per test, removed afterwards.
class DataFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        directory = fs::path(::testing::TempDir()) / (std::string("cs6sim_") + info->name() + "_" + std::to_string(::getpid()));
        fs::remove_all(directory);
        fs::create_directories(directory);
    }
    void TearDown() override { fs::remove_all(directory); }

    fs::path directory;
};

TEST_F(DataFiles, TheFourFilesHaveTheirExactSizesAndNoTemporaryIsLeft)
{
    const WriteResult result = WriteFactoryDataFiles(directory);
    ASSERT_EQ(result.outcome, WriteResult::Outcome::Written) << result.detail;
    EXPECT_EQ(fs::file_size(directory / "patches_pre.bnk"), 852760u);
    EXPECT_EQ(fs::file_size(directory / "patches_int.bnk"), 409990u);
    EXPECT_EQ(fs::file_size(directory / "patches_ext.bnk"), 409990u);
    EXPECT_EQ(fs::file_size(directory / "perf_init.prf"), 8192u);
    EXPECT_EQ(std::distance(fs::directory_iterator(directory), fs::directory_iterator()), 4);
}

TEST_F(DataFiles, RecordsAreImageThenBankMsbLsbAndProgram)
{
    const SoundBanks banks = MakeFactoryBanks();
    const Bytes pre = BankFileBytes(banks, BankFile::Preset);
    ASSERT_EQ(pre.size(), kPresetBankFileSize);
    const auto location = [&](const Bytes& file, std::size_t at) { return Bytes(file.begin() + static_cast<std::ptrdiff_t>(at), file.begin() + static_cast<std::ptrdiff_t>(at) + 3); };
    EXPECT_EQ(location(pre, 3072), (Bytes{0x3F, 0x00, 0x00}));                    // PRE1 1
    EXPECT_EQ(location(pre, 3075 + 3072), (Bytes{0x3F, 0x00, 0x01}));             // PRE1 2
    EXPECT_EQ(location(pre, 128 * 3075 + 3072), (Bytes{0x3F, 0x01, 0x00}));       // PRE2 1
    EXPECT_EQ(location(pre, 256 * 3075 + 8192), (Bytes{0x3F, 0x20, 0x00}));       // PRE drum 1
    EXPECT_EQ(location(pre, pre.size() - 3), (Bytes{0x3F, 0x20, 0x07}));          // PRE drum 8, last bytes
    // The name of PRE2 3 sits at 896 inside its record.
    const auto pre2Program3 = banks.Image(bank::kPre2, 2);
    EXPECT_EQ(Bytes(pre.begin() + (128 + 2) * 3075 + 896, pre.begin() + (128 + 2) * 3075 + 906),
              Bytes(pre2Program3.begin() + 896, pre2Program3.begin() + 906));

    const Bytes user = BankFileBytes(banks, BankFile::Int);
    ASSERT_EQ(user.size(), kUserBankFileSize);
    EXPECT_EQ(location(user, 127 * 3075 + 3072), (Bytes{0x3F, 0x08, 0x7F})); // INT 128
    EXPECT_EQ(location(user, user.size() - 3), (Bytes{0x3F, 0x28, 0x01}));    // INT kit 2
    const Bytes ext = BankFileBytes(banks, BankFile::Ext);
    EXPECT_EQ(location(ext, 3072), (Bytes{0x3F, 0x09, 0x00}));
    EXPECT_EQ(location(ext, ext.size() - 3), (Bytes{0x3F, 0x29, 0x01}));
}

void ExpectSameContents(const BankFileContents& read, const SoundBanks& banks, std::initializer_list<int> voiceBanks,
                        int kitBank, int kits)
{
    ASSERT_EQ(read.outcome, BankFileContents::Outcome::Read);
    ASSERT_EQ(read.voices.size(), 128 * voiceBanks.size());
    ASSERT_EQ(read.kits.size(), static_cast<std::size_t>(kits));
    std::size_t i = 0;
    for (const int code : voiceBanks)
        for (int program = 0; program < 128; ++program, ++i) {
            const NormalVoice& record = read.voices[i];
            const auto image = banks.Image(code, program);
            EXPECT_EQ(Bytes(record.image.begin(), record.image.end()), Bytes(image.begin(), image.end()))
                << code << " " << program;
            EXPECT_EQ(record.bankMsb, 0x3F);
            EXPECT_EQ(record.bankLsb, code);
            EXPECT_EQ(record.program, program);
        }
    for (int program = 0; program < kits; ++program) {
        const DrumVoice& record = read.kits[static_cast<std::size_t>(program)];
        const auto image = banks.Image(kitBank, program);
        EXPECT_EQ(Bytes(record.image.begin(), record.image.end()), Bytes(image.begin(), image.end()));
        EXPECT_EQ(record.bankLsb, kitBank);
        EXPECT_EQ(record.program, program);
    }
}

TEST_F(DataFiles, ReadBackIntoWhatTheInstrumentHolds)
{
    // Store a renamed voice at INT 6 first: the files follow the instrument.
    EmulatedInstrument instrument(InstrumentOptions::ForUnitTests());
    ParameterMemory memory;
    auto voice = instrument.StoredImage(bank::kPre1, 9);
    std::copy_n("Renamed 6 ", 10, voice.begin() + field::kVoiceName);
    std::copy(voice.begin(), voice.end(), memory.Region(kNormalVoiceRegion).begin());
    for (const Bytes& message : BuildBulk(memory, SoundKind::NormalVoice, bank::kInt, 5))
        instrument.Receive(message);

    const SoundBanks banks = instrument.StoredSounds();
    const Bytes initial = MakeInitialPerformanceImage();
    const WriteResult result = WriteDataFiles(directory, banks, initial);
    ASSERT_EQ(result.outcome, WriteResult::Outcome::Written) << result.detail;

    ExpectSameContents(ReadBankFile(directory / kPresetBankFileName, BankFile::Preset), banks,
                       {bank::kPre1, bank::kPre2}, bank::kPreDrum, 8);
    const auto user = ReadBankFile(directory / kIntBankFileName, BankFile::Int);
    ExpectSameContents(user, banks, {bank::kInt}, bank::kIntDrum, 2);
    ExpectSameContents(ReadBankFile(directory / kExtBankFileName, BankFile::Ext), banks, {bank::kExt}, bank::kExtDrum, 2);
    EXPECT_EQ(ImageName(user.voices.at(5).image, SoundKind::NormalVoice), "Renamed 6");
    EXPECT_EQ(ReadWholeFile(directory / kInitialPerformanceFileName), initial);
}

TEST_F(DataFiles, ReaderRefusesFilesOfTheWrongSize)
{
    EXPECT_EQ(ReadBankBytes(Bytes(kUserBankFileSize - 1), BankFile::Int).outcome,
              BankFileContents::Outcome::WrongSize);
    EXPECT_EQ(ReadBankBytes(Bytes(kUserBankFileSize), BankFile::Preset).outcome,
              BankFileContents::Outcome::WrongSize);
    EXPECT_EQ(ReadBankFile(directory / "missing.bnk", BankFile::Int).outcome,
              BankFileContents::Outcome::CouldNotOpen);
}

TEST_F(DataFiles, SafeWriteReplacesAWholeFile)
{
    const fs::path path = directory / "perf_init.prf";
    ASSERT_EQ(WriteFileSafely(path, Bytes(100, 0x11)).outcome, WriteResult::Outcome::Written);
    ASSERT_EQ(WriteFileSafely(path, Bytes(10, 0x22)).outcome, WriteResult::Outcome::Written);
    EXPECT_EQ(ReadWholeFile(path), Bytes(10, 0x22));
}

TEST_F(DataFiles, FailuresSayWhichFileAndLeaveNoTemporary)
{
    const WriteResult missing = WriteFactoryDataFiles(directory / "no" / "such" / "dir");
    EXPECT_EQ(missing.outcome, WriteResult::Outcome::CouldNotWrite);
    EXPECT_FALSE(missing.detail.empty());
    EXPECT_EQ(missing.path, directory / "no" / "such" / "dir" / kPresetBankFileName);

    // A directory in the way of the final name: the rename fails.
    fs::create_directory(directory / kIntBankFileName);
    const WriteResult blocked = WriteFactoryDataFiles(directory);
    EXPECT_EQ(blocked.outcome, WriteResult::Outcome::CouldNotWrite);
    EXPECT_FALSE(blocked.detail.empty());
    EXPECT_EQ(blocked.path, directory / kIntBankFileName);
    EXPECT_FALSE(fs::exists(directory / "patches_int.bnk.tmp"));
    EXPECT_TRUE(fs::exists(directory / kPresetBankFileName)); // written before it
    EXPECT_FALSE(fs::exists(directory / kExtBankFileName));   // not attempted after it

    EXPECT_EQ(WriteDataFiles(directory, SoundBanks{}, Bytes(100)).outcome, WriteResult::Outcome::WrongImageSize);
}

} // namespace
} // namespace cs6::sim
