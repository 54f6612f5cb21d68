#include "dialogs/ColumnSizing.h"

#include <algorithm>

#include <QFontMetrics>
#include <QHeaderView>
#include <QTreeWidget>

namespace parvane::dialogs {

void ajustecolonnes(QTreeWidget* list, const QWidget* window)
{
    if (list == nullptr || window == nullptr)
        return;
    const QFontMetrics metrics(window->font());
    const QTreeWidgetItem* header = list->headerItem();
    // Every row counts, not only the first thousand that the view measures by default.
    list->header()->setResizeContentsPrecision(-1);
    for (int i = 0; i < list->columnCount(); ++i) {
        // The content alone, as a list view's auto-size does: the header is the rule below.
        // QTreeView hides the measure that QAbstractItemView offers publicly.
        const QAbstractItemView* view = list;
        list->setColumnWidth(i, std::max(0, view->sizeHintForColumn(i)));
        const int captionWidth = metrics.horizontalAdvance(header->text(i));
        if (list->columnWidth(i) < captionWidth + 10)
            list->setColumnWidth(i, captionWidth + 10);
    }
}

} // namespace parvane::dialogs
