#pragma once
// The librarian's table as the user sees it: the rows of a
// PerformanceLibraryModel whose location, name or category holds the text
// typed (any case), sorted by the column clicked. Both compare the model's
// texts made once a row, never through QVariant, so that a keystroke over
// 10,000 rows stays well inside a frame.
//
// Thread: the user-interface thread.

#include <QSortFilterProxyModel>

namespace cs6 {

class PerformanceLibraryModel;

class PerformanceLibraryFilter : public QSortFilterProxyModel {
    Q_OBJECT

public:
    PerformanceLibraryFilter(PerformanceLibraryModel* model, QObject* parent);

    void SetText(const QString& text);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    PerformanceLibraryModel* model_;
    QString text_; // lower case
};

} // namespace cs6
