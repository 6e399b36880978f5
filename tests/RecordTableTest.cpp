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

TEST(RecordTable, NumbersByColumnNameInRowsNumberedInOrder)
{
    RecordTable table;
    AddPanelColumns(table);
    EXPECT_EQ(table.AddRow(), 0u);
    EXPECT_EQ(table.AddRow(), 1u);
    table.SetUnsignedByName(1, "type", 4000000000u);
    table.SetSignedByName(1, "bottom", -1); // a hit region not placed yet
    EXPECT_EQ(std::tuple(table.GetSignedByName(1, "bottom"), table.GetSignedByName(1, "top"), table.RowCount()),
              std::tuple(-1, 0, 2u));
    EXPECT_THROW(table.GetSignedByName(2, "left"), std::out_of_range);
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
