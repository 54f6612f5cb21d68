#include "print/CPrintListView.h"

#include <cmath>
#include <limits>
#include <optional>

#include <QApplication>
#include <QMessageBox>

#include "print/PrintSurface.h"
#include "print/PrintableList.h"
#include "print/QtPrintSurface.h"
#include "print/SystemPrinter.h"

namespace parvane::print {

namespace {

struct MarginsTwips
{
    double left = 0;
    double right = 0;
    double top = 0;
    double bottom = 0;
};

// The page's margins in twips, read anew at every use so that a BeforeNewPage handler may change
// them; std::nullopt when one of them overflows.
std::optional<MarginsTwips> marginsOf(const CPage& page)
{
    const std::optional<std::int16_t> left = marginTwips(page.LeftMargin());
    const std::optional<std::int16_t> right = marginTwips(page.RightMargin());
    const std::optional<std::int16_t> top = marginTwips(page.TopMargin());
    const std::optional<std::int16_t> bottom = marginTwips(page.BottomMargin());
    if (!left || !right || !top || !bottom)
        return std::nullopt;
    return MarginsTwips{static_cast<double>(*left), static_cast<double>(*right), static_cast<double>(*top),
                        static_cast<double>(*bottom)};
}

// A row height as the 32-bit whole number of twips that LineFits takes; std::nullopt when it
// does not fit in 32 bits.
std::optional<std::int32_t> lineHeightOf(double height)
{
    const double rounded = roundToTwip(height);
    if (!std::isfinite(rounded) || rounded < std::numeric_limits<std::int32_t>::min()
        || rounded > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(rounded);
}

} // namespace

CPrintListView::CPrintListView(QObject* parent)
    : CPrintListView(installedPrinterDefaults(), parent)
{}

CPrintListView::CPrintListView(PaperDefaults defaults, QObject* parent)
    : QObject(parent)
    , m_page(defaults)
    , m_surfaceFactory(systemPrinterSurface())
    , m_failureHandler(&showPrintFailure)
{}

CPrintListView::~CPrintListView() = default;

void CPrintListView::setControl(std::shared_ptr<PrintableList> list)
{
    m_control = std::move(list);
    if (m_control && m_control->isAvailable()) {
        m_fontItem = m_control->font();
        m_headerFont = m_control->font();
    }
}

bool CPrintListView::PrintControl(bool ShowDialog)
{
    // The print always goes to the current printer; there is no dialog to show.
    (void)ShowDialog;
    m_printedItems = 0;
    // Held for the whole print, in case a BeforeNewPage handler sets another list.
    const std::shared_ptr<PrintableList> list = m_control;
    std::unique_ptr<PrintSurface> surface;
    PrintStatus status;
    if (!list || !list->isAvailable()) {
        status = PrintStatus::failure(kErrorObjectNotSet,
                                      QStringLiteral("Object variable or With block variable not set"));
    } else {
        surface = m_surfaceFactory ? m_surfaceFactory() : nullptr;
        if (surface)
            status = printOn(*surface, *list);
        else
            status = PrintStatus::failure(
                kErrorNoPrinter, QStringLiteral("Problem getting printer information from the "
                                                "system. Make sure the printer is set up correctly"));
    }
    if (status.ok())
        return true;
    if (surface)
        surface->cancelDocument();
    if (m_failureHandler)
        m_failureHandler(status);
    return false;
}

PrintStatus CPrintListView::printOn(PrintSurface& surface, const PrintableList& list)
{
    using namespace MPrintFunctions;
    if (PrintStatus status = SetupPrinter(surface, m_page); !status.ok())
        return status;
    // The first output starts the document.
    surface.printText(QStringLiteral(" "));
    surface.setCurrentY(0);

    std::optional<MarginsTwips> margins = marginsOf(m_page);
    if (!margins)
        return PrintStatus::overflow();
    PrintText(surface, m_page.Header(), margins->left, margins->right);
    surface.setCurrentX(margins->left);
    surface.setCurrentY(margins->top);
    PrintText(surface, m_title, margins->left, margins->right);
    surface.setCurrentY(surface.currentY() + kTwipsPerCentimetre / 2.0);
    SetPrinterFont(surface, m_headerFont);
    PrintColumnHeaders(surface, list, margins->left);
    SetPrinterFont(surface, m_fontItem);

    m_printedItems = 0;
    for (const PrintableRow& row : list.rows()) {
        if (m_printOnlySelectedItems && !row.selected)
            continue;
        const std::optional<std::int32_t> lineHeight = lineHeightOf(row.height);
        margins = marginsOf(m_page);
        if (!lineHeight || !margins)
            return PrintStatus::overflow();
        if (!LineFits(surface, *lineHeight, margins->bottom)) {
            Q_EMIT BeforeNewPage();
            margins = marginsOf(m_page);
            if (!margins)
                return PrintStatus::overflow();
            // The footer of a broken page goes one row below the last row printed.
            surface.setCurrentY(surface.currentY() + row.height);
            PrintText(surface, m_page.Footer(), margins->left, margins->right);
            if (PrintStatus status = surface.newPage(); !status.ok())
                return status;
            PrintText(surface, m_page.Header(), margins->left, margins->right);
            surface.setCurrentY(margins->top);
            SetPrinterFont(surface, m_headerFont);
            PrintColumnHeaders(surface, list, margins->left);
            SetPrinterFont(surface, m_fontItem);
        }
        PrintListItem(surface, row, list, m_imageList, margins->left);
        ++m_printedItems;
    }

    margins = marginsOf(m_page);
    if (!margins)
        return PrintStatus::overflow();
    surface.setCurrentY(surface.printableHeight() - margins->bottom);
    PrintText(surface, m_page.Footer(), margins->left, margins->right);
    return surface.endDocument();
}

CPrintListView::SurfaceFactory systemPrinterSurface()
{
    return []() -> std::unique_ptr<PrintSurface> {
        const QPrinterInfo printer = systemPrinter();
        if (printer.isNull())
            return nullptr;
        return QtPrintSurface::forQueue(printer.printerName());
    };
}

void showPrintFailure(const PrintStatus& failure)
{
    QApplication::beep();
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Ostrel"), failure.message(), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

} // namespace parvane::print
