#include "mainwindow/ResultsListSink.h"

#include <algorithm>
#include <string>

#include <QHeaderView>
#include <QStringList>
#include <QTreeWidget>

#include "mainwindow/ListSorting.h"
#include "qt/TextConversion.h"

namespace parvane::mainwindow {

ResultsListSink::ResultsListSink(QTreeWidget& list)
    : m_list(list)
    , m_keys(std::make_shared<scan::ResultSortKeys>())
    , m_metrics(list.font())
{}

ResultsListSink::~ResultsListSink()
{
    flush();
    if (m_deletion.valid())
        m_deletion.wait();
}

void ResultsListSink::clear()
{
    qDeleteAll(m_pending);
    m_pending.clear();
    m_rows.clear();
    // Rows still in the list keep their keys.
    m_keys = std::make_shared<scan::ResultSortKeys>();
    // Out of the list, the rows belong to no view: nothing that they reach when deleted is shared
    // with this thread but their texts, whose counts are atomic.
    QList<QTreeWidgetItem*> removed = m_list.invisibleRootItem()->takeChildren();
    if (!removed.isEmpty()) {
        if (m_deletion.valid())
            m_deletion.wait();
        m_deletion = std::async(std::launch::async, [rows = std::move(removed)] { qDeleteAll(rows); });
    }
    m_list.clear();
    m_widestWidth.fill(-1);
    m_widestItem.fill(nullptr);
    // The first rows of a run show at once, the next ones in batches.
    m_sinceFlush.invalidate();
    // Dropping the columns first gives every header back its default width.
    m_list.setColumnCount(0);
    QStringList headers;
    for (int column = 0; column < scan::kResultColumnCount; ++column) {
        const std::string_view header = scan::resultColumnHeader(column);
        headers.append(QString::fromUtf8(header.data(), static_cast<qsizetype>(header.size())));
    }
    m_list.setHeaderLabels(headers);
    QHeaderView* header = m_list.header();
    header->setSortIndicatorShown(false);
    for (int column = 0; column < scan::kResultColumnCount; ++column)
        header->resizeSection(column, header->defaultSectionSize());
}

void ResultsListSink::addRow(const scan::RowIdentity& identity)
{
    // Rows join the view in batches: the view lays out all its rows again after each insertion
    // that the event loop sees, which a row at a time makes quadratic in the number of rows.
    flushIfDue();
    auto* item = new ResultItem(m_keys, m_rows.size(), identity);
    m_pending.append(item);
    m_rows.push_back(item);
}

void ResultsListSink::flush()
{
    m_sinceFlush.start();
    if (m_pending.isEmpty())
        return;
    m_list.addTopLevelItems(m_pending);
    m_pending.clear();
}

void ResultsListSink::flushIfDue()
{
    if (!m_pending.isEmpty() && (!m_sinceFlush.isValid() || m_sinceFlush.elapsed() >= kFlushIntervalMs))
        flush();
}

void ResultsListSink::setText(std::size_t row, scan::ResultColumn column, std::string_view text)
{
    if (row == 0 || row > m_rows.size())
        return;
    QTreeWidgetItem* item = m_rows[row - 1];
    const QString shown = qt::fromWindows1252(text);
    item->setText(static_cast<int>(column), shown);
    m_keys->setText(row - 1, column, text);
    const auto index = static_cast<std::size_t>(column);
    if (index >= m_widestWidth.size())
        return;
    if (const int width = textWidth(shown); width > m_widestWidth[index]) {
        m_widestWidth[index] = width;
        m_widestItem[index] = item;
    }
}

int ResultsListSink::textWidth(const QString& text)
{
    int width = 0;
    for (const QChar c : text) {
        if (c.unicode() >= m_advances.size()) {
            width += m_metrics.horizontalAdvance(c);
            continue;
        }
        int& advance = m_advances[c.unicode()];
        if (advance == 0)
            advance = std::max(1, m_metrics.horizontalAdvance(c));
        width += advance;
    }
    return width;
}

std::optional<scan::RowIdentity> ResultsListSink::identityOf(const QTreeWidgetItem* item)
{
    if (const ResultItem* row = ResultItem::of(item))
        return row->identity;
    return std::nullopt;
}

std::vector<const QTreeWidgetItem*> ResultsListSink::widestItems() const
{
    return {m_widestItem.begin(), m_widestItem.end()};
}

} // namespace parvane::mainwindow
