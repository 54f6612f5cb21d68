#include "mainwindow/ResultsListSink.h"

#include <string>

#include <QHeaderView>
#include <QStringList>
#include <QTreeWidget>

#include "dialogs/TextConversion.h"

namespace parvane::mainwindow {

ResultsListSink::ResultsListSink(QTreeWidget& list)
    : m_list(list)
{}

void ResultsListSink::clear()
{
    m_list.clear();
    // Dropping the columns first gives every header back its default width.
    m_list.setColumnCount(0);
    QStringList headers;
    for (int column = 0; column < scan::kResultColumnCount; ++column) {
        const std::string_view header = scan::resultColumnHeader(column);
        headers.append(QString::fromUtf8(header.data(), static_cast<qsizetype>(header.size())));
    }
    m_list.setHeaderLabels(headers);
    QHeaderView* header = m_list.header();
    for (int column = 0; column < scan::kResultColumnCount; ++column)
        header->resizeSection(column, header->defaultSectionSize());
}

void ResultsListSink::addRow()
{
    m_list.addTopLevelItem(new QTreeWidgetItem());
}

void ResultsListSink::setText(std::size_t row, scan::ResultColumn column, std::string_view text)
{
    if (row == 0 || row > static_cast<std::size_t>(m_list.topLevelItemCount()))
        return;
    QTreeWidgetItem* item = m_list.topLevelItem(static_cast<int>(row - 1));
    item->setText(static_cast<int>(column), dialogs::fromWindows1252(text));
}

} // namespace parvane::mainwindow
