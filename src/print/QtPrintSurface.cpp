#include "print/QtPrintSurface.h"

#include <QFile>
#include <QFontMetricsF>
#include <QMarginsF>
#include <QPageLayout>
#include <QPainter>
#include <QPen>
#include <QPrinter>
#include <QTemporaryDir>

#include "print/CupsQueue.h"
#include "print/SystemPrinter.h"

namespace parvane::print {

namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr double kSmallestFontSize = 1.0; // points

} // namespace

std::unique_ptr<QtPrintSurface> QtPrintSurface::forPdfFile(const QString& file)
{
    return std::unique_ptr<QtPrintSurface>(new QtPrintSurface(file));
}

std::unique_ptr<QtPrintSurface> QtPrintSurface::forQueue(const QString& queue,
                                                         std::shared_ptr<Receipt> receipt)
{
    auto folder = std::make_unique<QTemporaryDir>();
    auto surface = std::unique_ptr<QtPrintSurface>(
        new QtPrintSurface(folder->isValid() ? folder->filePath(QStringLiteral("Parvane.pdf")) : QString()));
    surface->m_queueFolder = std::move(folder);
    surface->m_queue = queue;
    surface->m_receipt = std::move(receipt);
    return surface;
}

QtPrintSurface::QtPrintSurface(QString pdfFile)
    : m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
    , m_pdfFile(std::move(pdfFile))
{
    m_printer->setOutputFormat(QPrinter::PdfFormat);
    m_printer->setOutputFileName(m_pdfFile);
    // The page's margins are the only margins: the sheet is the printable area.
    m_printer->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
    m_printer->setDocName(QStringLiteral("Parvane"));
    m_printer->setCreator(QStringLiteral("Parvane"));
    m_printer->setFullPage(false);
    // Latin text needs no shaping; without it "fi" stays two letters, as a list shows them, and a
    // PDF's text can be searched and copied as printed.
    m_font.setStyleStrategy(QFont::PreferNoShaping);
    m_font.setFamily(QStringLiteral("Arial"));
    m_font.setPointSizeF(10);
}

QtPrintSurface::~QtPrintSurface() = default;

PrintStatus QtPrintSurface::setPaperSize(int code)
{
    if (code == kPaperCodeUser)
        return {};
    const std::optional<QPageSize::PageSizeId> id = pageSizeForPaperCode(code);
    if (!id || !m_printer->setPageSize(QPageSize(*id)))
        return PrintStatus::invalidPropertyValue();
    return {};
}

PrintStatus QtPrintSurface::setOrientation(int code)
{
    if (code != 1 && code != 2)
        return PrintStatus::invalidPropertyValue();
    if (!m_printer->setPageOrientation(code == 2 ? QPageLayout::Landscape : QPageLayout::Portrait))
        return PrintStatus::invalidPropertyValue();
    return {};
}

double QtPrintSurface::printableWidth() const
{
    // The painter's own extent, in device pixels of the printer's resolution.
    return m_printer->width() * twipsPerDevicePixel();
}

double QtPrintSurface::printableHeight() const
{
    return m_printer->height() * twipsPerDevicePixel();
}

double QtPrintSurface::twipsPerDevicePixel() const
{
    return kTwipsPerInch / m_printer->resolution();
}

double QtPrintSurface::textWidth(const QString& text) const
{
    return QFontMetricsF(m_font, m_printer.get()).horizontalAdvance(text) * twipsPerDevicePixel();
}

double QtPrintSurface::textHeight(const QString& text) const
{
    // One line, whatever the text: the list printer prints single lines.
    (void)text;
    return QFontMetricsF(m_font, m_printer.get()).height() * twipsPerDevicePixel();
}

void QtPrintSurface::printText(const QString& text)
{
    if (m_finished)
        return;
    m_pages.back().push_back(TextItem{QPointF(m_currentX, m_currentY), m_font, text});
    m_currentY += textHeight(text);
    m_currentX = 0;
}

void QtPrintSurface::drawLine(double x1, double y1, double x2, double y2, const QColor& colour)
{
    if (m_finished)
        return;
    m_pages.back().push_back(LineItem{QLineF(x1, y1, x2, y2), colour});
}

PrintStatus QtPrintSurface::newPage()
{
    if (m_finished)
        return PrintStatus::printerError();
    m_pages.emplace_back();
    m_currentX = 0;
    m_currentY = 0;
    return {};
}

PrintStatus QtPrintSurface::endDocument()
{
    if (m_finished)
        return PrintStatus::printerError();
    m_finished = true;
    const int pages = pageNumber();
    PrintStatus status = m_pdfFile.isEmpty() ? PrintStatus::printerError() : paintDocument();
    m_pages.clear();
    if (!status.ok()) {
        if (!m_pdfFile.isEmpty())
            QFile::remove(m_pdfFile);
        return status;
    }
    if (m_queue.isEmpty())
        return status;
    int jobId = 0;
    status = sendToQueue(m_queue, m_pdfFile, jobId);
    if (status.ok() && m_receipt)
        *m_receipt = Receipt{m_queue, jobId, pages};
    return status;
}

void QtPrintSurface::cancelDocument()
{
    m_finished = true;
    m_pages.clear();
}

void QtPrintSurface::setFontName(const QString& name)
{
    m_font.setFamily(name);
}

void QtPrintSurface::setFontSize(double points)
{
    m_font.setPointSizeF(points >= kSmallestFontSize ? points : kSmallestFontSize);
}

PrintStatus QtPrintSurface::paintDocument()
{
    QPainter painter;
    if (!painter.begin(m_printer.get()))
        return PrintStatus::printerError();
    const double scale = 1.0 / twipsPerDevicePixel();
    for (std::size_t page = 0; page < m_pages.size(); ++page) {
        if (page > 0 && !m_printer->newPage()) {
            m_printer->abort();
            painter.end();
            return PrintStatus::printerError();
        }
        for (const PageItem& item : m_pages[page]) {
            if (const auto* text = std::get_if<TextItem>(&item)) {
                painter.setPen(QPen(Qt::black));
                painter.setFont(text->font);
                // A line is placed by its top; QPainter places text by its base line.
                const double ascent = QFontMetricsF(text->font, m_printer.get()).ascent();
                painter.drawText(QPointF(text->at.x() * scale, text->at.y() * scale + ascent), text->text);
            } else {
                const auto& line = std::get<LineItem>(item);
                // A cosmetic pen: the thinnest line the printer draws, as a list's grid line.
                painter.setPen(QPen(line.colour, 0));
                painter.drawLine(QLineF(line.line.p1() * scale, line.line.p2() * scale));
            }
        }
    }
    if (!painter.end())
        return PrintStatus::printerError();
    return {};
}

} // namespace parvane::print
