#pragma once

#include <QColor>
#include <QString>

#include "print/PrintStatus.h"

namespace parvane::print {

// The printer as the list printer drives it. Positions are in twips (1/1440 inch) from the top
// left corner of the page's printable area; the current position is where the next text starts
// (the top of its line). A document starts with the first output and ends with endDocument() or
// cancelDocument(); a surface prints one document.
class PrintSurface
{
public:
    virtual ~PrintSurface() = default;

    // Paper size by Windows DMPAPER_* code and orientation (1 portrait, 2 landscape). A code the
    // printer does not know fails with error 380 and changes nothing.
    virtual PrintStatus setPaperSize(int code) = 0;
    virtual PrintStatus setOrientation(int code) = 0;

    virtual double currentX() const = 0;
    virtual void setCurrentX(double twips) = 0;
    virtual double currentY() const = 0;
    virtual void setCurrentY(double twips) = 0;

    // Size of the printable area of a page in the current paper and orientation.
    virtual double printableWidth() const = 0;
    virtual double printableHeight() const = 0;

    // Width and height of `text` printed in the current font, on one line.
    virtual double textWidth(const QString& text) const = 0;
    virtual double textHeight(const QString& text) const = 0;

    // Prints `text` at the current position in the current font; then the current y moves down
    // by one line of that font and the current x returns to 0.
    virtual void printText(const QString& text) = 0;
    // Draws a straight line; the current position does not change.
    virtual void drawLine(double x1, double y1, double x2, double y2, const QColor& colour) = 0;

    // Starts a new page; the current position goes back to 0, 0.
    virtual PrintStatus newPage() = 0;
    // Sends the document to the printer. After a failure nothing of the document is sent.
    virtual PrintStatus endDocument() = 0;
    // Drops the document: nothing of it is sent.
    virtual void cancelDocument() = 0;

    // Number of the page being printed, 1 on the first page.
    virtual int pageNumber() const = 0;

    virtual void setFontName(const QString& name) = 0;
    virtual void setFontSize(double points) = 0;
    virtual void setFontBold(bool on) = 0;
    virtual void setFontItalic(bool on) = 0;
    virtual void setFontUnderline(bool on) = 0;
    virtual void setFontStrikethrough(bool on) = 0;

protected:
    PrintSurface() = default;
    PrintSurface(const PrintSurface&) = default;
    PrintSurface& operator=(const PrintSurface&) = default;
};

} // namespace parvane::print
