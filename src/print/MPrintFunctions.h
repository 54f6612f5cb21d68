#pragma once

#include <cstdint>

#include <QIcon>
#include <QList>
#include <QString>

#include "print/PrintStatus.h"

namespace parvane::print {

class CPage;
class CText;
class PrintableList;
class PrintSurface;
struct PrintFont;
struct PrintableRow;

// The icons of a list; kept by the list printer, never printed.
using PrintImageList = QList<QIcon>;

// The steps of a list print, each working on a print surface. Positions and margins are in twips.
namespace MPrintFunctions {

// Paper size, then orientation, from `page`. Fails with error 380 when the printer refuses a code.
PrintStatus SetupPrinter(PrintSurface& surface, const CPage& page);

// Prints one line. Nothing happens for an empty text. Otherwise the printer takes the text's font
// and the current x follows the alignment: 0 at `left`, 1 so that the text ends `right` before
// the printable width, 2 centred on the printable width, any other value unchanged. The width
// is that of the text before its "<pag>" tag is replaced by the page number.
void PrintText(PrintSurface& surface, const CText& text, double left, double right);

// Prints the heading line at the current y: each visible column's heading (columns of width 0
// are skipped and the next ones close up), aligned in its column, over a black line drawn one
// text height below the line's top. Leaves the current y two screen pixels below the line.
void PrintColumnHeaders(PrintSurface& surface, const PrintableList& list, double left);

// Prints the cells of `row` in the visible columns, each aligned in its column and centred
// vertically in the row's screen height; the row advances the current y by that height.
// `imageList` is accepted but no icon is printed.
void PrintListItem(PrintSurface& surface, const PrintableRow& row, const PrintableList& list,
                   const PrintImageList& imageList, double left);

// True when a line of `lineHeight` twips starting at the current y ends strictly above the
// bottom margin line.
bool LineFits(const PrintSurface& surface, std::int32_t lineHeight, double bottomMargin);

// Copies name, size, bold, italic, strikethrough and underline to the printer's font.
void SetPrinterFont(PrintSurface& surface, const PrintFont& font);

// Replaces the first "<pag>" of `text` by the current page number in decimal.
void ReplacePageTag(const PrintSurface& surface, QString& text);

} // namespace MPrintFunctions

// A length in twips rounded to a whole twip as a 32-bit integer would hold it: halves go to the
// even neighbour.
double roundToTwip(double twips);

} // namespace parvane::print
