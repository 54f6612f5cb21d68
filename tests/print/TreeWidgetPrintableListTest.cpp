#include "print/TreeWidgetPrintableList.h"

#include <memory>

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QTreeWidget>

namespace parvane::print {
namespace {

std::unique_ptr<QTreeWidget> resultsList()
{
    auto tree = std::make_unique<QTreeWidget>();
    tree->setHeaderLabels({QStringLiteral("Action"), QStringLiteral("Sicovam"), QStringLiteral("Dernier"),
                           QStringLiteral("UT"), QStringLiteral("Ecart%"), QStringLiteral("Var%"),
                           QStringLiteral("Commentaires")});
    tree->setRootIsDecorated(false);
    tree->setSelectionMode(QAbstractItemView::ExtendedSelection);
    tree->resize(800, 400);
    for (int i = 0; i < 3; ++i) {
        auto* item = new QTreeWidgetItem(tree.get());
        item->setText(0, QStringLiteral("STOCK%1").arg(i));
        item->setText(1, QStringLiteral("12000%1").arg(i));
        item->setText(4, QStringLiteral("0.8%1").arg(i));
        item->setText(6, QStringLiteral("note %1 - ").arg(i));
    }
    return tree;
}

TEST(TreeWidgetPrintableList, GivesColumnWidthsInTwipsHiddenColumnsAsZeroAndHeaderAlignment)
{
    auto tree = resultsList();
    tree->setColumnWidth(0, 120);
    tree->setColumnWidth(4, 60);
    tree->setColumnHidden(1, true);
    tree->headerItem()->setTextAlignment(4, Qt::AlignRight | Qt::AlignVCenter);
    tree->headerItem()->setTextAlignment(3, Qt::AlignHCenter);
    const double twipsPerPixel = 1440.0 / tree->logicalDpiX();

    const TreeWidgetPrintableList list(tree.get());
    const std::vector<PrintableColumn> columns = list.columns();
    ASSERT_EQ(columns.size(), 7U);
    EXPECT_EQ(columns[0].index, 1);
    EXPECT_EQ(columns[0].text, QStringLiteral("Action"));
    EXPECT_DOUBLE_EQ(columns[0].width, 120 * twipsPerPixel);
    EXPECT_EQ(columns[0].alignment, kAlignLeft);
    EXPECT_EQ(columns[1].width, 0.0);
    EXPECT_EQ(columns[3].alignment, kAlignCentre);
    EXPECT_EQ(columns[4].alignment, kAlignRight);
    EXPECT_DOUBLE_EQ(columns[4].width, 60 * twipsPerPixel);
    EXPECT_EQ(columns[6].text, QStringLiteral("Commentaires"));
    EXPECT_DOUBLE_EQ(list.twipsPerPixelY(), 1440.0 / tree->logicalDpiY());
}

TEST(TreeWidgetPrintableList, FollowsTheOrderTheHeaderShows)
{
    auto tree = resultsList();
    tree->header()->moveSection(6, 0);
    const std::vector<PrintableColumn> columns = TreeWidgetPrintableList(tree.get()).columns();
    ASSERT_EQ(columns.size(), 7U);
    EXPECT_EQ(columns[0].index, 7);
    EXPECT_EQ(columns[0].text, QStringLiteral("Commentaires"));
    EXPECT_EQ(columns[1].index, 1);
}

TEST(TreeWidgetPrintableList, GivesVisibleRootRowsWithSubItemsSelectionAndScreenHeight)
{
    auto tree = resultsList();
    tree->topLevelItem(1)->setSelected(true);
    auto* hidden = new QTreeWidgetItem(tree.get());
    hidden->setText(0, QStringLiteral("HIDDEN"));
    hidden->setHidden(true);

    const TreeWidgetPrintableList list(tree.get());
    const std::vector<PrintableRow> rows = list.rows();
    ASSERT_EQ(rows.size(), 3U);
    EXPECT_EQ(rows[0].text, QStringLiteral("STOCK0"));
    EXPECT_EQ(rows[0].subItem(1), QStringLiteral("120000"));
    EXPECT_EQ(rows[0].subItem(4), QStringLiteral("0.80"));
    EXPECT_EQ(rows[0].subItem(6), QStringLiteral("note 0 - "));
    EXPECT_EQ(rows[0].subItem(7), QString());
    EXPECT_FALSE(rows[0].selected);
    EXPECT_TRUE(rows[1].selected);
    const double expected =
        tree->visualItemRect(tree->topLevelItem(2)).height() * 1440.0 / tree->logicalDpiY();
    EXPECT_GT(expected, 0);
    EXPECT_DOUBLE_EQ(rows[2].height, expected);
}

TEST(TreeWidgetPrintableList, GivesTheWidgetFont)
{
    auto tree = resultsList();
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(6.75);
    font.setBold(true);
    font.setUnderline(true);
    tree->setFont(font);
    EXPECT_EQ(TreeWidgetPrintableList(tree.get()).font(),
              (PrintFont{QStringLiteral("Arial"), 6.75, true, false, true, false}));

    font.setPixelSize(12);
    tree->setFont(font);
    EXPECT_DOUBLE_EQ(TreeWidgetPrintableList(tree.get()).font().size, 12 * 72.0 / tree->logicalDpiY());
}

TEST(TreeWidgetPrintableList, IsUnavailableOnceTheWidgetIsDestroyed)
{
    auto tree = resultsList();
    const TreeWidgetPrintableList list(tree.get());
    EXPECT_TRUE(list.isAvailable());
    tree.reset();
    EXPECT_FALSE(list.isAvailable());
    EXPECT_TRUE(list.rows().empty());
    EXPECT_TRUE(list.columns().empty());
}

} // namespace
} // namespace parvane::print
