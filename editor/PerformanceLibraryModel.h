#pragma once
// The library's performances as a table for the librarian window: location
// ("INT 005", "EXT 12"), name and category, one row a performance. The texts
// and each row's place in each column's order are made once when the rows
// are set, so that filtering (PerformanceLibraryFilter) only searches texts
// already made and sorting only compares numbers.
// Sorting by location puts INT 001..128 before EXT 01..64.
//
// Thread: the user-interface thread.

#include <QAbstractTableModel>
#include <QString>

#include <span>
#include <vector>

#include "synth/PerformanceFile.h"

namespace cs6 {

class PerformanceLibraryModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { kLocationColumn, kNameColumn, kCategoryColumn, kColumnCount };
    using QAbstractTableModel::QAbstractTableModel;

    void SetPerformances(std::span<const FilePerformance> performances);
    PerformanceLocation Location(int row) const { return rows_[static_cast<std::size_t>(row)].location; }
    // The row of a location, or -1.
    int RowOf(PerformanceLocation location) const;
    // Whether the row's location, name or category holds lowerText (lower case).
    bool Matches(int row, const QString& lowerText) const;
    // Row a sorts before row b by the column.
    bool Before(int a, int b, int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    struct Row {
        PerformanceLocation location;
        int order; // place among all locations, INT before EXT
        QString texts[kColumnCount];
        QString lower; // the texts in lower case, one a line
        int rank[kColumnCount] = {}; // place in each column's order
    };
    std::vector<Row> rows_;
};

} // namespace cs6
