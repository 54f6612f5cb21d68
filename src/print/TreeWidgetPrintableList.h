#pragma once

#include <QPointer>

#include "print/PrintableList.h"

class QTreeWidget;

namespace parvane::print {

// A QTreeWidget in report view (root items only) as the list printer reads it. Pixels become
// twips through the widget's logical resolution; a hidden column has width 0, a hidden row is
// not printed; columns come in the order the header shows them; a heading's alignment is that of
// the header item's text. When the widget is destroyed the list reports itself unavailable.
class TreeWidgetPrintableList final : public PrintableList
{
public:
    explicit TreeWidgetPrintableList(QTreeWidget* tree);

    bool isAvailable() const override { return !m_tree.isNull(); }

    PrintFont font() const override;
    std::vector<PrintableRow> rows() const override;
    std::vector<PrintableColumn> columns() const override;
    double twipsPerPixelY() const override;

private:
    double twipsPerPixelX() const;

    QPointer<QTreeWidget> m_tree;
};

} // namespace parvane::print
