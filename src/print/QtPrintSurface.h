#pragma once

#include <memory>
#include <variant>
#include <vector>

#include <QFont>
#include <QLineF>
#include <QPointF>

#include "print/PrintSurface.h"

class QPrinter;
class QPrinterInfo;

namespace parvane::print {

// The print surface over QPrinter and QPainter. Every page is kept until endDocument(), which is
// the only step that paints and sends; so a print that fails or is cancelled half way sends
// nothing, whatever the printer's driver can abort. Text is measured against the printer's own
// resolution, so what is measured is what is printed.
class QtPrintSurface final : public PrintSurface
{
public:
    // A document for an installed printer.
    static std::unique_ptr<QtPrintSurface> forPrinter(const QPrinterInfo& printer);
    // A document written to the PDF file `file` (replaced if it exists) by endDocument(). The
    // printable area is the whole sheet.
    static std::unique_ptr<QtPrintSurface> forPdfFile(const QString& file);

    ~QtPrintSurface() override;
    Q_DISABLE_COPY_MOVE(QtPrintSurface)

    PrintStatus setPaperSize(int code) override;
    PrintStatus setOrientation(int code) override;

    double currentX() const override { return m_currentX; }

    void setCurrentX(double twips) override { m_currentX = twips; }

    double currentY() const override { return m_currentY; }

    void setCurrentY(double twips) override { m_currentY = twips; }

    double printableWidth() const override;
    double printableHeight() const override;

    double textWidth(const QString& text) const override;
    double textHeight(const QString& text) const override;

    void printText(const QString& text) override;
    void drawLine(double x1, double y1, double x2, double y2, const QColor& colour) override;

    PrintStatus newPage() override;
    PrintStatus endDocument() override;
    void cancelDocument() override;

    int pageNumber() const override { return static_cast<int>(m_pages.size()); }

    void setFontName(const QString& name) override;
    void setFontSize(double points) override;

    void setFontBold(bool on) override { m_font.setBold(on); }

    void setFontItalic(bool on) override { m_font.setItalic(on); }

    void setFontUnderline(bool on) override { m_font.setUnderline(on); }

    void setFontStrikethrough(bool on) override { m_font.setStrikeOut(on); }

    // The printer the document goes to; for tests.
    const QPrinter& printer() const { return *m_printer; }

private:
    struct TextItem
    {
        QPointF at; // twips, top left of the line
        QFont font;
        QString text;
    };

    struct LineItem
    {
        QLineF line; // twips
        QColor colour;
    };

    using PageItem = std::variant<TextItem, LineItem>;

    QtPrintSurface(std::unique_ptr<QPrinter> printer, QString pdfFile);

    double twipsPerDevicePixel() const;
    PrintStatus paintDocument();

    std::unique_ptr<QPrinter> m_printer;
    QString m_pdfFile; // empty for a printer
    QFont m_font;
    double m_currentX = 0;
    double m_currentY = 0;
    std::vector<std::vector<PageItem>> m_pages{1};
    bool m_finished = false;
};

} // namespace parvane::print
