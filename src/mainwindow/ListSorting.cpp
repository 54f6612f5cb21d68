#include "mainwindow/ListSorting.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include <QHeaderView>
#include <QList>
#include <QString>
#include <QTreeWidget>

#include "qt/TextConversion.h"

namespace parvane::mainwindow {

void sortResultsList(QTreeWidget& list, int column, scan::SortDirection direction)
{
    if (column < 0 || column >= list.columnCount())
        return;
    // The texts of all rows in one buffer, as Windows-1252: 100,000 small strings cost more than
    // the sort.
    const int count = list.topLevelItemCount();
    std::string buffer;
    std::vector<std::size_t> ends(static_cast<std::size_t>(count));
    for (int row = 0; row < count; ++row) {
        qt::appendWindows1252(buffer, list.topLevelItem(row)->text(column));
        ends[static_cast<std::size_t>(row)] = buffer.size();
    }
    std::vector<std::string_view> views(ends.size());
    for (std::size_t row = 0, start = 0; row < ends.size(); start = ends[row++])
        views[row] = std::string_view(buffer).substr(start, ends[row] - start);
    const std::vector<std::size_t> order =
        scan::resultRowOrder(views, static_cast<scan::ResultColumn>(column), direction);

    const bool updates = list.updatesEnabled();
    list.setUpdatesEnabled(false);
    bool ranked = true;
    for (std::size_t rank = 0; rank < order.size() && ranked; ++rank) {
        auto* item = dynamic_cast<RankedItem*>(list.topLevelItem(static_cast<int>(order[rank])));
        ranked = item != nullptr;
        if (ranked)
            item->rank = rank;
    }
    if (ranked) {
        list.sortItems(column, Qt::AscendingOrder);
    } else {
        const QList<QTreeWidgetItem*> rows = list.invisibleRootItem()->takeChildren();
        QList<QTreeWidgetItem*> sorted;
        sorted.reserve(rows.size());
        for (const std::size_t i : order)
            sorted.append(rows[static_cast<qsizetype>(i)]);
        list.addTopLevelItems(sorted);
    }
    QHeaderView* header = list.header();
    header->setSortIndicator(column, direction == scan::SortDirection::Ascending ? Qt::AscendingOrder
                                                                                 : Qt::DescendingOrder);
    header->setSortIndicatorShown(true);
    list.setUpdatesEnabled(updates);
}

} // namespace parvane::mainwindow
