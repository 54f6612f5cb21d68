#include "print/CPrintListView.h"

#include <gtest/gtest.h>

#include "FakePrintableList.h"
#include "RecordingPrintSurface.h"

namespace parvane::print {
namespace {

using test::FakePrintableList;
using test::PrintRecording;
using test::RecordedText;
using test::RecordingPrintSurface;

// A 15000 × 10047 twip page with 1 cm margins (567 twips) and fixed metrics (a 10 pt line is 250
// twips high, a character 100 twips wide). The title "Title" starts at 567 and ends at 817; half a
// centimetre lower (1100.5) the headings start at 1100 and end at 1350 + 2 pixels = 1380. Rows of
// 300 twips then start at 1380 + 300 k; the bottom limit is 10047 - 567 = 9480, so row 26 ends
// exactly on it and opens page 2, where headings start at 567 and rows at 847.
class CPrintListViewTest : public testing::Test
{
protected:
    CPrintListViewTest()
    {
        list->listColumns = {{1, QStringLiteral("Action"), 3000, kAlignLeft},
                             {2, QStringLiteral("Sicovam"), 1500, kAlignLeft},
                             {3, QStringLiteral("Dernier"), 1200, kAlignRight}};
        printer.setControl(list);
        printer.setSurfaceFactory([this]() -> std::unique_ptr<PrintSurface> {
            ++surfacesMade;
            auto surface = std::make_unique<RecordingPrintSurface>(recording, 15000, pageHeight);
            surface->failNewPageAt = failNewPageAt;
            surface->failEnd = failEnd;
            return surface;
        });
        printer.setFailureHandler([this](const PrintStatus& failure) { failures.append(failure.message()); });
        CPage& page = printer.Page();
        page.setLeftMargin(1);
        page.setRightMargin(1);
        page.setTopMargin(1);
        page.setBottomMargin(1);
        printer.Title().setText(QStringLiteral("Title"));
        printer.Title().setAlignment(kAlignCentre);
        page.Footer().setText(QStringLiteral("Pag. <pag>"));
        page.Footer().setAlignment(kAlignCentre);
        page.Footer().Font().size = 8;
    }

    void addRows(int count, double height = 300)
    {
        for (int i = 0; i < count; ++i) {
            list->listRows.push_back(
                PrintableRow{QStringLiteral("ROW%1").arg(i),
                             {QStringLiteral("C%1").arg(i), QStringLiteral("%1.00").arg(i)},
                             false,
                             height});
        }
    }

    std::shared_ptr<PrintRecording> recording = std::make_shared<PrintRecording>();
    std::shared_ptr<FakePrintableList> list = std::make_shared<FakePrintableList>();
    CPrintListView printer{PaperDefaults{9, 1}};
    QStringList failures;
    double pageHeight = 10047;
    int failNewPageAt = 0;
    bool failEnd = false;
    int surfacesMade = 0;
};

TEST_F(CPrintListViewTest, PrintsTitleHeadingsRowsAndFooterOnOnePage)
{
    addRows(3);
    ASSERT_TRUE(printer.PrintControl(false));
    EXPECT_TRUE(failures.isEmpty());
    EXPECT_TRUE(recording->ended);
    EXPECT_FALSE(recording->cancelled);
    EXPECT_EQ(recording->pages, 1);
    EXPECT_EQ(printer.PrintedItems(), 3);

    ASSERT_GE(recording->events.size(), 3);
    EXPECT_EQ(recording->events[0], QStringLiteral("paper 9"));
    EXPECT_EQ(recording->events[1], QStringLiteral("orientation 1"));
    // The blank that starts the document, at the printable area's corner.
    ASSERT_FALSE(recording->texts.empty());
    EXPECT_EQ(recording->texts[0].text, QStringLiteral(" "));
    EXPECT_EQ(recording->texts[0].x, 0);
    EXPECT_EQ(recording->texts[0].y, 0);
    EXPECT_EQ(recording->events.back(), QStringLiteral("end"));

    const RecordedText title = recording->find(QStringLiteral("Title"));
    EXPECT_EQ(title.x, (15000 - 500) / 2.0);
    EXPECT_EQ(title.y, 567);

    const RecordedText action = recording->find(QStringLiteral("Action"));
    EXPECT_EQ(action.x, 567);
    EXPECT_EQ(action.y, 1100);
    const RecordedText dernier = recording->find(QStringLiteral("Dernier"));
    EXPECT_EQ(dernier.x, 567 + 4500 + 1200 - 700);

    for (int i = 0; i < 3; ++i) {
        const RecordedText cell = recording->find(QStringLiteral("ROW%1").arg(i));
        EXPECT_EQ(cell.x, 567);
        EXPECT_EQ(cell.y, 1380 + 300 * i + 25);
        EXPECT_EQ(recording->find(QStringLiteral("C%1").arg(i)).x, 567 + 3000);
    }

    // The last page's footer sits on the bottom-margin line.
    const RecordedText footer = recording->find(QStringLiteral("Pag. 1"));
    EXPECT_EQ(footer.x, (15000 - 800) / 2.0);
    EXPECT_EQ(footer.y, 10047 - 567);
    EXPECT_EQ(footer.font.size, 8);
}

TEST_F(CPrintListViewTest, EmptyListStillPrintsTitleHeadingsAndFooterOnOnePage)
{
    ASSERT_TRUE(printer.PrintControl(false));
    EXPECT_EQ(recording->pages, 1);
    EXPECT_EQ(printer.PrintedItems(), 0);
    QStringList printed;
    for (const RecordedText& text : recording->texts)
        printed.append(text.text);
    EXPECT_EQ(printed,
              (QStringList{QStringLiteral(" "), QStringLiteral("Title"), QStringLiteral("Action"),
                           QStringLiteral("Sicovam"), QStringLiteral("Dernier"), QStringLiteral("Pag. 1")}));
}

TEST_F(CPrintListViewTest, OnlySelectedRowsWithNothingSelectedPrintsNoRow)
{
    addRows(40);
    printer.setPrintOnlySelectedItems(true);
    ASSERT_TRUE(printer.PrintControl(false));
    EXPECT_EQ(printer.PrintedItems(), 0);
    EXPECT_EQ(recording->pages, 1);
    EXPECT_EQ(recording->texts.size(), 6U);
}

TEST_F(CPrintListViewTest, OnlySelectedRowsPrintsThemOneBelowTheOther)
{
    addRows(10);
    list->listRows[2].selected = true;
    list->listRows[7].selected = true;
    printer.setPrintOnlySelectedItems(true);
    ASSERT_TRUE(printer.PrintControl(false));
    EXPECT_EQ(printer.PrintedItems(), 2);
    EXPECT_EQ(recording->find(QStringLiteral("ROW2")).y, 1380 + 25);
    EXPECT_EQ(recording->find(QStringLiteral("ROW7")).y, 1680 + 25);
    for (const RecordedText& text : recording->texts)
        EXPECT_NE(text.text, QStringLiteral("ROW3"));
}

TEST_F(CPrintListViewTest, RowEndingExactlyOnTheBottomLimitGoesToTheNextPage)
{
    addRows(27);
    QList<int> printedAtBreak;
    QObject::connect(&printer, &CPrintListView::BeforeNewPage,
                     [&]() { printedAtBreak.append(printer.PrintedItems()); });
    ASSERT_TRUE(printer.PrintControl(false));
    EXPECT_EQ(printedAtBreak, QList<int>{26});
    EXPECT_EQ(recording->pages, 2);

    EXPECT_EQ(recording->find(QStringLiteral("ROW25")).page, 1);
    const RecordedText moved = recording->find(QStringLiteral("ROW26"));
    EXPECT_EQ(moved.page, 2);
    EXPECT_EQ(moved.y, 847 + 25);

    // Footer of the broken page: one row below the last row printed (which ended at 9180).
    const RecordedText firstFooter = recording->find(QStringLiteral("Pag. 1"));
    EXPECT_EQ(firstFooter.page, 1);
    EXPECT_EQ(firstFooter.y, 9180 + 300);
    const RecordedText lastFooter = recording->find(QStringLiteral("Pag. 2"));
    EXPECT_EQ(lastFooter.page, 2);
    EXPECT_EQ(lastFooter.y, 9480);

    // Page 2 repeats the headings at the top margin, not the title.
    const std::vector<RecordedText> second = recording->textsOnPage(2);
    ASSERT_GE(second.size(), 3U);
    EXPECT_EQ(second[0].text, QStringLiteral("Action"));
    EXPECT_EQ(second[0].y, 567);
    EXPECT_EQ(second[1].text, QStringLiteral("Sicovam"));
    for (const RecordedText& text : second)
        EXPECT_NE(text.text, QStringLiteral("Title"));
    // Headings on page 2 are underlined too.
    int linesOnSecondPage = 0;
    for (const test::RecordedLine& line : recording->lines)
        linesOnSecondPage += line.page == 2 ? 1 : 0;
    EXPECT_EQ(linesOnSecondPage, 3);
}

TEST_F(CPrintListViewTest, RowEndingOneTwipAboveTheBottomLimitStaysOnThePage)
{
    addRows(27);
    pageHeight = 10048;
    ASSERT_TRUE(printer.PrintControl(false));
    EXPECT_EQ(recording->pages, 1);
    EXPECT_EQ(recording->find(QStringLiteral("ROW26")).page, 1);
    EXPECT_EQ(recording->find(QStringLiteral("Pag. 1")).y, 10048 - 567);
}

TEST_F(CPrintListViewTest, FooterOfABrokenPageSitsOneRowBelowTheLastRowTheLastOnTheBottomLine)
{
    // Bottom limit 10100 - 567 = 9533: rows 0 to 26 fit (row 26 ends at 9480), row 27 does not.
    pageHeight = 10100;
    addRows(30);
    ASSERT_TRUE(printer.PrintControl(false));
    EXPECT_EQ(recording->find(QStringLiteral("ROW26")).page, 1);
    EXPECT_EQ(recording->find(QStringLiteral("ROW27")).page, 2);
    EXPECT_EQ(recording->find(QStringLiteral("Pag. 1")).y, 9480 + 300);
    EXPECT_EQ(recording->find(QStringLiteral("Pag. 2")).y, 9533);
}

TEST_F(CPrintListViewTest, NumbersEveryPageAndRaisesBeforeNewPageAtEachBreak)
{
    // 26 rows on page 1, then 28 on each later page: 26 + 28 + 28 + 18.
    addRows(100);
    QList<int> printedAtBreak;
    QObject::connect(&printer, &CPrintListView::BeforeNewPage,
                     [&]() { printedAtBreak.append(printer.PrintedItems()); });
    ASSERT_TRUE(printer.PrintControl(false));
    EXPECT_EQ(recording->pages, 4);
    EXPECT_EQ(printedAtBreak, (QList<int>{26, 54, 82}));
    EXPECT_EQ(printer.PrintedItems(), 100);
    for (int page = 1; page <= 4; ++page) {
        const RecordedText footer = recording->find(QStringLiteral("Pag. %1").arg(page));
        EXPECT_EQ(footer.page, page);
    }
    EXPECT_EQ(recording->find(QStringLiteral("ROW99")).page, 4);
}

TEST_F(CPrintListViewTest, PageHeaderIsPrintedAtTheTopOfEveryPage)
{
    addRows(27);
    printer.Page().Header().setText(QStringLiteral("Page <pag>"));
    ASSERT_TRUE(printer.PrintControl(false));
    const RecordedText first = recording->find(QStringLiteral("Page 1"));
    EXPECT_EQ(first.page, 1);
    EXPECT_EQ(first.x, 567);
    EXPECT_EQ(first.y, 0);
    const RecordedText second = recording->find(QStringLiteral("Page 2"));
    EXPECT_EQ(second.page, 2);
    EXPECT_EQ(second.y, 0);
    // The title still starts at the top margin.
    EXPECT_EQ(recording->find(QStringLiteral("Title")).y, 567);
}

TEST_F(CPrintListViewTest, ControlCopiesTheListFontIntoRowAndHeadingFonts)
{
    list->listFont = PrintFont{QStringLiteral("Small Fonts"), 6.75, false, true, true, false};
    printer.setControl(list);
    EXPECT_EQ(printer.FontItem(), list->listFont);
    EXPECT_EQ(printer.HeaderFont(), list->listFont);
    EXPECT_EQ(printer.Control(), list.get());

    printer.HeaderFont().bold = true;
    addRows(1);
    ASSERT_TRUE(printer.PrintControl(true));
    EXPECT_TRUE(recording->find(QStringLiteral("Action")).font.bold);
    EXPECT_FALSE(recording->find(QStringLiteral("ROW0")).font.bold);
    EXPECT_EQ(recording->find(QStringLiteral("ROW0")).font.name, QStringLiteral("Small Fonts"));
}

TEST_F(CPrintListViewTest, MarginAbove57CentimetresFailsWithOverflowAndSendsNothing)
{
    addRows(3);
    printer.Page().setLeftMargin(58);
    EXPECT_FALSE(printer.PrintControl(false));
    EXPECT_EQ(failures, QStringList{QStringLiteral("6 Overflow")});
    EXPECT_TRUE(recording->cancelled);
    EXPECT_FALSE(recording->ended);

    failures.clear();
    *recording = PrintRecording{};
    printer.Page().setLeftMargin(2);
    printer.Page().setBottomMargin(-58);
    EXPECT_FALSE(printer.PrintControl(false));
    EXPECT_EQ(failures, QStringList{QStringLiteral("6 Overflow")});
    EXPECT_TRUE(recording->cancelled);
}

TEST_F(CPrintListViewTest, MarginOf57CentimetresStillPrints)
{
    addRows(1);
    printer.Page().setRightMargin(57);
    EXPECT_TRUE(printer.PrintControl(false));
    EXPECT_TRUE(failures.isEmpty());
}

TEST_F(CPrintListViewTest, MarginOverflowSetByABeforeNewPageHandlerEndsThePrintAtTheBreak)
{
    addRows(60);
    QObject::connect(&printer, &CPrintListView::BeforeNewPage, [&]() { printer.Page().setTopMargin(60); });
    EXPECT_FALSE(printer.PrintControl(false));
    EXPECT_EQ(failures, QStringList{QStringLiteral("6 Overflow")});
    EXPECT_EQ(recording->pages, 1);
    EXPECT_TRUE(recording->cancelled);
    EXPECT_FALSE(recording->ended);
    EXPECT_EQ(printer.PrintedItems(), 26);
}

TEST_F(CPrintListViewTest, PrinterFaultOnANewPageCancelsTheDocument)
{
    addRows(60);
    failNewPageAt = 2;
    EXPECT_FALSE(printer.PrintControl(false));
    EXPECT_EQ(failures, QStringList{QStringLiteral("482 Printer error")});
    EXPECT_TRUE(recording->cancelled);
    EXPECT_FALSE(recording->ended);
}

TEST_F(CPrintListViewTest, PrinterFaultAtTheEndCancelsTheDocument)
{
    addRows(2);
    failEnd = true;
    EXPECT_FALSE(printer.PrintControl(false));
    EXPECT_EQ(failures, QStringList{QStringLiteral("482 Printer error")});
    EXPECT_TRUE(recording->cancelled);
}

TEST_F(CPrintListViewTest, UnknownPaperOrOrientationCodeFailsBeforeAnythingIsPrinted)
{
    printer.Page().setPaperSize(0);
    EXPECT_FALSE(printer.PrintControl(false));
    printer.Page().setPaperSize(9);
    printer.Page().setOrientation(0);
    EXPECT_FALSE(printer.PrintControl(false));
    EXPECT_EQ(failures, (QStringList{QStringLiteral("380 Invalid property value"),
                                     QStringLiteral("380 Invalid property value")}));
    EXPECT_TRUE(recording->texts.empty());
}

TEST_F(CPrintListViewTest, WithoutAListTheReportIsObjectNotSet)
{
    CPrintListView bare{PaperDefaults{}};
    QStringList reported;
    bare.setFailureHandler([&](const PrintStatus& failure) { reported.append(failure.message()); });
    bool factoryCalled = false;
    bare.setSurfaceFactory([&]() -> std::unique_ptr<PrintSurface> {
        factoryCalled = true;
        return nullptr;
    });
    EXPECT_FALSE(bare.PrintControl(false));
    EXPECT_EQ(reported, QStringList{QStringLiteral("91 Object variable or With block variable not set")});
    EXPECT_FALSE(factoryCalled);

    list->available = false;
    EXPECT_FALSE(printer.PrintControl(false));
    EXPECT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures[0].startsWith(QStringLiteral("91 ")));
    EXPECT_EQ(surfacesMade, 0);
}

TEST_F(CPrintListViewTest, WithoutAPrinterTheReportIsError484)
{
    printer.setSurfaceFactory([]() { return std::unique_ptr<PrintSurface>(); });
    EXPECT_FALSE(printer.PrintControl(false));
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures[0].startsWith(QStringLiteral("484 Problem getting printer information")));
}

TEST_F(CPrintListViewTest, PrintedItemsCountsTheLastPrintOnly)
{
    addRows(5);
    ASSERT_TRUE(printer.PrintControl(false));
    EXPECT_EQ(printer.PrintedItems(), 5);
    list->listRows.resize(2);
    ASSERT_TRUE(printer.PrintControl(false));
    EXPECT_EQ(printer.PrintedItems(), 2);
    EXPECT_EQ(printer.CurrentPage(), 0);
    EXPECT_EQ(surfacesMade, 2);
}

} // namespace
} // namespace parvane::print
