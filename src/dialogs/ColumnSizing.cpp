#include "dialogs/ColumnSizing.h"

#include <algorithm>
#include <cstddef>

#include <QFontMetrics>
#include <QHeaderView>
#include <QStyle>
#include <QTreeWidget>

namespace parvane::dialogs {

namespace {

// The width that the view's own auto-size gives a column whose widest entry is `item`: the entry's
// full size (text, margins, check box) as the view would find it, without asking every row.
int contentWidth(const QTreeWidget& list, int column, const QTreeWidgetItem* item)
{
    if (item == nullptr)
        return 0;
    const QModelIndex index = list.indexFromItem(item, column);
    const QAbstractItemView& view = list;
    int width = view.sizeHintForIndex(index).width();
    if (column == list.header()->logicalIndex(0) && list.rootIsDecorated())
        width += list.indentation();
    return std::max(0, width);
}

} // namespace

void ajustecolonnes(QTreeWidget* list, const QWidget* window)
{
    if (list == nullptr)
        return;
    const QFontMetrics metrics(list->font());
    std::vector<const QTreeWidgetItem*> widest(static_cast<std::size_t>(list->columnCount()), nullptr);
    for (int column = 0; column < list->columnCount(); ++column) {
        int widestWidth = -1;
        for (int row = 0; row < list->topLevelItemCount(); ++row) {
            const QTreeWidgetItem* item = list->topLevelItem(row);
            if (const int width = metrics.horizontalAdvance(item->text(column)); width > widestWidth) {
                widestWidth = width;
                widest[static_cast<std::size_t>(column)] = item;
            }
        }
    }
    ajustecolonnes(list, window, widest);
}

void ajustecolonnes(QTreeWidget* list, const QWidget* window,
                    const std::vector<const QTreeWidgetItem*>& widest)
{
    if (list == nullptr || window == nullptr)
        return;
    const QFontMetrics metrics(window->font());
    const QTreeWidgetItem* header = list->headerItem();
    // A header that sorts on a click shows the sort mark beside its caption: the caption keeps its
    // room then too.
    const QHeaderView* sections = list->header();
    const QStyle* style = sections->style();
    const int markRoom = sections->sectionsClickable()
                             ? style->pixelMetric(QStyle::PM_HeaderMarkSize, nullptr, sections)
                                   + style->pixelMetric(QStyle::PM_HeaderMargin, nullptr, sections)
                             : 0;
    for (int i = 0; i < list->columnCount(); ++i) {
        const auto column = static_cast<std::size_t>(i);
        const int captionWidth = metrics.horizontalAdvance(header->text(i)) + markRoom;
        const int width = contentWidth(*list, i, column < widest.size() ? widest[column] : nullptr);
        list->setColumnWidth(i, std::max(width, captionWidth + 10));
    }
}

} // namespace parvane::dialogs
