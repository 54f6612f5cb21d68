#include "print/MPrintFunctions.h"

#include <cmath>

#include <QColor>

#include "print/CPage.h"
#include "print/CText.h"
#include "print/PrintFont.h"
#include "print/PrintSurface.h"
#include "print/PrintableList.h"

namespace parvane::print {

namespace {

constexpr QLatin1String kPageTag("<pag>");

// Places the current x for a text of width `width` in a column starting at `columnLeft`.
void positionInColumn(PrintSurface& surface, int alignment, double columnLeft, double columnWidth,
                      double width)
{
    switch (alignment) {
    case kAlignLeft:
        surface.setCurrentX(columnLeft);
        break;
    case kAlignCentre:
        surface.setCurrentX(columnLeft + (columnWidth - width) / 2);
        break;
    case kAlignRight:
        surface.setCurrentX(columnLeft + columnWidth - width);
        break;
    default:
        break;
    }
}

} // namespace

double roundToTwip(double twips)
{
    // nearbyint follows the current rounding mode, round-half-to-even by default.
    return std::nearbyint(twips);
}

namespace MPrintFunctions {

PrintStatus SetupPrinter(PrintSurface& surface, const CPage& page)
{
    if (PrintStatus status = surface.setPaperSize(page.PaperSize()); !status.ok())
        return status;
    return surface.setOrientation(page.Orientation());
}

void PrintText(PrintSurface& surface, const CText& text, double left, double right)
{
    if (text.Text().isEmpty())
        return;
    SetPrinterFont(surface, text.Font());
    switch (text.Alignment()) {
    case kAlignLeft:
        surface.setCurrentX(left);
        break;
    case kAlignRight:
        surface.setCurrentX(surface.printableWidth() - right - surface.textWidth(text.Text()));
        break;
    case kAlignCentre:
        surface.setCurrentX((surface.printableWidth() - surface.textWidth(text.Text())) / 2);
        break;
    default:
        break;
    }
    QString line = text.Text();
    ReplacePageTag(surface, line);
    surface.printText(line);
}

void PrintColumnHeaders(PrintSurface& surface, const PrintableList& list, double left)
{
    const double y0 = roundToTwip(surface.currentY());
    double x = 0;
    for (const PrintableColumn& column : list.columns()) {
        if (!(column.width > 0))
            continue;
        const double underline = y0 + surface.textHeight(QStringLiteral("A"));
        surface.drawLine(left + x, underline, left + x + column.width, underline, QColor(Qt::black));
        positionInColumn(surface, column.alignment, left + x, column.width, surface.textWidth(column.text));
        surface.setCurrentY(y0);
        surface.printText(column.text);
        x = roundToTwip(x + column.width);
    }
    surface.setCurrentY(surface.currentY() + 2 * list.twipsPerPixelY());
}

void PrintListItem(PrintSurface& surface, const PrintableRow& row, const PrintableList& list,
                   const PrintImageList& imageList, double left)
{
    (void)imageList;
    const double textHeight = roundToTwip(surface.textHeight(row.text));
    const double rowHeight = roundToTwip(row.height);
    const double y0 = surface.currentY();
    double x = 0;
    for (const PrintableColumn& column : list.columns()) {
        if (!(column.width > 0))
            continue;
        const QString cell = column.index == 1 ? row.text : row.subItem(column.index - 1);
        positionInColumn(surface, column.alignment, left + x, column.width, surface.textWidth(cell));
        // The text sits in the middle of the row's screen height, whatever the printer font.
        surface.setCurrentY(y0 + (rowHeight - textHeight) / 2);
        surface.printText(cell);
        x = roundToTwip(x + column.width);
        surface.setCurrentY(y0 + rowHeight);
    }
}

bool LineFits(const PrintSurface& surface, std::int32_t lineHeight, double bottomMargin)
{
    return surface.currentY() + lineHeight < surface.printableHeight() - bottomMargin;
}

void SetPrinterFont(PrintSurface& surface, const PrintFont& font)
{
    surface.setFontName(font.name);
    surface.setFontSize(font.size);
    surface.setFontBold(font.bold);
    surface.setFontItalic(font.italic);
    surface.setFontStrikethrough(font.strikethrough);
    surface.setFontUnderline(font.underline);
}

void ReplacePageTag(const PrintSurface& surface, QString& text)
{
    const qsizetype at = text.indexOf(kPageTag);
    if (at >= 0)
        text.replace(at, kPageTag.size(), QString::number(surface.pageNumber()));
}

} // namespace MPrintFunctions

} // namespace parvane::print
