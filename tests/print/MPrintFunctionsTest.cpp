#include "print/MPrintFunctions.h"

#include <gtest/gtest.h>

#include "FakePrintableList.h"
#include "RecordingPrintSurface.h"
#include "print/CPage.h"
#include "print/CText.h"

namespace parvane::print {
namespace {

using test::FakePrintableList;
using test::PrintRecording;
using test::RecordingPrintSurface;

// A 15000 × 10000 twip surface; in its 10 pt default font a character is 100 twips wide and a
// line 250 twips high.
class MPrintFunctionsTest : public testing::Test
{
protected:
    std::shared_ptr<PrintRecording> recording = std::make_shared<PrintRecording>();
    RecordingPrintSurface surface{recording};
};

CText textOf(const QString& line, int alignment, double size = 10)
{
    CText text;
    text.setText(line);
    text.setAlignment(alignment);
    text.Font().size = size;
    return text;
}

TEST_F(MPrintFunctionsTest, PrintTextAlignsLeftRightAndCentreAndLeavesOtherCodesInPlace)
{
    MPrintFunctions::PrintText(surface, textOf(QStringLiteral("Hello"), 0), 1000, 2000);
    MPrintFunctions::PrintText(surface, textOf(QStringLiteral("Hello"), 1), 1000, 2000);
    MPrintFunctions::PrintText(surface, textOf(QStringLiteral("Hello"), 2), 1000, 2000);
    surface.setCurrentX(333);
    MPrintFunctions::PrintText(surface, textOf(QStringLiteral("Hello"), 7), 1000, 2000);
    surface.setCurrentX(333);
    MPrintFunctions::PrintText(surface, textOf(QStringLiteral("Hello"), -1), 1000, 2000);

    ASSERT_EQ(recording->texts.size(), 5U);
    EXPECT_EQ(recording->texts[0].x, 1000);
    EXPECT_EQ(recording->texts[1].x, 15000 - 2000 - 500);
    EXPECT_EQ(recording->texts[2].x, (15000 - 500) / 2.0);
    EXPECT_EQ(recording->texts[3].x, 333);
    EXPECT_EQ(recording->texts[4].x, 333);
    // Each line moves the current y down one line and the current x back to 0.
    EXPECT_EQ(recording->texts[4].y, 4 * 250);
    EXPECT_EQ(surface.currentY(), 5 * 250);
    EXPECT_EQ(surface.currentX(), 0);
}

TEST_F(MPrintFunctionsTest, PrintTextOfAnEmptyTextDoesNothingAtAll)
{
    surface.setCurrentX(12);
    surface.setCurrentY(34);
    CText empty = textOf(QString(), 2, 30);
    empty.Font().bold = true;
    MPrintFunctions::PrintText(surface, empty, 1000, 2000);
    EXPECT_TRUE(recording->events.isEmpty());
    EXPECT_EQ(surface.font(), PrintFont{});
    EXPECT_EQ(surface.currentX(), 12);
    EXPECT_EQ(surface.currentY(), 34);
}

TEST_F(MPrintFunctionsTest, PrintTextPrintsInTheTextsFont)
{
    CText text = textOf(QStringLiteral("Title"), 0);
    text.setFont(PrintFont{QStringLiteral("Times New Roman"), 14, true, true, false, true});
    MPrintFunctions::PrintText(surface, text, 0, 0);
    ASSERT_EQ(recording->texts.size(), 1U);
    EXPECT_EQ(recording->texts[0].font, text.Font());
    EXPECT_EQ(surface.currentY(), 14 * 25);
}

TEST_F(MPrintFunctionsTest, PrintTextPositionsByTheWidthOfTheTextWithItsPageTag)
{
    // "Pag. <pag>" is 10 characters of 80 twips at 8 pt; "Pag. 1" would be 6.
    MPrintFunctions::PrintText(surface, textOf(QStringLiteral("Pag. <pag>"), 2, 8), 567, 567);
    MPrintFunctions::PrintText(surface, textOf(QStringLiteral("Pag. <pag>"), 1, 8), 567, 567);
    ASSERT_EQ(recording->texts.size(), 2U);
    EXPECT_EQ(recording->texts[0].text, QStringLiteral("Pag. 1"));
    EXPECT_EQ(recording->texts[0].x, (15000 - 800) / 2.0);
    EXPECT_EQ(recording->texts[1].text, QStringLiteral("Pag. 1"));
    EXPECT_EQ(recording->texts[1].x, 15000 - 567 - 800);
}

TEST_F(MPrintFunctionsTest, ReplacePageTagReplacesOnlyTheFirstTag)
{
    QString twice = QStringLiteral("<pag> / <pag>");
    MPrintFunctions::ReplacePageTag(surface, twice);
    EXPECT_EQ(twice, QStringLiteral("1 / <pag>"));

    ASSERT_TRUE(surface.newPage().ok());
    ASSERT_TRUE(surface.newPage().ok());
    QString footer = QStringLiteral("Pag. <pag>");
    MPrintFunctions::ReplacePageTag(surface, footer);
    EXPECT_EQ(footer, QStringLiteral("Pag. 3"));

    QString other = QStringLiteral("Pag. <PAG> <pa g>");
    MPrintFunctions::ReplacePageTag(surface, other);
    EXPECT_EQ(other, QStringLiteral("Pag. <PAG> <pa g>"));
}

TEST_F(MPrintFunctionsTest, LineFitsOnlyWhenItEndsStrictlyAboveTheBottomMargin)
{
    surface.setCurrentY(9000);
    EXPECT_TRUE(MPrintFunctions::LineFits(surface, 499, 500));
    EXPECT_FALSE(MPrintFunctions::LineFits(surface, 500, 500));
    EXPECT_FALSE(MPrintFunctions::LineFits(surface, 501, 500));
    EXPECT_TRUE(MPrintFunctions::LineFits(surface, 0, 0));
    surface.setCurrentY(9499.5);
    EXPECT_TRUE(MPrintFunctions::LineFits(surface, 0, 500));
}

TEST_F(MPrintFunctionsTest, SetPrinterFontCopiesAllSixAttributes)
{
    const PrintFont font{QStringLiteral("Courier"), 6.75, true, true, true, true};
    MPrintFunctions::SetPrinterFont(surface, font);
    EXPECT_EQ(surface.font(), font);
    MPrintFunctions::SetPrinterFont(surface, PrintFont{});
    EXPECT_EQ(surface.font(), PrintFont{});
}

TEST_F(MPrintFunctionsTest, SetupPrinterSetsPaperThenOrientationAndRefusesUnknownCodes)
{
    CPage page(PaperDefaults{8, 2});
    ASSERT_TRUE(MPrintFunctions::SetupPrinter(surface, page).ok());
    EXPECT_EQ(recording->events, (QStringList{QStringLiteral("paper 8"), QStringLiteral("orientation 2")}));

    page.setPaperSize(0);
    PrintStatus status = MPrintFunctions::SetupPrinter(surface, page);
    EXPECT_EQ(status.message(), QStringLiteral("380 Invalid property value"));
    page.setPaperSize(9);
    page.setOrientation(3);
    status = MPrintFunctions::SetupPrinter(surface, page);
    EXPECT_EQ(status.number(), 380);
}

FakePrintableList headingList()
{
    FakePrintableList list;
    list.listColumns = {
        {1, QStringLiteral("Action"), 1500, kAlignLeft},
        {2, QStringLiteral("Sicovam"), 0, kAlignLeft},
        {3, QStringLiteral("UT"), 1000, kAlignCentre},
        {4, QStringLiteral("Ecart%"), 1200.4, kAlignRight},
    };
    return list;
}

TEST_F(MPrintFunctionsTest, ColumnHeadersAlignInTheirColumnsAndSkipHiddenOnes)
{
    const FakePrintableList list = headingList();
    surface.setCurrentY(1100.5); // rounds to 1100, the even neighbour
    MPrintFunctions::PrintColumnHeaders(surface, list, 1134);

    ASSERT_EQ(recording->texts.size(), 3U);
    EXPECT_EQ(recording->texts[0].text, QStringLiteral("Action"));
    EXPECT_EQ(recording->texts[0].x, 1134);
    EXPECT_EQ(recording->texts[0].y, 1100);
    // The hidden column prints nothing and the next one closes up.
    EXPECT_EQ(recording->texts[1].text, QStringLiteral("UT"));
    EXPECT_EQ(recording->texts[1].x, 1134 + 1500 + (1000 - 200) / 2.0);
    EXPECT_EQ(recording->texts[1].y, 1100);
    EXPECT_EQ(recording->texts[2].text, QStringLiteral("Ecart%"));
    EXPECT_DOUBLE_EQ(recording->texts[2].x, 1134 + 2500 + 1200.4 - 600);
    EXPECT_EQ(recording->texts[2].y, 1100);

    // One black line per visible column, one text height ("A") below the line's top.
    ASSERT_EQ(recording->lines.size(), 3U);
    const double underline = 1100 + 250;
    EXPECT_EQ(recording->lines[0].x1, 1134);
    EXPECT_EQ(recording->lines[0].x2, 1134 + 1500);
    EXPECT_EQ(recording->lines[1].x1, 1134 + 1500);
    EXPECT_EQ(recording->lines[1].x2, 1134 + 2500);
    EXPECT_EQ(recording->lines[2].x1, 1134 + 2500);
    EXPECT_DOUBLE_EQ(recording->lines[2].x2, 1134 + 2500 + 1200.4);
    for (const test::RecordedLine& line : recording->lines) {
        EXPECT_EQ(line.y1, underline);
        EXPECT_EQ(line.y2, underline);
        EXPECT_EQ(line.colour, QColor(Qt::black));
    }
    // One line of the heading font, then two screen pixels.
    EXPECT_EQ(surface.currentY(), 1100 + 250 + 2 * 15);
}

TEST_F(MPrintFunctionsTest, ColumnHeadersRoundTheRunningColumnStartHalfToEven)
{
    FakePrintableList list;
    list.listColumns = {{1, QStringLiteral("a"), 100.5, kAlignLeft},
                        {2, QStringLiteral("b"), 100.5, kAlignLeft},
                        {3, QStringLiteral("c"), 100.5, kAlignLeft}};
    surface.setCurrentY(1101.5);
    MPrintFunctions::PrintColumnHeaders(surface, list, 0);
    ASSERT_EQ(recording->texts.size(), 3U);
    EXPECT_EQ(recording->texts[0].y, 1102);
    EXPECT_EQ(recording->texts[1].x, 100); // 100.5 → 100
    EXPECT_EQ(recording->texts[2].x, 200); // 100 + 100.5 → 200
}

TEST_F(MPrintFunctionsTest, ColumnHeadersOfAListWithoutVisibleColumnsOnlyMoveDownTwoPixels)
{
    FakePrintableList list;
    list.listColumns = {{1, QStringLiteral("Action"), 0, kAlignLeft}};
    surface.setCurrentY(500);
    MPrintFunctions::PrintColumnHeaders(surface, list, 567);
    EXPECT_TRUE(recording->events.isEmpty());
    EXPECT_EQ(surface.currentY(), 530);
}

TEST_F(MPrintFunctionsTest, ListItemCentresCellsInTheScreenRowHeightAndAdvancesByIt)
{
    FakePrintableList list;
    list.listColumns = {
        {1, QStringLiteral("Action"), 1500, kAlignLeft},
        {2, QStringLiteral("Sicovam"), 0, kAlignLeft},
        {3, QStringLiteral("Dernier"), 1000, kAlignRight},
        {4, QStringLiteral("UT"), 800, kAlignCentre},
    };
    const PrintableRow row{QStringLiteral("ALPHA"),
                           {QStringLiteral("120000"), QStringLiteral("12.50"), QStringLiteral("DAILY")},
                           false,
                           300.6};
    surface.setCurrentY(2000);
    MPrintFunctions::PrintListItem(surface, row, list, {}, 1134);

    ASSERT_EQ(recording->texts.size(), 3U);
    // Row height 300.6 rounds to 301, text height 250: the cells start 25.5 twips lower.
    EXPECT_EQ(recording->texts[0].text, QStringLiteral("ALPHA"));
    EXPECT_EQ(recording->texts[0].x, 1134);
    EXPECT_EQ(recording->texts[0].y, 2025.5);
    EXPECT_EQ(recording->texts[1].text, QStringLiteral("12.50"));
    EXPECT_EQ(recording->texts[1].x, 1134 + 1500 + 1000 - 500);
    EXPECT_EQ(recording->texts[1].y, 2025.5);
    EXPECT_EQ(recording->texts[2].text, QStringLiteral("DAILY"));
    EXPECT_EQ(recording->texts[2].x, 1134 + 2500 + (800 - 500) / 2.0);
    EXPECT_EQ(surface.currentY(), 2301);
}

TEST_F(MPrintFunctionsTest, ListItemAdvancesByTheRowHeightWhateverThePrinterFont)
{
    FakePrintableList list;
    list.listColumns = {{1, QStringLiteral("Action"), 1500, kAlignLeft},
                        {2, QStringLiteral("Commentaires"), 3000, kAlignLeft}};
    // A 12 pt printer font (300 twips) in a 150-twip screen row: the text starts above the row.
    surface.setFontSize(12);
    const PrintableRow row{QStringLiteral("BETA"), {}, false, 150};
    surface.setCurrentY(1000);
    MPrintFunctions::PrintListItem(surface, row, list, {}, 0);
    ASSERT_EQ(recording->texts.size(), 2U);
    EXPECT_EQ(recording->texts[0].y, 1000 - 75);
    // A missing sub-item prints as an empty cell.
    EXPECT_EQ(recording->texts[1].text, QString());
    EXPECT_EQ(recording->texts[1].x, 1500);
    EXPECT_EQ(surface.currentY(), 1150);
}

} // namespace
} // namespace parvane::print
