#include "print/ResultsPrint.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include "print/CPrintListView.h"
#include "print/PrintableList.h"
#include "print/QtPrintSurface.h"

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

void ResultsPrintContext::openWithDesktop(const QString& pdfFile)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(pdfFile));
}

QString resultsTitle(const QDateTime& now, const QLocale& locale)
{
    const QString date = locale.toString(now.date(), QLocale::ShortFormat);
    const QString time = locale.toString(now.time(), withoutTimeZone(locale.timeFormat(QLocale::LongFormat)));
    return QStringLiteral("Parvane: Resultats - ") + date + QStringLiteral(" - ") + time;
}

QString resultsPdfPath(const QString& folder, const QDateTime& now)
{
    const QDir dir(folder);
    const QString stem =
        QStringLiteral("Parvane_Resultats_") + now.toString(QStringLiteral("yyyy-MM-dd_HHmm"));
    QString path = dir.filePath(stem + QStringLiteral(".pdf"));
    for (int copy = 2; QFileInfo::exists(path); ++copy)
        path = dir.filePath(stem + QLatin1Char('_') + QString::number(copy) + QStringLiteral(".pdf"));
    return path;
}

QString printResults(CPrintListView& printer, const QDateTime& now, const ResultsPrintContext& context)
{
    printer.Page().setOrientation(2);
    printer.Title().setText(resultsTitle(now));

    const QPrinterInfo device = context.printer ? context.printer() : QPrinterInfo();
    QString pdfFile;
    if (!device.isNull()) {
        printer.setSurfaceFactory([device]() { return QtPrintSurface::forPrinter(device); });
    } else {
        pdfFile = resultsPdfPath(context.programFolder, now);
        printer.setSurfaceFactory([pdfFile]() { return QtPrintSurface::forPdfFile(pdfFile); });
    }
    if (!printer.PrintControl(false) || pdfFile.isEmpty())
        return {};
    if (context.openDocument)
        context.openDocument(pdfFile);
    return pdfFile;
}

} // namespace parvane::print
