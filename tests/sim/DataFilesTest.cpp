// The data files cs6sim writes for the editor: the editor's sizes and record
// layout, and a failure that names its file.
#include "sim/DataFiles.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include "framework/FileIo.h"

namespace cs6::sim {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

class DataFiles : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(directory); }
    void TearDown() override { fs::remove_all(directory); }

    const fs::path directory = fs::path(::testing::TempDir()) / ("cs6sim_" + std::to_string(::getpid()));
};

TEST_F(DataFiles, HaveTheEditorsSizesWithEachImageFollowedByItsLocation)
{
    const WriteResult result = WriteFactoryDataFiles(directory);
    ASSERT_EQ(result.outcome, WriteResult::Outcome::Written) << result.detail;
    EXPECT_EQ(std::distance(fs::directory_iterator(directory), fs::directory_iterator()), 4); // no temporary left
    EXPECT_EQ(fs::file_size(directory / kInitialPerformanceFileName), 8192u);
    struct Row { const char* file; std::size_t size, at; Bytes location; }; // location: bank MSB, LSB, program
    for (const Row& row : {Row{kPresetBankFileName, 852760, 3072, {0x3F, 0x00, 0x00}},              // PRE1 1
                           Row{kPresetBankFileName, 852760, 128 * 3075 + 3072, {0x3F, 0x01, 0x00}}, // PRE2 1
                           Row{kPresetBankFileName, 852760, 256 * 3075 + 8192, {0x3F, 0x20, 0x00}}, // PRE drum 1
                           Row{kPresetBankFileName, 852760, 852757, {0x3F, 0x20, 0x07}},            // PRE drum 8
                           Row{kExtBankFileName, 409990, 409987, {0x3F, 0x29, 0x01}}}) {            // EXT kit 2
        const Bytes file = ReadWholeFile(directory / row.file);
        ASSERT_EQ(file.size(), row.size) << row.file;
        const auto at = file.begin() + static_cast<std::ptrdiff_t>(row.at);
        EXPECT_EQ(Bytes(at, at + 3), row.location) << row.file << " at " << row.at;
    }
}

TEST_F(DataFiles, AFailureNamesItsFileAndLeavesNoTemporary)
{
    fs::create_directory(directory / kIntBankFileName); // in the way of the final name: the rename fails
    const WriteResult blocked = WriteFactoryDataFiles(directory);
    EXPECT_EQ(blocked.outcome, WriteResult::Outcome::CouldNotWrite);
    EXPECT_EQ(blocked.path, directory / kIntBankFileName);
    EXPECT_FALSE(blocked.detail.empty());
    EXPECT_FALSE(fs::exists(directory / (std::string(kIntBankFileName) + ".tmp")));
    EXPECT_FALSE(fs::exists(directory / kExtBankFileName)); // not attempted after it
}

} // namespace
} // namespace cs6::sim
