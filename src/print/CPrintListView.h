#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include <QObject>

#include "print/CPage.h"
#include "print/CText.h"
#include "print/MPrintFunctions.h"
#include "print/PrintFont.h"
#include "print/PrintStatus.h"

namespace parvane::print {

class PrintSurface;
class PrintableList;

// The list printer: prints a list's title, column headings and rows as shown on screen, repeats
// the headings on every page and prints a page header and a numbered footer. Page, title and fonts
// are owned and configured in place through their getters. A print fails as a whole: the document
// is dropped, the user is told once (beep and message box) and PrintControl returns false.
class CPrintListView final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CPrintListView)

public:
    // Makes the surface of one print; nullptr when no printer can be used.
    using SurfaceFactory = std::function<std::unique_ptr<PrintSurface>()>;
    // Tells the user that a print failed.
    using FailureHandler = std::function<void(const PrintStatus& failure)>;

    // The page takes paper and orientation from the installed printer. The surface factory
    // starts as the system's printer (see systemPrinterSurface()).
    explicit CPrintListView(QObject* parent = nullptr);
    // For tests: a page with fixed paper defaults.
    explicit CPrintListView(PaperDefaults defaults, QObject* parent = nullptr);
    ~CPrintListView() override;

    // Font of the column headings, owned.
    PrintFont& HeaderFont() { return m_headerFont; }

    // Font of the rows, owned.
    PrintFont& FontItem() { return m_fontItem; }

    const PrintImageList& ImageList() const { return m_imageList; }

    void setImageList(const PrintImageList& imageList) { m_imageList = imageList; }

    // Part of the interface; printing never changes it.
    std::int16_t CurrentPage() const { return m_currentPage; }

    // Rows printed so far by the current or last print.
    std::int32_t PrintedItems() const { return m_printedItems; }

    bool PrintOnlySelectedItems() const { return m_printOnlySelectedItems; }

    void setPrintOnlySelectedItems(bool on) { m_printOnlySelectedItems = on; }

    // The title, printed once on the first page.
    CText& Title() { return m_title; }

    CPage& Page() { return m_page; }

    // The list to print, nullptr when none is set.
    PrintableList* Control() const { return m_control.get(); }

    // Stores the list and copies its font into FontItem and HeaderFont.
    void setControl(std::shared_ptr<PrintableList> list);

    // Prints the list on the surface the factory makes. No dialog is shown whatever `ShowDialog`
    // says. Returns true when the document was printed, false after an error (already reported
    // through the failure handler).
    bool PrintControl(bool ShowDialog);

    void setSurfaceFactory(SurfaceFactory factory) { m_surfaceFactory = std::move(factory); }

    // Replaces the beep and message box, for tests.
    void setFailureHandler(FailureHandler handler) { m_failureHandler = std::move(handler); }

Q_SIGNALS:
    // Raised before each page break; PrintedItems() holds the rows printed so far.
    void BeforeNewPage();

private:
    PrintStatus printOn(PrintSurface& surface, const PrintableList& list);

    std::shared_ptr<PrintableList> m_control;
    CPage m_page;
    CText m_title;
    bool m_printOnlySelectedItems = false;
    std::int32_t m_printedItems = 0;
    std::int16_t m_currentPage = 0;
    PrintImageList m_imageList;
    PrintFont m_headerFont;
    PrintFont m_fontItem;
    SurfaceFactory m_surfaceFactory;
    FailureHandler m_failureHandler;
};

// A surface factory for the system's printer (systemPrinter()), a CUPS queue; it makes nullptr
// when no printer is installed.
CPrintListView::SurfaceFactory systemPrinterSurface();

// The failure report of a print: a beep, then a modal message box with an exclamation icon,
// the title "Ostrel" and the text "<error number> <description>".
void showPrintFailure(const PrintStatus& failure);

} // namespace parvane::print
