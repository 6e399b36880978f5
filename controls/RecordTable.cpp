#include "controls/RecordTable.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <utility>

#include "framework/UserMessage.h"

namespace cs6 {

RecordTable::RecordTable() : slotBitmap_(kInitialSlots / 32), slots_(kInitialSlots) {}

void RecordTable::AddColumnName(std::string_view name)
{
    if (columnNames_.empty())
        columnNames_ = "::";
    columnNames_.append(name);
    columnNames_.append("::");
    ++columnNameCount_;
}

void RecordTable::SetColumnCount(std::uint32_t count) { columnCount_ = count; }

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
    if (at == 0)
        return 0;
    std::uint32_t colons = 0;
    for (std::size_t i = 0; i < at; ++i)
        colons += columnNames_[i] == ':';
    return colons / 2;
}

std::uint32_t RecordTable::AddRow()
{
    if (columnCount_ == 0)
        columnCount_ = 1;

    std::size_t slot = slots_.size();
    if (rowCount_ == slots_.size()) {
        slots_.resize(slots_.size() + kGrowthSlots);
        slotBitmap_.resize(slotBitmap_.size() + kGrowthSlots / 32, 0);
    } else {
        std::size_t word = 0;
        while (word < slotBitmap_.size() && slotBitmap_[word] == 0xFFFFFFFFu)
            ++word;
        for (slot = word * 32; slot < slots_.size() && slots_[slot]; ++slot) {
        }
    }

    slotBitmap_[slot / 32] |= 1u << (slot % 32);
    slots_[slot] = std::make_unique<Cell[]>(columnCount_);
    ++rowCount_;
    return static_cast<std::uint32_t>(slot);
}

RecordTable::Cell& RecordTable::CellAt(std::uint32_t row, std::uint32_t column)
{
    return const_cast<Cell&>(std::as_const(*this).CellAt(row, column));
}

const RecordTable::Cell& RecordTable::CellAt(std::uint32_t row, std::uint32_t column) const
{
    if (row >= slots_.size() || !slots_[row])
        throw std::out_of_range("RecordTable: no row " + std::to_string(row));
    if (column >= columnCount_)
        throw std::out_of_range("RecordTable: no column " + std::to_string(column));
    return slots_[row][column];
}

const char* RecordTable::SetCell(std::uint32_t row, std::uint32_t column, const void* bytes, std::int32_t size)
{
    Cell& cell = CellAt(row, column);
    cell.text.reset();
    cell.size = size;
    if (bytes && size >= 1) {
        const auto n = static_cast<std::size_t>(size);
        // One byte more than asked, always NUL, so the text can be read as a C
        // string whatever bytes were stored.
        cell.text = std::make_unique<char[]>(n + 1);
        std::memcpy(cell.text.get(), bytes, n);
        cell.text[n] = '\0';
    }
    return cell.text.get();
}

const char* RecordTable::SetUnsigned(std::uint32_t row, std::uint32_t column, std::uint32_t value)
{
    char text[16];
    const int length = std::snprintf(text, sizeof text, "%lu", static_cast<unsigned long>(value));
    return SetCell(row, column, text, length + 1);
}

const char* RecordTable::SetSigned(std::uint32_t row, std::uint32_t column, std::int32_t value)
{
    char text[16];
    const int length = std::snprintf(text, sizeof text, "%ld", static_cast<long>(value));
    return SetCell(row, column, text, length + 1);
}

const char* RecordTable::SetUnsignedByName(std::uint32_t row, std::string_view name, std::uint32_t value)
{
    return SetUnsigned(row, ColumnIndex(name), value);
}

const char* RecordTable::SetSignedByName(std::uint32_t row, std::string_view name, std::int32_t value)
{
    return SetSigned(row, ColumnIndex(name), value);
}

const char* RecordTable::GetText(std::uint32_t row, std::uint32_t column) const
{
    const Cell& cell = CellAt(row, column);
    return cell.text ? cell.text.get() : "";
}

std::int32_t RecordTable::GetSize(std::uint32_t row, std::uint32_t column) const
{
    return CellAt(row, column).size;
}

std::int32_t RecordTable::GetSigned(std::uint32_t row, std::uint32_t column) const
{
    return static_cast<std::int32_t>(std::strtol(GetText(row, column), nullptr, 10));
}

std::uint32_t RecordTable::GetUnsignedByName(std::uint32_t row, std::string_view name) const
{
    return static_cast<std::uint32_t>(std::strtoul(GetText(row, ColumnIndex(name)), nullptr, 10));
}

std::int32_t RecordTable::GetSignedByName(std::uint32_t row, std::string_view name) const
{
    return GetSigned(row, ColumnIndex(name));
}

} // namespace cs6
