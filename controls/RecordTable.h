#pragma once
// A small table whose columns are addressed by name and whose cells keep their
// values as text. The scrollable panel keeps its hit regions in one: a row per
// item with the columns type, id1, id2, left, right, top, bottom. Numbers are
// stored as decimal text and parsed again when read.
//
// A column name the table does not know is a programming error that ends the
// process after three message boxes, with a failure exit status.
//
// Thread: the user-interface thread only.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cs6 {

class RecordTable {
public:
    // Appends a name; its column number is the number of names before it.
    // Duplicates are not checked; a lookup finds the first.
    void AddColumnName(std::string_view name);
    // Cells per row, at least one, for the rows added from now on.
    void SetColumnCount(std::uint32_t count);
    // The column number of a whole name; does not return for an unknown one.
    std::uint32_t ColumnIndex(std::string_view name) const;

    // Adds an empty row and returns its number: 0, 1, 2, ... in order.
    std::uint32_t AddRow();

    // The cell's number as decimal text, returned; a row or column the table
    // does not have throws std::out_of_range.
    const char* SetUnsignedByName(std::uint32_t row, std::string_view name, std::uint32_t value);
    const char* SetSignedByName(std::uint32_t row, std::string_view name, std::int32_t value);
    // The text read as a decimal number (strtol); an empty cell reads 0.
    std::int32_t GetSignedByName(std::uint32_t row, std::string_view name) const;

    std::uint32_t RowCount() const { return static_cast<std::uint32_t>(rows_.size()); }
    std::uint32_t ColumnNameCount() const { return columnNameCount_; }

private:
    const std::string& CellAt(std::uint32_t row, std::uint32_t column) const;
    std::string& CellAt(std::uint32_t row, std::uint32_t column);
    [[noreturn]] void Fatal(std::string_view first, std::string_view second, std::string_view name) const;

    std::vector<std::vector<std::string>> rows_;
    std::uint32_t columnCount_ = 1;
    std::string columnNames_; // "::type::id1::...::", or "" while no name has been added
    std::uint32_t columnNameCount_ = 0;
};

} // namespace cs6
