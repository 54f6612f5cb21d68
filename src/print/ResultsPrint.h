#pragma once

#include <filesystem>
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
    std::filesystem::path programFolder;
    // The printer to print to; a null QPrinterInfo when none is installed.
    std::function<QPrinterInfo()> printer = &systemPrinter;
    // Shows a PDF that has been written; by default in the desktop's viewer. False when no
    // program could be started for it.
    std::function<bool(const QString& pdfFile)> openDocument = &openWithDesktop;
    // Tells the user that a PDF could not be opened (`message` says where it is); by default a
    // message box titled "Parvane".
    std::function<void(const QString& message)> reportUnopened = &showUnopened;

    static bool openWithDesktop(const QString& pdfFile);
    static void showUnopened(const QString& message);
};

// What a results print did, for the main window to show.
struct ResultsPrintOutcome
{
    bool printed = false; // false after a failure, already reported to the user
    // The status line: "Impression envoyee a <printer> (N pages)", "Resultats enregistres dans
    // <file>" for a PDF, "Impression non effectuee" after a failure.
    QString status;
    QString pdfFile; // the PDF written, empty otherwise
};

// The print title for `now`: "Parvane: Resultats - ", the date, " - ", the time, date and time in
// the regional format of `locale` (short date, long time without a time zone).
QString resultsTitle(const QDateTime& now, const QLocale& locale = QLocale::system());

// The PDF file of a results print at `now` in `folder`: "Parvane_Resultats_<yyyy-MM-dd>_<HHmm>.pdf",
// with "_2", "_3" ... before ".pdf" when that file already exists, so that an earlier print of the
// same minute is kept.
std::filesystem::path resultsPdfPath(const std::filesystem::path& folder, const QDateTime& now);

// The print command of the main window: landscape, a title dated `now`, then the print, to the
// printer or, where none is installed, to a PDF in the program folder that is then opened (the
// user is told where it is when it cannot be). A failure has been reported to the user by
// `printer`. `printer` keeps that destination for later prints.
ResultsPrintOutcome printResults(CPrintListView& printer, const QDateTime& now,
                                 const ResultsPrintContext& context);

} // namespace parvane::print
