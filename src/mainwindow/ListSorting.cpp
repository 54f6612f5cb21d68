#include "mainwindow/ListSorting.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <string>
#include <vector>

#include <QList>
#include <QString>
#include <QTreeWidget>

#include "core/scan/ResultsSink.h"
#include "core/text/Collation.h"
#include "dialogs/TextConversion.h"

namespace parvane::mainwindow {

namespace {

// A row with what it sorts by, computed once per row rather than once per comparison: a list of
// 100,000 rows makes about two million comparisons.
struct SortKey
{
    QTreeWidgetItem* item = nullptr;
    bool isNumber = false;
    double value = 0.0;
    std::string text; // Windows-1252, as text::compareText expects
};

// "10,5", "-0.64", " 3" read as numbers; "", "n/a" and "1.2.3" do not.
bool readValue(const QString& text, double& value)
{
    QString plain = text.trimmed();
    plain.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    value = plain.toDouble(&ok);
    return ok && std::isfinite(value);
}

} // namespace

ColumnOrder resultsColumnOrder(int column)
{
    switch (static_cast<scan::ResultColumn>(column)) {
    case scan::ResultColumn::Dernier:
    case scan::ResultColumn::Ecart:
    case scan::ResultColumn::Var:
        return ColumnOrder::Number;
    default:
        return ColumnOrder::Text;
    }
}

void sortByColumnOnce(QTreeWidget& list, int column, ColumnOrder order)
{
    if (column < 0 || column >= list.columnCount())
        return;
    const QList<QTreeWidgetItem*> rows = list.invisibleRootItem()->takeChildren();
    std::vector<SortKey> keys(static_cast<std::size_t>(rows.size()));
    for (qsizetype i = 0; i < rows.size(); ++i) {
        SortKey& key = keys[static_cast<std::size_t>(i)];
        key.item = rows[i];
        const QString text = rows[i]->text(column);
        key.isNumber = order == ColumnOrder::Number && readValue(text, key.value);
        if (!key.isNumber)
            key.text = dialogs::toWindows1252(text);
    }
    std::stable_sort(keys.begin(), keys.end(), [](const SortKey& a, const SortKey& b) {
        if (a.isNumber != b.isNumber)
            return a.isNumber;
        if (a.isNumber)
            return a.value < b.value;
        return text::compareText(a.text, b.text) < 0;
    });
    QList<QTreeWidgetItem*> sorted;
    sorted.reserve(rows.size());
    for (const SortKey& key : keys)
        sorted.append(key.item);
    list.addTopLevelItems(sorted);
}

} // namespace parvane::mainwindow
