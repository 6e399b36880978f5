#include "synth/NameTables.h"

#include <gtest/gtest.h>

namespace cs6 {
namespace {

class NameTablesTest : public ::testing::Test {
protected:
    void SetUp() override { InitNameTables(); }
};

TEST_F(NameTablesTest, BankTableRows)
{
    ASSERT_EQ(bankTable.size(), 14u);
    struct Row {
        const char* name;
        int lsb;
        int msb;
        int lastProgram;
    };
    const Row expected[] = {
        {"Normal", 0, 0, 127},    {"Drum", 0, 127, 1},      {"PRE1", 0, 63, 127},     {"PRE2", 1, 63, 127},
        {"INT", 8, 63, 127},      {"EXT", 9, 63, 127},      {"PLG1", 24, 63, 63},     {"PLG2", 25, 63, 63},
        {"PRE drum", 32, 63, 7},  {"INT drum", 40, 63, 1},  {"EXT drum", 41, 63, 1},  {"INT perf", 64, 63, 127},
        {"EXT perf", 65, 63, 127}, {"Clip Kit", 104, 63, 3},
    };
    for (std::size_t row = 0; row < 14; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(bankTable[row].name, expected[row].name);
        EXPECT_EQ(bankTable[row].bankLsb, expected[row].lsb);
        EXPECT_EQ(bankTable[row].bankMsb, expected[row].msb);
        EXPECT_EQ(bankTable[row].lastProgram, expected[row].lastProgram);
    }
    // Program lists offer lastProgram + 1 entries.
    EXPECT_EQ(bankTable[kBankIntDrum].lastProgram + 1, 2);
    EXPECT_EQ(bankTable[kBankClipKit].lastProgram + 1, 4);
    EXPECT_EQ(bankTable[kBankPlg1].lastProgram + 1, 64);
}

TEST_F(NameTablesTest, CategoriesHaveCodesAndNamesInTableOrder)
{
    EXPECT_EQ(categoryCodes.size(), 23u);
    EXPECT_EQ(categoryNames.size(), 23u);
    EXPECT_EQ(CategoryCode(0), "--");
    EXPECT_EQ(CategoryName(0), "Unassigned");
    EXPECT_EQ(CategoryCode(21), "Wv");
    EXPECT_EQ(CategoryName(21), "Material Wave");
    EXPECT_EQ(CategoryCode(22), "Sq");
    EXPECT_EQ(CategoryName(22), "Sequence");
    EXPECT_EQ(CategoryName(12), "Synth Pad");
}

TEST_F(NameTablesTest, CategoryNumbersOutsideTheTableGiveAnEmptyText)
{
    EXPECT_EQ(CategoryCode(23), "");
    EXPECT_EQ(CategoryName(23), "");
    EXPECT_EQ(CategoryCode(127), "");
    EXPECT_EQ(CategoryCode(-1), "");
}

TEST_F(NameTablesTest, EffectTypesByKey)
{
    EXPECT_EQ(effectTypeNames.size(), 48u);
    EXPECT_EQ(EffectTypeName(272), "Room 1");
    EXPECT_EQ(EffectTypeName(0x01, 0x10), "Room 1");
    EXPECT_EQ(EffectTypeName(0x00, 0x00), "THRU");
    EXPECT_EQ(EffectTypeName(0x02, 0x48), "Control Delay 2 (Stereo)");
    EXPECT_EQ(EffectTypeName(0x05, 0x30), "Ensemble Detune");
    EXPECT_EQ(EffectTypeName(0x07, 0x50), "Tempo Phaser");
    EXPECT_EQ(EffectTypeName(0x01, 0x02), "");
    EXPECT_EQ(EffectTypeName(0x7F, 0x7F), "");
    // Entries per MSB: 1, 12, 9, 4, 3, 11, 5, 3.
    int perMsb[8] = {};
    for (const auto& [key, name] : effectTypeNames) {
        ASSERT_LT(key / 256, 8);
        ++perMsb[key / 256];
    }
    EXPECT_EQ(std::vector<int>(perMsb, perMsb + 8), (std::vector<int>{1, 12, 9, 4, 3, 11, 5, 3}));
}

TEST_F(NameTablesTest, InitTwiceGivesTheSameTables)
{
    InitNameTables();
    EXPECT_EQ(effectTypeNames.size(), 48u);
    EXPECT_EQ(bankTable[kBankPreDrum].name, "PRE drum");
}

} // namespace
} // namespace cs6
