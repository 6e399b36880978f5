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
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace cs6 {

class RecordTable {
public:
    RecordTable();

    RecordTable(const RecordTable&) = delete;
    RecordTable& operator=(const RecordTable&) = delete;

    // Appends a name; its column number is the number of names before it.
    // Duplicates are not checked; a lookup finds the first.
    void AddColumnName(std::string_view name);
    // Cells per row, for the rows added from now on.
    void SetColumnCount(std::uint32_t count);
    // The column number of a whole name; does not return for an unknown one.
    std::uint32_t ColumnIndex(std::string_view name) const;

    // Adds an empty row and returns its number: 0, 1, 2, ... in order.
    std::uint32_t AddRow();

    // Stores a copy of size bytes and returns it; with no bytes or a size below
    // 1 the cell becomes empty (null is returned) but keeps the size.
    const char* SetCell(std::uint32_t row, std::uint32_t column, const void* bytes, std::int32_t size);
    const char* SetUnsigned(std::uint32_t row, std::uint32_t column, std::uint32_t value);
    const char* SetSigned(std::uint32_t row, std::uint32_t column, std::int32_t value);
    const char* SetUnsignedByName(std::uint32_t row, std::string_view name, std::uint32_t value);
    const char* SetSignedByName(std::uint32_t row, std::string_view name, std::int32_t value);

    // The cell's text; "" for an empty cell, never null.
    const char* GetText(std::uint32_t row, std::uint32_t column) const;
    // The size given when the cell was last set.
    std::int32_t GetSize(std::uint32_t row, std::uint32_t column) const;
    // The text read as a decimal number (strtol / strtoul); an empty cell reads 0.
    std::int32_t GetSigned(std::uint32_t row, std::uint32_t column) const;
    std::uint32_t GetUnsignedByName(std::uint32_t row, std::string_view name) const;
    std::int32_t GetSignedByName(std::uint32_t row, std::string_view name) const;

    std::uint32_t RowCount() const { return rowCount_; }
    std::uint32_t ColumnCount() const { return columnCount_; }
    std::uint32_t ColumnNameCount() const { return columnNameCount_; }
    // "::type::id1::...::", or "" while no name has been added.
    std::string_view ColumnNames() const { return columnNames_; }
    // Rows the table holds before it must grow.
    std::size_t SlotCapacity() const { return slots_.size(); }

    static constexpr std::size_t kInitialSlots = 8192;
    static constexpr std::size_t kGrowthSlots = 8192;

private:
    struct Cell {
        std::unique_ptr<char[]> text; // size bytes plus a NUL of our own
        std::int32_t size = 0;
    };
    using Row = std::unique_ptr<Cell[]>;

    Cell& CellAt(std::uint32_t row, std::uint32_t column);
    const Cell& CellAt(std::uint32_t row, std::uint32_t column) const;
    [[noreturn]] void Fatal(std::string_view first, std::string_view second, std::string_view name) const;

    std::vector<std::uint32_t> slotBitmap_; // bit k of word w: slot 32w + k holds a row
    std::vector<Row> slots_;
    std::uint32_t columnCount_ = 1;
    std::uint32_t rowCount_ = 0;
    std::string columnNames_;
    std::uint32_t columnNameCount_ = 0;
};

} // namespace cs6
