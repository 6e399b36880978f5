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
                         {},
                         {}});
        Row& row = rows_.back();
        row.lower = (row.texts[0] + u'\n' + row.texts[1] + u'\n' + row.texts[2]).toLower();
    }
    // Each row's place in each column's order, so that sorting compares two
    // numbers rather than two texts.
    std::vector<std::size_t> order(rows_.size());
    for (int column = 0; column < kColumnCount; ++column) {
        for (std::size_t i = 0; i < order.size(); ++i)
            order[i] = i;
        std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            const Row& first = rows_[a];
            const Row& second = rows_[b];
            const int byText = column == kLocationColumn
                                   ? 0
                                   : QString::compare(first.texts[column], second.texts[column], Qt::CaseInsensitive);
            return byText != 0 ? byText < 0 : first.order < second.order;
        });
        for (std::size_t place = 0; place < order.size(); ++place)
            rows_[order[place]].rank[column] = static_cast<int>(place);
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
    return rows_[static_cast<std::size_t>(a)].rank[column] < rows_[static_cast<std::size_t>(b)].rank[column];
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
