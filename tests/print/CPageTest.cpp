#include "print/CPage.h"

#include <gtest/gtest.h>

#include "print/CText.h"
#include "print/SystemPrinter.h"

namespace parvane::print {
namespace {

TEST(CText, StartsEmptyLeftAlignedInArial10)
{
    const CText text;
    EXPECT_TRUE(text.Text().isEmpty());
    EXPECT_EQ(text.Alignment(), 0);
    EXPECT_EQ(text.Font(), (PrintFont{QStringLiteral("Arial"), 10.0, false, false, false, false}));
}

TEST(CText, FontSetterCopiesAndLaterChangesToTheSourceDoNotReachIt)
{
    CText text;
    PrintFont source{QStringLiteral("Times New Roman"), 14.0, true, true, true, true};
    text.setFont(source);
    source.name = QStringLiteral("Courier");
    source.size = 6;
    source.bold = false;
    EXPECT_EQ(text.Font(), (PrintFont{QStringLiteral("Times New Roman"), 14.0, true, true, true, true}));
}

TEST(CPage, StartsWith15CentimetreMarginsAndEmptyHeaderAndFooter)
{
    const CPage page(PaperDefaults{5, 2});
    EXPECT_EQ(page.LeftMargin(), 15);
    EXPECT_EQ(page.RightMargin(), 15);
    EXPECT_EQ(page.TopMargin(), 15);
    EXPECT_EQ(page.BottomMargin(), 15);
    EXPECT_EQ(page.PaperSize(), 5);
    EXPECT_EQ(page.Orientation(), 2);
    EXPECT_TRUE(page.Header().Text().isEmpty());
    EXPECT_TRUE(page.Footer().Text().isEmpty());
    EXPECT_EQ(page.Footer().Font(), PrintFont{});
}

TEST(CPage, StoresMarginsUnchangedNegativeAndOversizedIncluded)
{
    CPage page(PaperDefaults{});
    page.setLeftMargin(-3);
    page.setRightMargin(0);
    page.setTopMargin(58);
    page.setBottomMargin(32767);
    EXPECT_EQ(page.LeftMargin(), -3);
    EXPECT_EQ(page.RightMargin(), 0);
    EXPECT_EQ(page.TopMargin(), 58);
    EXPECT_EQ(page.BottomMargin(), 32767);
}

TEST(CPage, WithoutAnInstalledPrinterIsA4Portrait)
{
    if (!systemPrinter().isNull())
        GTEST_SKIP() << "a printer is installed on this machine";
    const CPage page;
    EXPECT_EQ(page.PaperSize(), 9);
    EXPECT_EQ(page.Orientation(), 1);
}

TEST(CPage, MarginTwipsOverflowsSixteenBitsBeyond57Centimetres)
{
    EXPECT_EQ(marginTwips(2), 1134);
    EXPECT_EQ(marginTwips(0), 0);
    EXPECT_EQ(marginTwips(57), 32319);
    EXPECT_EQ(marginTwips(-57), -32319);
    EXPECT_EQ(marginTwips(58), std::nullopt);
    EXPECT_EQ(marginTwips(-58), std::nullopt);
    EXPECT_EQ(marginTwips(15), 8505);
}

TEST(PaperCodes, MapWindowsPaperNumbersToQtPageSizes)
{
    EXPECT_EQ(pageSizeForPaperCode(1), QPageSize::Letter);
    EXPECT_EQ(pageSizeForPaperCode(5), QPageSize::Legal);
    EXPECT_EQ(pageSizeForPaperCode(8), QPageSize::A3);
    EXPECT_EQ(pageSizeForPaperCode(9), QPageSize::A4);
    EXPECT_EQ(pageSizeForPaperCode(11), QPageSize::A5);
    EXPECT_EQ(pageSizeForPaperCode(0), std::nullopt);
    EXPECT_EQ(pageSizeForPaperCode(-1), std::nullopt);
    EXPECT_EQ(pageSizeForPaperCode(999), std::nullopt);
    EXPECT_EQ(pageSizeForPaperCode(kPaperCodeUser), std::nullopt);

    EXPECT_EQ(paperCodeForPageSize(QPageSize(QPageSize::A4)), 9);
    EXPECT_EQ(paperCodeForPageSize(QPageSize(QPageSize::Letter)), 1);
    EXPECT_EQ(paperCodeForPageSize(QPageSize(QPageSize::A3)), 8);
    EXPECT_EQ(paperCodeForPageSize(QPageSize()), kPaperCodeUser);
    EXPECT_EQ(paperCodeForPageSize(QPageSize(QSizeF(123, 45), QPageSize::Millimeter)), kPaperCodeUser);
}

} // namespace
} // namespace parvane::print
