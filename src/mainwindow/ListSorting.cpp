#include "mainwindow/ListSorting.h"

#include <algorithm>

#include <QList>
#include <QString>
#include <QTreeWidget>

namespace parvane::mainwindow {

void sortByColumnOnce(QTreeWidget& list, int column)
{
    if (column < 0 || column >= list.columnCount())
        return;
    const QList<QTreeWidgetItem*> rows = list.invisibleRootItem()->takeChildren();
    QList<QTreeWidgetItem*> sorted = rows;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [column](const QTreeWidgetItem* a, const QTreeWidgetItem* b) {
                         return QString::compare(a->text(column), b->text(column), Qt::CaseInsensitive) < 0;
                     });
    list.addTopLevelItems(sorted);
}

} // namespace parvane::mainwindow
