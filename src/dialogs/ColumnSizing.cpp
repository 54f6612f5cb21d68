#include "dialogs/ColumnSizing.h"

#include <algorithm>

#include <QFontMetrics>
#include <QHeaderView>
#include <QTreeWidget>

namespace parvane::dialogs {

namespace {

// The width that the view's own auto-size gives column `column`: its widest entry. Asking the view
// for every row lays each one out and takes seconds on a list of 30,000 rows; the texts are
// measured with the list's font instead, and only the widest entry is asked for its full size
// (margins, check box), so that the result is what the view would have found.
int contentWidth(const QTreeWidget& list, int column)
{
    const QFontMetrics metrics(list.font());
    const int rows = list.topLevelItemCount();
    int widest = -1;
    int widestRow = -1;
    for (int row = 0; row < rows; ++row) {
        const int width = metrics.horizontalAdvance(list.topLevelItem(row)->text(column));
        if (width > widest) {
            widest = width;
            widestRow = row;
        }
    }
    if (widestRow < 0)
        return 0;
    const QModelIndex index = list.indexFromItem(list.topLevelItem(widestRow), column);
    const QAbstractItemView& view = list;
    int width = view.sizeHintForIndex(index).width();
    if (column == list.header()->logicalIndex(0) && list.rootIsDecorated())
        width += list.indentation();
    return std::max(0, width);
}

} // namespace

void ajustecolonnes(QTreeWidget* list, const QWidget* window)
{
    if (list == nullptr || window == nullptr)
        return;
    const QFontMetrics metrics(window->font());
    const QTreeWidgetItem* header = list->headerItem();
    for (int i = 0; i < list->columnCount(); ++i) {
        list->setColumnWidth(i, contentWidth(*list, i));
        const int captionWidth = metrics.horizontalAdvance(header->text(i));
        if (list->columnWidth(i) < captionWidth + 10)
            list->setColumnWidth(i, captionWidth + 10);
    }
}

} // namespace parvane::dialogs
