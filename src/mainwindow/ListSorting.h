#pragma once

#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

#include <QTreeWidgetItem>

#include "core/scan/ResultsOrder.h"
#include "core/scan/RowIdentity.h"

class QTreeWidget;

namespace parvane::mainwindow {

// A row of the results list as a scan adds it: the trend line it is about, its sort keys (shared
// by the rows of one run, so that a sort reads no text) and its mark "new since the previous run".
class ResultItem final : public QTreeWidgetItem
{
public:
    static constexpr int kType = QTreeWidgetItem::UserType + 1;

    ResultItem(std::shared_ptr<const scan::ResultSortKeys> rowKeys, std::size_t rowNumber,
               scan::RowIdentity rowIdentity)
        : QTreeWidgetItem(kType)
        , keys(std::move(rowKeys))
        , keyRow(rowNumber)
        , identity(std::move(rowIdentity))
    {}

    // The row of `item` when a scan added it, else nullptr.
    static const ResultItem* of(const QTreeWidgetItem* item)
    {
        return item != nullptr && item->type() == kType ? static_cast<const ResultItem*>(item) : nullptr;
    }

    static ResultItem* of(QTreeWidgetItem* item)
    {
        return item != nullptr && item->type() == kType ? static_cast<ResultItem*>(item) : nullptr;
    }

    const std::shared_ptr<const scan::ResultSortKeys> keys;
    const std::size_t keyRow; // the row's number in `keys`
    const scan::RowIdentity identity;
    bool isNew = false; // the previous run of the same base and options did not have the row
};

// Sorts the root items of `list` once by column `column` (0 for the first) in the results list's
// order (scan::ResultSortKeys), and shows the sort mark on that column's header. The list is not
// kept sorted: rows added later stay where they are added. A column outside the list leaves it
// unchanged. Rows of one run compare by the keys they carry; a list that holds other rows has its
// keys computed from its texts first. The rows leave the list and rejoin it in their new order in
// two batches, keeping their hidden state, the selection and the current row: 100,000 rows sort
// in a few tens of milliseconds.
void sortResultsList(QTreeWidget& list, int column, scan::SortDirection direction);

// The two halves of sortResultsList, for a caller that lets the event loop run between them: the
// new order of the root items (their places now), then the move. The list must not change between
// the two.
std::vector<std::size_t> resultsListOrder(const QTreeWidget& list, int column, scan::SortDirection direction);
void applyResultsListOrder(QTreeWidget& list, const std::vector<std::size_t>& order, int column,
                           scan::SortDirection direction);

} // namespace parvane::mainwindow
