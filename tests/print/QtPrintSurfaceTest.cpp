#include "print/QtPrintSurface.h"

#include <gtest/gtest.h>

#include <QFileInfo>

#include "PdfTools.h"
#include "print/SystemPrinter.h"
#include "support/TestFiles.h"

namespace parvane::print {
namespace {

QString pdfIn(const parvane::test::TempDir& dir, const char* name)
{
    return QString::fromStdString((dir.path() / name).string());
}

TEST(QtPrintSurface, PdfPrintableAreaIsTheWholeSheetInTwips)
{
    const parvane::test::TempDir dir;
    auto surface = QtPrintSurface::forPdfFile(pdfIn(dir, "a.pdf"));
    ASSERT_TRUE(surface->setPaperSize(9).ok());
    ASSERT_TRUE(surface->setOrientation(1).ok());
    // A4 is 210 × 297 mm: 11906 × 16838 twips.
    EXPECT_NEAR(surface->printableWidth(), 11906, 10);
    EXPECT_NEAR(surface->printableHeight(), 16838, 10);
    ASSERT_TRUE(surface->setOrientation(2).ok());
    EXPECT_NEAR(surface->printableWidth(), 16838, 10);
    EXPECT_NEAR(surface->printableHeight(), 11906, 10);
    ASSERT_TRUE(surface->setPaperSize(1).ok());
    // Letter landscape: 11 × 8.5 inches.
    EXPECT_NEAR(surface->printableWidth(), 15840, 2);
    EXPECT_NEAR(surface->printableHeight(), 12240, 2);
}

TEST(QtPrintSurface, RefusesUnknownPaperAndOrientationCodesAndKeepsThePage)
{
    const parvane::test::TempDir dir;
    auto surface = QtPrintSurface::forPdfFile(pdfIn(dir, "a.pdf"));
    ASSERT_TRUE(surface->setPaperSize(8).ok());
    const double width = surface->printableWidth();
    EXPECT_EQ(surface->setPaperSize(0).number(), 380);
    EXPECT_EQ(surface->setPaperSize(5000).number(), 380);
    EXPECT_EQ(surface->setOrientation(3).number(), 380);
    EXPECT_EQ(surface->printableWidth(), width);
    // The printer's own paper (DMPAPER_USER) leaves the paper as it is.
    EXPECT_TRUE(surface->setPaperSize(kPaperCodeUser).ok());
    EXPECT_EQ(surface->printableWidth(), width);
}

TEST(QtPrintSurface, PrintMovesDownOneLineAndBackToTheLeftAndPagesRestartAtTheCorner)
{
    const parvane::test::TempDir dir;
    auto surface = QtPrintSurface::forPdfFile(pdfIn(dir, "a.pdf"));
    surface->setFontName(QStringLiteral("Arial"));
    surface->setFontSize(10);
    const double line = surface->textHeight(QStringLiteral("A"));
    // A 10 pt line is a little more than 10 points (200 twips) high.
    EXPECT_GT(line, 200);
    EXPECT_LT(line, 400);
    surface->setCurrentX(1000);
    surface->setCurrentY(500);
    surface->printText(QStringLiteral("ALPHA"));
    EXPECT_EQ(surface->currentX(), 0);
    EXPECT_DOUBLE_EQ(surface->currentY(), 500 + line);

    const double narrow = surface->textWidth(QStringLiteral("ALPHA"));
    surface->setFontSize(20);
    EXPECT_NEAR(surface->textWidth(QStringLiteral("ALPHA")), 2 * narrow, narrow * 0.1);
    EXPECT_EQ(surface->textWidth(QString()), 0);

    EXPECT_EQ(surface->pageNumber(), 1);
    ASSERT_TRUE(surface->newPage().ok());
    EXPECT_EQ(surface->pageNumber(), 2);
    EXPECT_EQ(surface->currentX(), 0);
    EXPECT_EQ(surface->currentY(), 0);
}

TEST(QtPrintSurface, EndWritesEveryPageToThePdf)
{
    const parvane::test::TempDir dir;
    const QString file = pdfIn(dir, "pages.pdf");
    auto surface = QtPrintSurface::forPdfFile(file);
    ASSERT_TRUE(surface->setPaperSize(9).ok());
    ASSERT_TRUE(surface->setOrientation(2).ok());
    surface->setCurrentX(1134);
    surface->setCurrentY(1134);
    surface->printText(QStringLiteral("first page"));
    surface->drawLine(1134, 2000, 5000, 2000, Qt::black);
    ASSERT_TRUE(surface->newPage().ok());
    surface->printText(QStringLiteral("second page"));
    EXPECT_FALSE(QFileInfo::exists(file)); // nothing is sent before the end
    ASSERT_TRUE(surface->endDocument().ok());

    const QString info = test::pdfInfo(file);
    EXPECT_EQ(test::pdfPageCount(info), 2) << info.toStdString();
    const QSizeF size = test::pdfPageSize(info);
    EXPECT_NEAR(size.width(), 841.9, 1);
    EXPECT_NEAR(size.height(), 595.3, 1);
    EXPECT_TRUE(test::pdfText(file, 1).contains(QStringLiteral("first page")));
    EXPECT_TRUE(test::pdfText(file, 2).contains(QStringLiteral("second page")));
}

TEST(QtPrintSurface, CancelledDocumentWritesNothing)
{
    const parvane::test::TempDir dir;
    const QString file = pdfIn(dir, "cancelled.pdf");
    auto surface = QtPrintSurface::forPdfFile(file);
    surface->printText(QStringLiteral("partial"));
    ASSERT_TRUE(surface->newPage().ok());
    surface->cancelDocument();
    EXPECT_FALSE(surface->endDocument().ok());
    surface.reset();
    EXPECT_FALSE(QFileInfo::exists(file));
}

TEST(QtPrintSurface, UnwritablePdfFileIsAPrinterError)
{
    const parvane::test::TempDir dir;
    const QString file = pdfIn(dir, "missing-folder/x.pdf");
    auto surface = QtPrintSurface::forPdfFile(file);
    surface->printText(QStringLiteral("text"));
    EXPECT_EQ(surface->endDocument().message(), QStringLiteral("482 Printer error"));
    EXPECT_FALSE(QFileInfo::exists(file));
}

} // namespace
} // namespace parvane::print
