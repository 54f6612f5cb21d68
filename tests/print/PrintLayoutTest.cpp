#include <numeric>

#include <gtest/gtest.h>

#include <QDir>

#include "PdfTools.h"
#include "ResultsListFixture.h"
#include "print/MPrintFunctions.h"
#include "print/QtPrintSurface.h"
#include "support/TestFiles.h"

namespace parvane::print {
namespace {

using test::ResultsListFixture;

constexpr double kMargin = 2 * 72 / 2.54; // the results' 2 cm margins, in points

TEST(PrintLayout, PdfPagesKeepTheMarginsRepeatTheHeadingsAndAreNumbered)
{
    const parvane::test::TempDir dir;
    ResultsListFixture results(80);
    results.tree->setColumnHidden(1, true);
    results.opens = false; // no viewer on this desktop
    const ResultsPrintOutcome outcome = results.printToPdf(dir.path());
    ASSERT_TRUE(outcome.printed) << results.failures.join(QLatin1Char('\n')).toStdString();
    const QString file = QDir(QString::fromStdString(dir.path().string()))
                             .filePath(QStringLiteral("Parvane_Resultats_2026-12-06_1405.pdf"));
    EXPECT_EQ(outcome.status, QStringLiteral("Resultats enregistres dans ") + file);
    EXPECT_EQ(results.opened, QStringList{file});
    EXPECT_EQ(results.reported,
              QStringList{QStringLiteral("Le fichier PDF n'a pas pu etre ouvert.\n") + outcome.status});
    // A second print in the same minute keeps the first.
    EXPECT_TRUE(results.printToPdf(dir.path()).pdfFile.endsWith(QStringLiteral("_1405_2.pdf")));

    const test::PdfPages pdf = test::readPdf(file);
    ASSERT_GT(pdf.words.size(), 1U);
    EXPECT_NEAR(pdf.sheet.width(), 841.9, 1); // A4 landscape
    EXPECT_NEAR(pdf.sheet.height(), 595.3, 1);
    const double limit = pdf.sheet.height() - kMargin;
    const std::vector<int> rows = test::rowsPerPage(pdf);
    EXPECT_EQ(std::accumulate(rows.begin(), rows.end(), 0), 80);
    for (std::size_t page = 0; page < pdf.words.size(); ++page) {
        SCOPED_TRACE(page + 1);
        const QStringList& words = pdf.words[page];
        EXPECT_TRUE(test::hasHeadingsAndNumber(pdf, page, false))
            << words.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(words.contains(QStringLiteral("Resultats")), page == 0); // the title
        EXPECT_FALSE(words.contains(QStringLiteral("120001")));            // the hidden column
        double lastRowBottom = 0;
        double pitch = 0;
        for (qsizetype i = 0; i < words.size(); ++i) {
            const QRectF& box = pdf.boxes[page][i];
            EXPECT_GE(box.left(), kMargin - 0.5) << words[i].toStdString();
            EXPECT_GE(box.top(), kMargin - 1) << words[i].toStdString();
            if (words[i].startsWith(QStringLiteral("STOCK"))) {
                EXPECT_LE(box.bottom(), limit) << words[i].toStdString();
                pitch = lastRowBottom > 0 ? box.bottom() - lastRowBottom : 0;
                lastRowBottom = box.bottom();
            }
            if (words[i] == QStringLiteral("Pag.") && page + 1 == pdf.words.size()) {
                EXPECT_NEAR(box.top(), limit, 1.5); // the last footer sits on the bottom margin
            }
        }
        if (page + 1 < pdf.words.size()) { // a full page: one more row would cross the bottom margin
            EXPECT_GT(lastRowBottom + pitch, limit - 3) << lastRowBottom << " + " << pitch;
        }
    }
}

TEST(PrintLayout, FailuresAreReportedOnceAndLeaveNoFile)
{
    const std::vector<std::pair<QString, std::function<void(ResultsListFixture&)>>> cases = {
        {QStringLiteral("6 Overflow"), [](ResultsListFixture& r) { r.printer.Page().setBottomMargin(58); }},
        {QStringLiteral("91 Object variable or With block variable not set"),
         [](ResultsListFixture& r) { r.tree.reset(); }},
        {QStringLiteral("380 Invalid property value"),
         [](ResultsListFixture& r) { r.printer.Page().setPaperSize(0); }},
        {QStringLiteral("482 Printer error"), {}}, // the program folder is missing
    };
    for (const auto& [failure, arrange] : cases) {
        SCOPED_TRACE(failure.toStdString());
        const parvane::test::TempDir dir;
        ResultsListFixture results(40);
        if (arrange)
            arrange(results);
        const ResultsPrintOutcome outcome = results.printToPdf(arrange ? dir.path() : dir.path() / "missing");
        EXPECT_FALSE(outcome.printed);
        EXPECT_EQ(outcome.status, QStringLiteral("Impression non effectuee"));
        EXPECT_EQ(results.failures, QStringList{failure});
        EXPECT_TRUE(results.opened.isEmpty());
        EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
    }
}

TEST(PrintLayout, TitleCarriesDateAndTimeInTheRegionalFormatWithoutTimeZone)
{
    EXPECT_EQ(resultsTitle(test::kNow, QLocale(QLocale::French, QLocale::France)),
              QStringLiteral("Parvane: Resultats - 06/12/2026 - 14:05:07"));
    EXPECT_EQ(resultsTitle(test::kNow, QLocale(QLocale::English, QLocale::UnitedKingdom)),
              QStringLiteral("Parvane: Resultats - 06/12/2026 - 14:05:07"));
}

TEST(PrintLayout, ARowEndingExactlyOnTheBottomMarginDoesNotFit)
{
    auto surface = QtPrintSurface::forPdfFile(QString());
    // Landscape keeps every figure below in one binade, where these sums are exact.
    ASSERT_TRUE(surface->setOrientation(2).ok());
    surface->setCurrentY(surface->printableHeight() - 1134 - 300);
    EXPECT_FALSE(MPrintFunctions::LineFits(*surface, 300, 1134));
    EXPECT_TRUE(MPrintFunctions::LineFits(*surface, 299, 1134));
}

} // namespace
} // namespace parvane::print
