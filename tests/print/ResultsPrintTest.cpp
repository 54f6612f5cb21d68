#include "print/ResultsPrint.h"

#include <memory>

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTreeWidget>

#include "FakePrintableList.h"
#include "PdfTools.h"
#include "print/CPrintListView.h"
#include "print/TreeWidgetPrintableList.h"
#include "support/TestFiles.h"

namespace parvane::print {
namespace {

const QDateTime kNow(QDate(2026, 12, 6), QTime(14, 5, 7));

QString folderOf(const parvane::test::TempDir& dir)
{
    return QString::fromStdString(dir.path().string());
}

// The main window's results list after a run: 7 columns sized to their contents, `rows` rows.
std::unique_ptr<QTreeWidget> filledResultsList(int rows)
{
    auto tree = std::make_unique<QTreeWidget>();
    tree->setHeaderLabels({QStringLiteral("Action"), QStringLiteral("Sicovam"), QStringLiteral("Dernier"),
                           QStringLiteral("UT"), QStringLiteral("Ecart%"), QStringLiteral("Var%"),
                           QStringLiteral("Commentaires")});
    tree->setRootIsDecorated(false);
    tree->resize(900, 600);
    for (int i = 0; i < rows; ++i) {
        auto* item = new QTreeWidgetItem(tree.get());
        item->setText(0, QStringLiteral("STOCK%1").arg(i, 2, 10, QLatin1Char('0')).leftJustified(16));
        item->setText(1, QStringLiteral("%1").arg(120000 + i));
        item->setText(2, QStringLiteral("%1").arg(10 + i * 0.25, 0, 'f', 2).leftJustified(5));
        item->setText(3, i % 3 == 0 ? QStringLiteral("WEEK ") : QStringLiteral("DAILY"));
        item->setText(4, QStringLiteral("%1").arg(0.1 + i * 0.01, 0, 'f', 2));
        item->setText(5, QStringLiteral("%1").arg(-2.0 + i * 0.05, 0, 'f', 2));
        item->setText(6, i % 4 == 0 ? QStringLiteral("support long terme - ") : QString());
    }
    for (int column = 0; column < tree->columnCount(); ++column)
        tree->resizeColumnToContents(column);
    return tree;
}

struct Opened
{
    QStringList files;
};

ResultsPrintContext pdfContext(const QString& folder, Opened& opened)
{
    ResultsPrintContext context;
    context.programFolder = folder;
    context.printer = []() { return QPrinterInfo(); };
    context.openDocument = [&opened](const QString& file) { opened.files.append(file); };
    return context;
}

TEST(ResultsPrint, StartUpConfigurationGivesTheResultsPrintItsLook)
{
    auto list = std::make_shared<test::FakePrintableList>();
    list->listFont = PrintFont{QStringLiteral("Small Fonts"), 6.75, false, false, false, false};
    CPrintListView printer{PaperDefaults{}};
    configureResultsPrinter(printer, list, {});

    EXPECT_EQ(printer.Control(), list.get());
    const CPage& page = printer.Page();
    EXPECT_EQ(page.LeftMargin(), 2);
    EXPECT_EQ(page.RightMargin(), 2);
    EXPECT_EQ(page.TopMargin(), 2);
    EXPECT_EQ(page.BottomMargin(), 2);
    EXPECT_EQ(page.Footer().Text(), QStringLiteral("Pag. <pag>"));
    EXPECT_EQ(page.Footer().Alignment(), 2);
    EXPECT_EQ(page.Footer().Font(), (PrintFont{QStringLiteral("Arial"), 8, false, false, false, false}));
    EXPECT_TRUE(page.Header().Text().isEmpty());
    EXPECT_EQ(printer.Title().Alignment(), 2);
    EXPECT_EQ(printer.Title().Font(),
              (PrintFont{QStringLiteral("Times New Roman"), 14, true, true, false, false}));
    EXPECT_EQ(printer.HeaderFont(),
              (PrintFont{QStringLiteral("Small Fonts"), 6.75, true, false, false, false}));
    EXPECT_EQ(printer.FontItem(), list->listFont);
}

TEST(ResultsPrint, TitleCarriesDateAndTimeInTheRegionalFormatWithoutTimeZone)
{
    EXPECT_EQ(resultsTitle(kNow, QLocale(QLocale::French, QLocale::France)),
              QStringLiteral("Parvane: Resultats - 06/12/2026 - 14:05:07"));
    const QString american = resultsTitle(kNow, QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_TRUE(american.startsWith(QStringLiteral("Parvane: Resultats - 12/6/26 - 2:05:07")))
        << american.toStdString();
    EXPECT_TRUE(american.endsWith(QStringLiteral("PM"))) << american.toStdString();
    EXPECT_EQ(resultsTitle(kNow, QLocale(QLocale::German, QLocale::Germany)),
              QStringLiteral("Parvane: Resultats - 06.12.26 - 14:05:07"));
}

TEST(ResultsPrint, PdfIsNamedAfterDateAndTimeAndKeepsAnEarlierPrintOfTheSameMinute)
{
    const parvane::test::TempDir dir;
    const QString folder = folderOf(dir);
    const QString first = resultsPdfPath(folder, kNow);
    EXPECT_EQ(first, QDir(folder).filePath(QStringLiteral("Parvane_Resultats_2026-12-06_1405.pdf")));
    QFile(first).open(QIODevice::WriteOnly);
    const QString second = resultsPdfPath(folder, kNow);
    EXPECT_EQ(second, QDir(folder).filePath(QStringLiteral("Parvane_Resultats_2026-12-06_1405_2.pdf")));
}

TEST(ResultsPrint, PrintsEightyRowsToALandscapePdfOnSeveralNumberedPages)
{
    const parvane::test::TempDir dir;
    auto tree = filledResultsList(80);
    CPrintListView printer{PaperDefaults{9, 1}};
    configureResultsPrinter(printer, std::make_shared<TreeWidgetPrintableList>(tree.get()), {});
    QStringList failures;
    printer.setFailureHandler([&](const PrintStatus& failure) { failures.append(failure.message()); });
    Opened opened;

    const QString pdf = printResults(printer, kNow, pdfContext(folderOf(dir), opened));

    EXPECT_TRUE(failures.isEmpty()) << failures.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(pdf, QDir(folderOf(dir)).filePath(QStringLiteral("Parvane_Resultats_2026-12-06_1405.pdf")));
    EXPECT_EQ(opened.files, QStringList{pdf});
    EXPECT_EQ(printer.Page().Orientation(), 2);
    EXPECT_EQ(printer.Title().Text(), resultsTitle(kNow));
    EXPECT_EQ(printer.PrintedItems(), 80);

    const QString info = test::pdfInfo(pdf);
    const int pages = test::pdfPageCount(info);
    EXPECT_GT(pages, 1) << info.toStdString();
    const QSizeF size = test::pdfPageSize(info);
    EXPECT_GT(size.width(), size.height()) << info.toStdString();
    EXPECT_NEAR(size.width(), 841.9, 1);

    const QString firstPage = test::pdfText(pdf, 1);
    EXPECT_TRUE(firstPage.contains(resultsTitle(kNow))) << firstPage.toStdString();
    for (const char* heading : {"Action", "Sicovam", "Dernier", "UT", "Ecart%", "Var%", "Commentaires"})
        EXPECT_TRUE(firstPage.contains(QLatin1String(heading))) << heading;
    EXPECT_TRUE(firstPage.contains(QStringLiteral("Pag. 1")));
    EXPECT_TRUE(firstPage.contains(QStringLiteral("STOCK00")));
    EXPECT_TRUE(firstPage.contains(QStringLiteral("support long terme -")));

    const QString secondPage = test::pdfText(pdf, 2);
    EXPECT_TRUE(secondPage.contains(QStringLiteral("Pag. 2"))) << secondPage.toStdString();
    EXPECT_TRUE(secondPage.contains(QStringLiteral("Commentaires")));
    EXPECT_FALSE(secondPage.contains(QStringLiteral("Parvane: Resultats")));

    const QString whole = test::pdfText(pdf);
    for (int i = 0; i < 80; ++i)
        EXPECT_TRUE(whole.contains(QStringLiteral("STOCK%1").arg(i, 2, 10, QLatin1Char('0')))) << i;
    EXPECT_TRUE(whole.contains(QStringLiteral("Pag. %1").arg(pages)));
}

TEST(ResultsPrint, FailedPrintLeavesNoPdfAndOpensNothing)
{
    const parvane::test::TempDir dir;
    auto tree = filledResultsList(80);
    CPrintListView printer{PaperDefaults{9, 1}};
    configureResultsPrinter(printer, std::make_shared<TreeWidgetPrintableList>(tree.get()), {});
    printer.Page().setBottomMargin(58);
    QStringList failures;
    printer.setFailureHandler([&](const PrintStatus& failure) { failures.append(failure.message()); });
    Opened opened;

    EXPECT_TRUE(printResults(printer, kNow, pdfContext(folderOf(dir), opened)).isEmpty());
    EXPECT_EQ(failures, QStringList{QStringLiteral("6 Overflow")});
    EXPECT_TRUE(opened.files.isEmpty());
    EXPECT_TRUE(QDir(folderOf(dir)).entryList(QDir::Files).isEmpty());
}

TEST(ResultsPrint, ProgramFolderThatCannotBeWrittenIsAPrinterError)
{
    const parvane::test::TempDir dir;
    auto tree = filledResultsList(3);
    CPrintListView printer{PaperDefaults{9, 1}};
    configureResultsPrinter(printer, std::make_shared<TreeWidgetPrintableList>(tree.get()), {});
    QStringList failures;
    printer.setFailureHandler([&](const PrintStatus& failure) { failures.append(failure.message()); });
    Opened opened;

    const QString missing = QDir(folderOf(dir)).filePath(QStringLiteral("no-such-folder"));
    EXPECT_TRUE(printResults(printer, kNow, pdfContext(missing, opened)).isEmpty());
    EXPECT_EQ(failures, QStringList{QStringLiteral("482 Printer error")});
    EXPECT_TRUE(opened.files.isEmpty());
}

TEST(ResultsPrint, ListWidgetDestroyedBeforeThePrintIsReported)
{
    const parvane::test::TempDir dir;
    auto tree = filledResultsList(3);
    CPrintListView printer{PaperDefaults{9, 1}};
    configureResultsPrinter(printer, std::make_shared<TreeWidgetPrintableList>(tree.get()), {});
    tree.reset();
    QStringList failures;
    printer.setFailureHandler([&](const PrintStatus& failure) { failures.append(failure.message()); });
    Opened opened;
    EXPECT_TRUE(printResults(printer, kNow, pdfContext(folderOf(dir), opened)).isEmpty());
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures[0].startsWith(QStringLiteral("91 ")));
}

} // namespace
} // namespace parvane::print
