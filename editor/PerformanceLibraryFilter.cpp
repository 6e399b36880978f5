#include "editor/PerformanceLibraryFilter.h"

#include "editor/PerformanceLibraryModel.h"

namespace cs6 {

PerformanceLibraryFilter::PerformanceLibraryFilter(PerformanceLibraryModel* model, QObject* parent)
    : QSortFilterProxyModel(parent), model_(model)
{
    setSourceModel(model);
}

void PerformanceLibraryFilter::SetText(const QString& text)
{
    const QString lower = text.toLower();
    if (lower == text_)
        return;
    text_ = lower;
    // One layout change for the whole table: narrowing 10,000 sorted rows
    // row range by row range costs the view several times as much.
    invalidate();
}

bool PerformanceLibraryFilter::filterAcceptsRow(int sourceRow, const QModelIndex&) const
{
    return text_.isEmpty() || model_->Matches(sourceRow, text_);
}

bool PerformanceLibraryFilter::lessThan(const QModelIndex& left, const QModelIndex& right) const
{
    return model_->Before(left.row(), right.row(), left.column());
}

} // namespace cs6
