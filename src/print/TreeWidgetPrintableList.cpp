#include "print/TreeWidgetPrintableList.h"

#include <QFont>
#include <QFontInfo>
#include <QHeaderView>
#include <QTreeWidget>
#include <QTreeWidgetItem>

namespace parvane::print {

namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr double kPointsPerInch = 72.0;

int alignmentCode(int qtAlignment)
{
    const int horizontal = qtAlignment & Qt::AlignHorizontal_Mask;
    if (horizontal & Qt::AlignRight)
        return kAlignRight;
    if (horizontal & Qt::AlignHCenter)
        return kAlignCentre;
    return kAlignLeft;
}

} // namespace

TreeWidgetPrintableList::TreeWidgetPrintableList(QTreeWidget* tree)
    : m_tree(tree)
{}

double TreeWidgetPrintableList::twipsPerPixelX() const
{
    return kTwipsPerInch / m_tree->logicalDpiX();
}

double TreeWidgetPrintableList::twipsPerPixelY() const
{
    if (m_tree.isNull())
        return 15.0;
    return kTwipsPerInch / m_tree->logicalDpiY();
}

PrintFont TreeWidgetPrintableList::font() const
{
    if (m_tree.isNull())
        return {};
    const QFont qfont = m_tree->font();
    PrintFont font;
    font.name = qfont.family();
    // A font sized in pixels has no point size of its own.
    font.size = qfont.pointSizeF() > 0
                    ? qfont.pointSizeF()
                    : QFontInfo(qfont).pixelSize() * kPointsPerInch / m_tree->logicalDpiY();
    font.bold = qfont.bold();
    font.italic = qfont.italic();
    font.underline = qfont.underline();
    font.strikethrough = qfont.strikeOut();
    return font;
}

std::vector<PrintableRow> TreeWidgetPrintableList::rows() const
{
    std::vector<PrintableRow> rows;
    if (m_tree.isNull())
        return rows;
    const int columnCount = m_tree->columnCount();
    const int count = m_tree->topLevelItemCount();
    rows.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const QTreeWidgetItem* item = m_tree->topLevelItem(i);
        if (item->isHidden())
            continue;
        PrintableRow row;
        row.text = item->text(0);
        for (int column = 1; column < columnCount; ++column)
            row.subItems.append(item->text(column));
        row.selected = item->isSelected();
        int pixels = m_tree->visualItemRect(item).height();
        if (pixels <= 0)
            pixels = m_tree->sizeHintForRow(i);
        row.height = pixels * twipsPerPixelY();
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<PrintableColumn> TreeWidgetPrintableList::columns() const
{
    std::vector<PrintableColumn> columns;
    if (m_tree.isNull())
        return columns;
    const QHeaderView* header = m_tree->header();
    const QTreeWidgetItem* headerItem = m_tree->headerItem();
    const int count = m_tree->columnCount();
    columns.reserve(static_cast<std::size_t>(count));
    for (int visual = 0; visual < count; ++visual) {
        const int logical = header->logicalIndex(visual);
        if (logical < 0)
            continue;
        PrintableColumn column;
        column.index = logical + 1;
        column.text = headerItem->text(logical);
        column.width =
            m_tree->isColumnHidden(logical) ? 0.0 : m_tree->columnWidth(logical) * twipsPerPixelX();
        column.alignment = alignmentCode(headerItem->textAlignment(logical));
        columns.push_back(std::move(column));
    }
    return columns;
}

} // namespace parvane::print
