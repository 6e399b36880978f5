#include "controls/RecordTable.h"

#include <gtest/gtest.h>

#include <cstring>

#include "framework/UserMessage.h"

namespace cs6 {
namespace {

// The table the scrollable panel keeps its hit regions in.
void AddPanelColumns(RecordTable& table)
{
    for (const char* name : {"type", "id1", "id2", "left", "right", "top", "bottom"})
        table.AddColumnName(name);
    table.SetColumnCount(table.ColumnNameCount());
}

TEST(RecordTable, PanelColumnsByName)
{
    RecordTable table;
    AddPanelColumns(table);
    EXPECT_EQ(table.ColumnNames(), "::type::id1::id2::left::right::top::bottom::");
    EXPECT_EQ(table.ColumnCount(), 7u);
    EXPECT_EQ(table.ColumnIndex("type"), 0u);
    EXPECT_EQ(table.ColumnIndex("id2"), 2u);
    EXPECT_EQ(table.ColumnIndex("left"), 3u);
    EXPECT_EQ(table.ColumnIndex("bottom"), 6u);
}

TEST(RecordTable, DuplicateNamesFindTheFirst)
{
    RecordTable table;
    table.AddColumnName("a");
    table.AddColumnName("b");
    table.AddColumnName("a");
    EXPECT_EQ(table.ColumnIndex("a"), 0u);
    EXPECT_EQ(table.ColumnNameCount(), 3u);
}

TEST(RecordTable, NumbersRoundTripThroughDecimalText)
{
    RecordTable table;
    AddPanelColumns(table);
    const auto row = table.AddRow();
    EXPECT_STREQ(table.SetUnsignedByName(row, "id1", 4000000000u), "4000000000");
    EXPECT_EQ(table.GetUnsignedByName(row, "id1"), 4000000000u);
    EXPECT_STREQ(table.SetSignedByName(row, "top", -2147483647 - 1), "-2147483648");
    EXPECT_EQ(table.GetSignedByName(row, "top"), -2147483647 - 1);
}

TEST(RecordTable, MinusOneStoresThreeBytesAndReadsAsUnsignedMax)
{
    RecordTable table;
    AddPanelColumns(table);
    const auto row = table.AddRow();
    table.SetSignedByName(row, "left", -1);
    EXPECT_STREQ(table.GetText(row, 3), "-1");
    EXPECT_EQ(table.GetSize(row, 3), 3);
    EXPECT_EQ(table.GetSignedByName(row, "left"), -1);
    EXPECT_EQ(table.GetUnsignedByName(row, "left"), 4294967295u);
}

TEST(RecordTable, UnsetCellReadsAsZeroAndEmptyText)
{
    RecordTable table;
    AddPanelColumns(table);
    const auto row = table.AddRow();
    ASSERT_NE(table.GetText(row, 5), nullptr);
    EXPECT_STREQ(table.GetText(row, 5), "");
    EXPECT_EQ(table.GetSigned(row, 5), 0);
    EXPECT_EQ(table.GetUnsignedByName(row, "top"), 0u);
}

TEST(RecordTable, SetCellReplacesAndEmptiesButKeepsTheSize)
{
    RecordTable table;
    AddPanelColumns(table);
    const auto row = table.AddRow();
    table.SetSigned(row, 1, 12345);
    const char* second = table.SetCell(row, 1, "77", 3);
    EXPECT_STREQ(second, "77");
    EXPECT_STREQ(table.GetText(row, 1), "77");

    EXPECT_EQ(table.SetCell(row, 1, nullptr, 5), nullptr);
    EXPECT_STREQ(table.GetText(row, 1), "");
    EXPECT_EQ(table.GetSize(row, 1), 5);

    EXPECT_EQ(table.SetCell(row, 1, "9", 0), nullptr);
    EXPECT_STREQ(table.GetText(row, 1), "");
    EXPECT_EQ(table.GetSize(row, 1), 0);
}

TEST(RecordTable, BytesWithoutTerminatorStillReadAsText)
{
    RecordTable table;
    const auto row = table.AddRow();
    const char digits[] = {'4', '2'}; // no NUL
    table.SetCell(row, 0, digits, 2);
    EXPECT_STREQ(table.GetText(row, 0), "42");
    EXPECT_EQ(table.GetSigned(row, 0), 42);
}

TEST(RecordTable, ParsingStopsAtTheFirstNonDigit)
{
    RecordTable table;
    const auto row = table.AddRow();
    table.SetCell(row, 0, "12ab", 5);
    EXPECT_EQ(table.GetSigned(row, 0), 12);
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
    EXPECT_EQ(table.RowCount(), 8193u);
    EXPECT_EQ(table.AddRow(), 8193u);
    table.SetSignedByName(8192, "right", 5);
    EXPECT_EQ(table.GetSignedByName(8192, "right"), 5);
}

TEST(RecordTable, ZeroColumnCountBecomesOne)
{
    RecordTable table;
    table.SetColumnCount(0);
    const auto row = table.AddRow();
    EXPECT_EQ(table.ColumnCount(), 1u);
    table.SetUnsigned(row, 0, 3);
    EXPECT_EQ(table.GetSigned(row, 0), 3);
}

TEST(RecordTable, RowsOrColumnsThatDoNotExistAreReported)
{
    RecordTable table;
    AddPanelColumns(table);
    table.AddRow();
    EXPECT_THROW(table.GetText(1, 0), std::out_of_range);
    EXPECT_THROW(table.GetText(0, 7), std::out_of_range);
}

TEST(RecordTableDeathTest, UnknownColumnShowsThreeBoxesAndFails)
{
    // The default message-box hook writes to standard error.
    RecordTable table;
    AddPanelColumns(table);
    EXPECT_EXIT(table.ColumnIndex("id"), ::testing::ExitedWithCode(1),
                "getcolumnbyname2!!!\n::type::id1::id2::left::right::top::bottom::\nid\n");
}

TEST(RecordTableDeathTest, LookupWithoutNamesShowsThreeBoxesAndFails)
{
    RecordTable table;
    EXPECT_EXIT(table.GetSignedByName(table.AddRow(), "left"), ::testing::ExitedWithCode(1),
                "getcolumnbyname!!!\n\nleft\n");
}

} // namespace
} // namespace cs6
