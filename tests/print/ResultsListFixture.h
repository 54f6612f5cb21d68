#pragma once

#include <filesystem>
#include <memory>
#include <vector>

#include <QDateTime>
#include <QTreeWidget>

#include "PdfTools.h"
#include "print/CPrintListView.h"
#include "print/ResultsPrint.h"
#include "print/TreeWidgetPrintableList.h"

namespace parvane::print::test {

inline const QDateTime kNow(QDate(2026, 12, 6), QTime(14, 5, 7));

// The main window's results list after a run of `rows` rows "STOCK00", "STOCK01"..., columns sized
// to their contents, and the results printer configured on it as at start-up. Failures, opened
// PDFs and reports of unopened ones are collected instead of shown.
struct ResultsListFixture
{
    explicit ResultsListFixture(int rows)
    {
        tree->setHeaderLabels({QStringLiteral("Action"), QStringLiteral("Sicovam"), QStringLiteral("Dernier"),
                               QStringLiteral("UT"), QStringLiteral("Ecart%"), QStringLiteral("Var%"),
                               QStringLiteral("Commentaires")});
        for (int i = 0; i < rows; ++i) {
            auto* item = new QTreeWidgetItem(tree.get());
            item->setText(0, QStringLiteral("STOCK%1").arg(i, 2, 10, QLatin1Char('0')));
            item->setText(1, QString::number(120000 + i));
            item->setText(2, QString::number(10 + i * 0.25, 'f', 2));
            item->setText(3, i % 3 == 0 ? QStringLiteral("WEEK ") : QStringLiteral("DAILY"));
            item->setText(6, i % 4 == 0 ? QStringLiteral("support long terme") : QString());
        }
        for (int column = 0; column < tree->columnCount(); ++column)
            tree->resizeColumnToContents(column);
        configureResultsPrinter(printer, std::make_shared<TreeWidgetPrintableList>(tree.get()), {});
        printer.setFailureHandler([this](const PrintStatus& failure) { failures.append(failure.message()); });
        context.openDocument = [this](const QString& file) { return opened.append(file), opens; };
        context.reportUnopened = [this](const QString& message) { reported.append(message); };
    }

    // A print to the system's printer.
    ResultsPrintOutcome print() { return printResults(printer, kNow, context); }

    // A print to a PDF in `folder`, as where no printer is installed.
    ResultsPrintOutcome printToPdf(const std::filesystem::path& folder)
    {
        ResultsPrintContext pdf = context;
        pdf.programFolder = folder;
        pdf.printer = [] { return QPrinterInfo(); };
        return printResults(printer, kNow, pdf);
    }

    std::unique_ptr<QTreeWidget> tree = std::make_unique<QTreeWidget>();
    CPrintListView printer{PaperDefaults{9, 1}};
    ResultsPrintContext context;
    bool opens = true;
    QStringList failures, opened, reported;
};

// Rows printed on each page of a results PDF.
inline std::vector<int> rowsPerPage(const PdfPages& pdf)
{
    std::vector<int> counts;
    for (const QStringList& words : pdf.words)
        counts.push_back(static_cast<int>(words.filter(QRegularExpression(QStringLiteral("^STOCK"))).size()));
    return counts;
}

// True when page `page` (0-based) of a results PDF has the headings, "Sicovam" included or not,
// and the footer "Pag. <page + 1>".
inline bool hasHeadingsAndNumber(const PdfPages& pdf, std::size_t page, bool withSicovam)
{
    const QStringList& words = pdf.words.at(page);
    for (const char* heading : {"Action", "Dernier", "UT", "Ecart%", "Var%", "Commentaires", "Pag."}) {
        if (!words.contains(QLatin1String(heading)))
            return false;
    }
    return words.contains(QStringLiteral("Sicovam")) == withSicovam
           && words.contains(QString::number(page + 1));
}

} // namespace parvane::print::test
