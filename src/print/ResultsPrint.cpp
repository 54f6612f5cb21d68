#include "print/ResultsPrint.h"

#include <string>
#include <system_error>

#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QMessageBox>
#include <QUrl>

#include "print/CPrintListView.h"
#include "print/PrintableList.h"
#include "print/QtPrintSurface.h"
#include "qt/TextConversion.h"

namespace parvane::print {

namespace {

// A time format without its time-zone fields ("t"): the time as the system writes a time of
// day. Quoted literal text is kept as it stands.
QString withoutTimeZone(const QString& format)
{
    QString result;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (quoted || c != QLatin1Char('t')) {
            result.append(c);
            continue;
        }
        while (i + 1 < format.size() && format.at(i + 1) == QLatin1Char('t'))
            ++i;
        while (!result.isEmpty() && result.back().isSpace())
            result.chop(1);
    }
    return result.trimmed();
}

} // namespace

void configureResultsPrinter(CPrintListView& printer, std::shared_ptr<PrintableList> listView1,
                             const PrintImageList& ilTVLV)
{
    printer.setControl(std::move(listView1));
    printer.setImageList(ilTVLV);

    CPage& page = printer.Page();
    page.setBottomMargin(2);
    page.setTopMargin(2);
    page.setLeftMargin(2);
    page.setRightMargin(2);

    CText& footer = page.Footer();
    footer.setText(QStringLiteral("Pag. <pag>"));
    footer.Font().name = QStringLiteral("Arial");
    footer.Font().size = 8;
    footer.setAlignment(kAlignCentre);

    CText& title = printer.Title();
    title.Font().bold = true;
    title.setAlignment(kAlignCentre);
    title.Font().italic = true;
    title.Font().name = QStringLiteral("Times New Roman");
    title.Font().size = 14;

    printer.HeaderFont().bold = true;
}

bool ResultsPrintContext::openWithDesktop(const QString& pdfFile)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(pdfFile));
}

void ResultsPrintContext::showUnopened(const QString& message)
{
    QMessageBox::information(QApplication::activeWindow(), QStringLiteral("Parvane"), message);
}

QString resultsTitle(const QDateTime& now, const QLocale& locale)
{
    const QString date = locale.toString(now.date(), QLocale::ShortFormat);
    const QString time = locale.toString(now.time(), withoutTimeZone(locale.timeFormat(QLocale::LongFormat)));
    return QStringLiteral("Parvane: Resultats - ") + date + QStringLiteral(" - ") + time;
}

std::filesystem::path resultsPdfPath(const std::filesystem::path& folder, const QDateTime& now)
{
    const std::string stem =
        "Parvane_Resultats_" + now.toString(QStringLiteral("yyyy-MM-dd_HHmm")).toStdString();
    std::filesystem::path path = folder / (stem + ".pdf");
    std::error_code error;
    for (int copy = 2; std::filesystem::exists(path, error); ++copy)
        path = folder / (stem + '_' + std::to_string(copy) + ".pdf");
    return path;
}

ResultsPrintOutcome printResults(CPrintListView& printer, const QDateTime& now,
                                 const ResultsPrintContext& context)
{
    printer.Page().setOrientation(2);
    printer.Title().setText(resultsTitle(now));

    const QPrinterInfo device = context.printer ? context.printer() : QPrinterInfo();
    auto receipt = std::make_shared<QtPrintSurface::Receipt>();
    std::filesystem::path pdfPath;
    if (!device.isNull()) {
        printer.setSurfaceFactory(
            [queue = device.printerName(), receipt]() { return QtPrintSurface::forQueue(queue, receipt); });
    } else {
        pdfPath = resultsPdfPath(context.programFolder, now);
        // QPrinter names its file through the locale's encoding, which gives back the bytes of
        // a UTF-8 path; the user is shown the name decoded as the disk's names are.
        printer.setSurfaceFactory([file = QFile::decodeName(QByteArray::fromStdString(pdfPath.string()))]() {
            return QtPrintSurface::forPdfFile(file);
        });
    }

    ResultsPrintOutcome outcome;
    if (!printer.PrintControl(false)) {
        // The box has said why; the status line must not keep telling of an earlier print.
        outcome.status = QStringLiteral("Impression non effectuee");
        return outcome;
    }
    outcome.printed = true;
    if (pdfPath.empty()) {
        outcome.status = QStringLiteral("Impression envoyee a ") + receipt->queue + QStringLiteral(" (")
                         + QString::number(receipt->pages)
                         + (receipt->pages == 1 ? QStringLiteral(" page)") : QStringLiteral(" pages)"));
        return outcome;
    }
    outcome.pdfFile = QFile::decodeName(QByteArray::fromStdString(pdfPath.string()));
    outcome.status = QStringLiteral("Resultats enregistres dans ") + qt::fromDiskPath(pdfPath);
    if (!context.openDocument || !context.openDocument(outcome.pdfFile)) {
        if (context.reportUnopened)
            context.reportUnopened(QStringLiteral("Le fichier PDF n'a pas pu etre ouvert.\n")
                                   + outcome.status);
    }
    return outcome;
}

} // namespace parvane::print
