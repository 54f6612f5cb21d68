#pragma once

#include <QTreeWidgetItem>

#include "core/scan/ResultsOrder.h"

class QTreeWidget;

namespace parvane::mainwindow {

// A row of the results list that the list sorts in place by its rank in the results order:
// the view keeps its hidden rows and its selection through the sort, and no text is compared.
class RankedItem final : public QTreeWidgetItem
{
public:
    RankedItem() = default;

    bool operator<(const QTreeWidgetItem& other) const override
    {
        return rank < static_cast<const RankedItem&>(other).rank;
    }

    std::size_t rank = 0;
};

// Sorts the root items of `list` once by column `column` (0 for the first) in the results list's
// order (scan::resultRowOrder), and shows the sort mark on that column's header. The list is not
// kept sorted: rows added later stay where they are added. A column outside the list leaves it
// unchanged. Each row's key is computed once; rows made as RankedItem are then moved in place by
// their rank (others leave and rejoin the list in two batches), so that 100,000 rows sort in a few
// tens of milliseconds.
void sortResultsList(QTreeWidget& list, int column, scan::SortDirection direction);

} // namespace parvane::mainwindow
