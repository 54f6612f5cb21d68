#pragma once

#include <vector>

#include <QString>
#include <QStringList>

#include "print/PrintFont.h"

namespace parvane::print {

// Alignment codes of a column heading (and of a CText).
inline constexpr int kAlignLeft = 0;
inline constexpr int kAlignRight = 1;
inline constexpr int kAlignCentre = 2;

// One column heading of a list as printed.
struct PrintableColumn
{
    int index = 1; // 1-based: 1 is the row's text, k > 1 the sub-item k - 1
    QString text;
    double width = 0.0; // twips; 0 for a hidden column
    int alignment = kAlignLeft;
};

// One row of a list as printed.
struct PrintableRow
{
    QString text;         // first column
    QStringList subItems; // further columns: sub-item 1 is subItems[0]
    bool selected = false;
    double height = 0.0; // twips, the row's height on screen

    // Sub-item `index` (1-based); empty when the row has no such sub-item.
    QString subItem(int index) const { return subItems.value(index - 1); }
};

// A list as the list printer reads it: a report view with headings and rows as shown on screen.
class PrintableList
{
public:
    virtual ~PrintableList() = default;

    // False when the list is gone (its widget destroyed); a print of it then fails.
    virtual bool isAvailable() const = 0;
    virtual PrintFont font() const = 0;
    // Rows in display order.
    virtual std::vector<PrintableRow> rows() const = 0;
    // Column headings in display order.
    virtual std::vector<PrintableColumn> columns() const = 0;
    // Twips per vertical pixel of the screen that shows the list (15 at 96 dpi).
    virtual double twipsPerPixelY() const = 0;

protected:
    PrintableList() = default;
    PrintableList(const PrintableList&) = default;
    PrintableList& operator=(const PrintableList&) = default;
};

} // namespace parvane::print
