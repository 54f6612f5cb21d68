#pragma once

#include <memory>
#include <variant>
#include <vector>

#include <QFont>
#include <QLineF>
#include <QPointF>
#include <QString>

#include "print/PrintSurface.h"

class QPrinter;
class QTemporaryDir;

namespace parvane::print {

// The print surface over a PDF QPrinter and QPainter. Every page is kept until endDocument(),
// which is the only step that paints and sends; so a print that fails or is cancelled half way
// sends nothing. Text is measured against the printer's own resolution, so what is measured is
// what is printed.
//
// A printer gets the very PDF that a print to a file writes: on both paths the printable area is
// the whole sheet and the page's margins count from the sheet's edge, so a printer and a file
// give the same pages. A printer's unprintable border lies inside those margins and is not added
// to them.
class QtPrintSurface final : public PrintSurface
{
public:
    // What a print to a queue left, for the caller to tell the user.
    struct Receipt
    {
        QString queue;
        int jobId = 0;
        int pages = 0;
    };

    // A document written to the PDF file `file` (replaced if it exists) by endDocument().
    static std::unique_ptr<QtPrintSurface> forPdfFile(const QString& file);
    // A document for the CUPS queue `queue`: endDocument() writes it to a temporary PDF and sends
    // that with sendToQueue(). `receipt`, when given, receives the queue, the job number and the
    // page count of a print that was sent.
    static std::unique_ptr<QtPrintSurface> forQueue(const QString& queue,
                                                    std::shared_ptr<Receipt> receipt = nullptr);

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

    explicit QtPrintSurface(QString pdfFile);

    double twipsPerDevicePixel() const;
    PrintStatus paintDocument();

    std::unique_ptr<QPrinter> m_printer;
    QString m_pdfFile;
    std::unique_ptr<QTemporaryDir> m_queueFolder; // holds m_pdfFile of a print to a queue
    std::shared_ptr<Receipt> m_receipt;
    QString m_queue; // empty for a print to a file
    QFont m_font;
    double m_currentX = 0;
    double m_currentY = 0;
    std::vector<std::vector<PageItem>> m_pages{1};
    bool m_finished = false;
};

} // namespace parvane::print
