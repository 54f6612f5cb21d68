#include <gtest/gtest.h>

#include "PdfTools.h"
#include "PrivateCups.h"
#include "ResultsListFixture.h"
#include "print/SystemPrinter.h"
#include "support/TestFiles.h"

namespace parvane::print {
namespace {

using test::ResultsListFixture;

TEST(CupsPrint, LandsOnTheDefaultQueueWithThePagesAndRowsOfThePdf)
{
    const test::PrivateCups cups;
    if (!cups.skipReason().isEmpty())
        GTEST_SKIP() << cups.skipReason().toStdString();
    ASSERT_EQ(systemPrinter().printerName(), QStringLiteral("PDF"));
    ResultsListFixture results(80);
    const ResultsPrintOutcome outcome = results.print();
    ASSERT_TRUE(outcome.printed) << results.failures.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(results.opened.isEmpty());

    const QStringList printed = cups.printed();
    ASSERT_EQ(printed.size(), 1) << cups.jobs().toStdString();
    EXPECT_TRUE(cups.jobs().startsWith(QStringLiteral("PDF-1 "))) << cups.jobs().toStdString();
    const test::PdfPages pdf = test::readPdf(printed[0]);
    EXPECT_EQ(outcome.status, QStringLiteral("Impression envoyee a PDF (%1 pages)").arg(pdf.words.size()));
    for (std::size_t page = 0; page < pdf.words.size(); ++page)
        EXPECT_TRUE(test::hasHeadingsAndNumber(pdf, page, true)) << page;
    EXPECT_TRUE(pdf.words.at(0).contains(QStringLiteral("Resultats")));

    // The PDF written where no printer is installed has the same pages, row for row.
    const parvane::test::TempDir dir;
    const std::vector<int> rows = test::rowsPerPage(pdf);
    EXPECT_GT(rows.size(), 1U);
    EXPECT_EQ(test::rowsPerPage(test::readPdf(results.printToPdf(dir.path()).pdfFile)), rows);
}

TEST(CupsPrint, StoppedOrRefusingQueueIsReportedAndSentNothing)
{
    const test::PrivateCups cups;
    if (!cups.skipReason().isEmpty())
        GTEST_SKIP() << cups.skipReason().toStdString();
    for (const auto& [stop, failure, restart] :
         {std::tuple{"cupsdisable PDF", "482 L'imprimante PDF est arretee", "cupsenable PDF"},
          std::tuple{"cupsreject PDF", "482 L'imprimante PDF refuse les travaux", "cupsaccept PDF"}}) {
        SCOPED_TRACE(stop);
        ASSERT_TRUE(test::runTool(QLatin1String(stop)));
        ResultsListFixture results(10);
        const ResultsPrintOutcome outcome = results.print();
        EXPECT_FALSE(outcome.printed);
        EXPECT_EQ(outcome.status, QStringLiteral("Impression non effectuee"));
        ASSERT_EQ(results.failures.size(), 1);
        EXPECT_TRUE(results.failures[0].startsWith(QLatin1String(failure)))
            << results.failures[0].toStdString();
        EXPECT_TRUE(results.failures[0].endsWith(QStringLiteral("rien n'a ete envoye.")));
        EXPECT_TRUE(results.opened.isEmpty());
        EXPECT_TRUE(cups.jobs().isEmpty()) << cups.jobs().toStdString();
        EXPECT_TRUE(cups.printed().isEmpty());
        ASSERT_TRUE(test::runTool(QLatin1String(restart)));
    }
}

} // namespace
} // namespace parvane::print
