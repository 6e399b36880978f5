#include "controls/RecordTable.h"

#include <gtest/gtest.h>

namespace cs6 {
namespace {

// The table the scrollable panel keeps its hit regions in.
void AddPanelColumns(RecordTable& table)
{
    for (const char* name : {"type", "id1", "id2", "left", "right", "top", "bottom"})
        table.AddColumnName(name);
    table.SetColumnCount(table.ColumnNameCount());
}

TEST(RecordTable, ColumnsByNameFirstOfDuplicatesAndAtLeastOne)
{
    RecordTable table;
    AddPanelColumns(table);
    EXPECT_EQ(table.ColumnNames(), "::type::id1::id2::left::right::top::bottom::");
    EXPECT_EQ(table.ColumnCount(), 7u);
    EXPECT_EQ(table.ColumnIndex("id2"), 2u);
    EXPECT_EQ(table.ColumnIndex("bottom"), 6u);
    table.AddColumnName("type");
    EXPECT_EQ(table.ColumnIndex("type"), 0u);

    RecordTable bare;
    bare.SetColumnCount(0);
    bare.SetUnsigned(bare.AddRow(), 0, 3);
    EXPECT_EQ(bare.ColumnCount(), 1u);
    EXPECT_EQ(bare.GetSigned(0, 0), 3);
}

TEST(RecordTable, NumbersAsDecimalTextWithTheirSize)
{
    RecordTable table;
    AddPanelColumns(table);
    const auto row = table.AddRow();
    EXPECT_STREQ(table.SetUnsignedByName(row, "id1", 4000000000u), "4000000000");
    EXPECT_EQ(table.GetUnsignedByName(row, "id1"), 4000000000u);
    EXPECT_STREQ(table.SetSignedByName(row, "top", -2147483647 - 1), "-2147483648");
    EXPECT_EQ(table.GetSignedByName(row, "top"), -2147483647 - 1);
    // -1 is three bytes with the NUL and reads back as unsigned max.
    table.SetSignedByName(row, "left", -1);
    EXPECT_STREQ(table.GetText(row, 3), "-1");
    EXPECT_EQ(table.GetSize(row, 3), 3);
    EXPECT_EQ(table.GetUnsignedByName(row, "left"), 4294967295u);
    // An unset cell is empty text and zero.
    EXPECT_STREQ(table.GetText(row, 2), "");
    EXPECT_EQ(table.GetUnsignedByName(row, "right"), 0u);
}

TEST(RecordTable, CellsKeepTheirSizeCarryTheirOwnNulAndParseToTheFirstNonDigit)
{
    RecordTable table;
    AddPanelColumns(table);
    const auto row = table.AddRow();
    EXPECT_STREQ(table.SetCell(row, 1, "77", 3), "77");
    EXPECT_EQ(table.SetCell(row, 1, nullptr, 5), nullptr);
    EXPECT_STREQ(table.GetText(row, 1), "");
    EXPECT_EQ(table.GetSize(row, 1), 5);
    EXPECT_EQ(table.SetCell(row, 1, "9", 0), nullptr);
    EXPECT_EQ(table.GetSize(row, 1), 0);

    const char digits[] = {'4', '2'}; // no NUL
    table.SetCell(row, 2, digits, 2);
    EXPECT_STREQ(table.GetText(row, 2), "42");
    table.SetCell(row, 4, "12ab", 5);
    EXPECT_EQ(table.GetSigned(row, 4), 12);
    EXPECT_THROW(table.GetText(1, 0), std::out_of_range);
    EXPECT_THROW(table.GetText(0, 7), std::out_of_range);
}

TEST(RecordTable, RowsAreNumberedInOrderAndTheTableGrowsAtRow8193)
{
    RecordTable table;
    AddPanelColumns(table);
    EXPECT_EQ(table.SlotCapacity(), 8192u);
    for (std::uint32_t i = 0; i < 8192; ++i)
        ASSERT_EQ(table.AddRow(), i);
    EXPECT_EQ(table.SlotCapacity(), 8192u);
    EXPECT_EQ(table.AddRow(), 8192u);
    EXPECT_EQ(table.SlotCapacity(), 16384u);
    table.SetSignedByName(8192, "right", 5);
    EXPECT_EQ(table.GetSignedByName(8192, "right"), 5);
}

TEST(RecordTableDeathTest, AnUnknownColumnShowsThreeBoxesAndFails)
{
    // The default message-box hook writes to standard error.
    RecordTable table;
    EXPECT_EXIT(table.GetSignedByName(table.AddRow(), "left"), ::testing::ExitedWithCode(1),
                "getcolumnbyname!!!\n\nleft\n");
    AddPanelColumns(table);
    EXPECT_EXIT(table.ColumnIndex("id"), ::testing::ExitedWithCode(1),
                "getcolumnbyname2!!!\n::type::id1::id2::left::right::top::bottom::\nid\n");
}

} // namespace
} // namespace cs6
