#pragma once

#include <functional>
#include <memory>

#include <QDateTime>
#include <QLocale>
#include <QPrinterInfo>
#include <QString>

#include "print/MPrintFunctions.h"
#include "print/SystemPrinter.h"

namespace parvane::print {

class CPrintListView;
class PrintableList;

// Gives the results printer the look it keeps for the program's life: the list `listView1` with
// its icons `ilTVLV`, all four margins 2 cm, the footer "Pag. <pag>" in Arial 8 pt centred, the
// title in Times New Roman 14 pt bold italic centred, bold headings; the page header stays empty.
void configureResultsPrinter(CPrintListView& printer, std::shared_ptr<PrintableList> listView1,
                             const PrintImageList& ilTVLV);

// Where the results print goes and what happens to a PDF of it.
struct ResultsPrintContext
{
    // Folder of the PDF written when no printer is installed: the program folder.
    QString programFolder;
    // The printer to print to; a null QPrinterInfo when none is installed.
    std::function<QPrinterInfo()> printer = &systemPrinter;
    // Shows a PDF that has been written; by default in the desktop's viewer.
    std::function<void(const QString& pdfFile)> openDocument = &openWithDesktop;

    static void openWithDesktop(const QString& pdfFile);
};

// The print title for `now`: "Parvane: Resultats - ", the date, " - ", the time, date and time in
// the regional format of `locale` (short date, long time without a time zone).
QString resultsTitle(const QDateTime& now, const QLocale& locale = QLocale::system());

// The PDF file of a results print at `now` in `folder`: "Parvane_Resultats_<yyyy-MM-dd>_<HHmm>.pdf",
// with "_2", "_3" ... before ".pdf" when that file already exists, so that an earlier print of the
// same minute is kept.
QString resultsPdfPath(const QString& folder, const QDateTime& now);

// The print command of the main window: landscape, a title dated `now`, then the print, to the
// printer or, where none is installed, to a PDF in the program folder that is then opened. A
// failure has been reported to the user by `printer`. `printer` keeps that destination for later
// prints. Returns the PDF written, empty otherwise.
QString printResults(CPrintListView& printer, const QDateTime& now, const ResultsPrintContext& context);

} // namespace parvane::print
