#include "editor/PerformanceLibraryModel.h"

#include <algorithm>

#include "synth/PerformanceLibrary.h"

namespace cs6 {

void PerformanceLibraryModel::SetPerformances(std::span<const FilePerformance> performances)
{
    beginResetModel();
    rows_.clear();
    rows_.reserve(performances.size());
    for (const FilePerformance& performance : performances) {
        rows_.push_back({performance.location,
                         (performance.location.bankLsb << 8) | performance.location.program,
                         {QString::fromStdString(LocationLabel(performance.location)),
                          QString::fromLatin1(performance.Name()).trimmed(),
                          QString::fromStdString(PerformanceCategory(performance))},
                         {}});
        Row& row = rows_.back();
        row.lower = (row.texts[0] + u'\n' + row.texts[1] + u'\n' + row.texts[2]).toLower();
    }
    endResetModel();
}

int PerformanceLibraryModel::RowOf(PerformanceLocation location) const
{
    const auto found = std::find_if(rows_.begin(), rows_.end(), [&](const Row& row) { return row.location == location; });
    return found == rows_.end() ? -1 : static_cast<int>(found - rows_.begin());
}

bool PerformanceLibraryModel::Matches(int row, const QString& lowerText) const
{
    return rows_[static_cast<std::size_t>(row)].lower.contains(lowerText);
}

bool PerformanceLibraryModel::Before(int a, int b, int column) const
{
    const Row& first = rows_[static_cast<std::size_t>(a)];
    const Row& second = rows_[static_cast<std::size_t>(b)];
    if (column == kLocationColumn)
        return first.order < second.order;
    const int order = QString::compare(first.texts[column], second.texts[column], Qt::CaseInsensitive);
    return order != 0 ? order < 0 : first.order < second.order;
}

int PerformanceLibraryModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int PerformanceLibraryModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumnCount; }

QVariant PerformanceLibraryModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= kColumnCount)
        return {};
    const Row& row = rows_[static_cast<std::size_t>(index.row())];
    if (role == Qt::DisplayRole)
        return row.texts[index.column()];
    return {};
}

QVariant PerformanceLibraryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case kLocationColumn:
        return QStringLiteral("Location");
    case kNameColumn:
        return QStringLiteral("Name");
    case kCategoryColumn:
        return QStringLiteral("Category");
    default:
        return {};
    }
}

} // namespace cs6
