#include "mainwindow/ListSorting.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include <QHeaderView>
#include <QItemSelection>
#include <QItemSelectionModel>
#include <QList>
#include <QSet>
#include <QSignalBlocker>
#include <QTreeWidget>

#include "qt/TextConversion.h"

namespace parvane::mainwindow {

namespace {

// The key table that every root item of `list` shares, with each item's row in it; else a table
// made from the texts of `column`.
std::shared_ptr<const scan::ResultSortKeys> keysOf(const QTreeWidget& list, int column,
                                                   std::vector<std::size_t>& rows)
{
    const QTreeWidgetItem* root = list.invisibleRootItem();
    rows.resize(static_cast<std::size_t>(root->childCount()));
    std::shared_ptr<const scan::ResultSortKeys> shared;
    bool one = true;
    for (int i = 0; i < root->childCount() && one; ++i) {
        const ResultItem* item = ResultItem::of(root->child(i));
        if (i == 0 && item != nullptr)
            shared = item->keys;
        one = item != nullptr && item->keys == shared;
        if (one)
            rows[static_cast<std::size_t>(i)] = item->keyRow;
    }
    if (one && shared)
        return shared;
    auto keys = std::make_shared<scan::ResultSortKeys>();
    std::string text;
    for (int i = 0; i < root->childCount(); ++i) {
        text.clear();
        qt::appendWindows1252(text, root->child(i)->text(column));
        keys->setText(static_cast<std::size_t>(i), static_cast<scan::ResultColumn>(column), text);
        rows[static_cast<std::size_t>(i)] = static_cast<std::size_t>(i);
    }
    return keys;
}

} // namespace

std::vector<std::size_t> resultsListOrder(const QTreeWidget& list, int column, scan::SortDirection direction)
{
    if (column < 0 || column >= list.columnCount())
        return {};
    std::vector<std::size_t> rows;
    const std::shared_ptr<const scan::ResultSortKeys> keys = keysOf(list, column, rows);
    return keys->order(rows, static_cast<scan::ResultColumn>(column), direction);
}

void sortResultsList(QTreeWidget& list, int column, scan::SortDirection direction)
{
    applyResultsListOrder(list, resultsListOrder(list, column, direction), column, direction);
}

void applyResultsListOrder(QTreeWidget& list, const std::vector<std::size_t>& order, int column,
                           scan::SortDirection direction)
{
    QTreeWidgetItem* root = list.invisibleRootItem();
    const int count = root->childCount();
    if (column < 0 || column >= list.columnCount() || order.size() != static_cast<std::size_t>(count))
        return;
    // What the view keeps by row, which the rows lose when they leave it. Hidden rows are shown
    // before they leave: the view would keep their old places.
    std::vector<bool> hidden(static_cast<std::size_t>(count));
    for (int row = 0; row < count; ++row) {
        if (list.isRowHidden(row, QModelIndex())) {
            hidden[static_cast<std::size_t>(row)] = true;
            list.setRowHidden(row, QModelIndex(), false);
        }
    }
    QItemSelectionModel* selection = list.selectionModel();
    QSet<const QTreeWidgetItem*> selected;
    for (const QTreeWidgetItem* item : list.selectedItems())
        selected.insert(item);
    const QTreeWidgetItem* current = list.currentItem();
    const int currentColumn = list.currentColumn();

    const bool updates = list.updatesEnabled();
    list.setUpdatesEnabled(false);
    {
        // The row under the pointer leaves and comes back: nothing changed for whoever follows the
        // current row.
        const QSignalBlocker quiet(selection);
        const QList<QTreeWidgetItem*> taken = root->takeChildren();
        QList<QTreeWidgetItem*> sorted;
        sorted.reserve(taken.size());
        for (const std::size_t place : order)
            sorted.append(taken[static_cast<qsizetype>(place)]);
        root->addChildren(sorted);

        QAbstractItemModel* model = list.model();
        for (int row = 0; row < count; ++row) {
            if (hidden[order[static_cast<std::size_t>(row)]])
                list.setRowHidden(row, QModelIndex(), true);
            if (sorted[row] == current)
                selection->setCurrentIndex(model->index(row, currentColumn), QItemSelectionModel::NoUpdate);
        }
        QItemSelection kept;
        for (int row = 0; row < count && !selected.isEmpty(); ++row) {
            if (!selected.contains(sorted[row]))
                continue;
            // Neighbouring rows make one range.
            const int first = row;
            while (row + 1 < count && selected.contains(sorted[row + 1]))
                ++row;
            kept.select(model->index(first, 0), model->index(row, list.columnCount() - 1));
        }
        selection->select(kept, QItemSelectionModel::Select);
    }
    QHeaderView* header = list.header();
    header->setSortIndicator(column, direction == scan::SortDirection::Ascending ? Qt::AscendingOrder
                                                                                 : Qt::DescendingOrder);
    header->setSortIndicatorShown(true);
    list.setUpdatesEnabled(updates);
}

} // namespace parvane::mainwindow
