#include "controls/RecordTable.h"

#include <cstdlib>
#include <stdexcept>
#include <utility>

#include "framework/UserMessage.h"

namespace cs6 {

void RecordTable::AddColumnName(std::string_view name)
{
    if (columnNames_.empty())
        columnNames_ = "::";
    columnNames_.append(name);
    columnNames_.append("::");
    ++columnNameCount_;
}

void RecordTable::SetColumnCount(std::uint32_t count) { columnCount_ = count == 0 ? 1 : count; }

void RecordTable::Fatal(std::string_view first, std::string_view second, std::string_view name) const
{
    ShowMessageBox(first);
    ShowMessageBox(second);
    ShowMessageBox(name);
    // A lookup of an unknown column is a defect in the program: end it, and say
    // so in the exit status.
    std::exit(EXIT_FAILURE);
}

std::uint32_t RecordTable::ColumnIndex(std::string_view name) const
{
    if (columnNames_.empty())
        Fatal("getcolumnbyname!!!", "", name);

    std::string pattern = "::";
    pattern.append(name);
    pattern.append("::");
    const auto at = columnNames_.find(pattern);
    if (at == std::string::npos)
        Fatal("getcolumnbyname2!!!", columnNames_, name);
    std::uint32_t colons = 0;
    for (std::size_t i = 0; i < at; ++i)
        colons += columnNames_[i] == ':';
    return colons / 2;
}

std::uint32_t RecordTable::AddRow()
{
    rows_.emplace_back(columnCount_);
    return RowCount() - 1;
}

std::string& RecordTable::CellAt(std::uint32_t row, std::uint32_t column)
{
    return const_cast<std::string&>(std::as_const(*this).CellAt(row, column));
}

const std::string& RecordTable::CellAt(std::uint32_t row, std::uint32_t column) const
{
    if (row >= rows_.size())
        throw std::out_of_range("RecordTable: no row " + std::to_string(row));
    if (column >= rows_[row].size())
        throw std::out_of_range("RecordTable: no column " + std::to_string(column));
    return rows_[row][column];
}

const char* RecordTable::SetUnsignedByName(std::uint32_t row, std::string_view name, std::uint32_t value)
{
    return (CellAt(row, ColumnIndex(name)) = std::to_string(value)).c_str();
}

const char* RecordTable::SetSignedByName(std::uint32_t row, std::string_view name, std::int32_t value)
{
    return (CellAt(row, ColumnIndex(name)) = std::to_string(value)).c_str();
}

std::int32_t RecordTable::GetSignedByName(std::uint32_t row, std::string_view name) const
{
    return static_cast<std::int32_t>(std::strtol(CellAt(row, ColumnIndex(name)).c_str(), nullptr, 10));
}

} // namespace cs6
