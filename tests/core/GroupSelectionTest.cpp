#include "core/scan/GroupSelection.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/TestBase.h"
#include "support/TestFiles.h"

namespace parvane::scan {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

class GroupSelectionTest : public ::testing::Test
{
protected:
    GroupSelectionTest()
        : m_base(m_dir.path() / "root")
    {
        for (const char* name : {"ALPHA_120000.txt", "BETA_130000.txt", "GAMMA_140000.txt", "MINI_12.txt"})
            test::writeFile(m_base.droite() / name, "");
    }

    BaseLayout layout() const { return BaseLayout::resolve(m_base.root(), "", ""); }

    // The OK! of the dialog, recording its progress.
    Selection choose(const Names& groups)
    {
        SelectionProgress progress;
        progress.range = [this](double maximum) { m_ranges.push_back(maximum); };
        progress.value = [this](double value) { m_values.push_back(value); };
        progress.groupStarted = [this](const std::string& name) { m_started.push_back(name); };
        return buildSelection(layout(), groups, progress);
    }

    test::TempDir m_dir;
    test::TestBase m_base;
    std::vector<double> m_ranges;
    std::vector<double> m_values;
    Names m_started;
};

TEST_F(GroupSelectionTest, ListsEveryGroupButAllTxt)
{
    for (const char* name : {"All.txt", "CAC40.txt", "banques.txt", "Melvor.txt", "Quennel.TXT", "notes.csv"})
        m_base.addGroup(name, "");
    fs::create_directories(m_base.groupe() / "Archives.txt");
    EXPECT_EQ(listegroupes(layout()), (Names{"banques", "CAC40", "Melvor", "Quennel"}));
}

TEST_F(GroupSelectionTest, ListsAllTxtSpelledInLowerCase)
{
    m_base.addGroup("All.txt", "");
    m_base.addGroup("all.txt", "");
    EXPECT_EQ(listegroupes(layout()), Names{"all"});
}

TEST_F(GroupSelectionTest, MissingGroupFolderListsNothing)
{
    fs::remove_all(m_base.groupe());
    EXPECT_TRUE(listegroupes(layout()).empty());
}

TEST_F(GroupSelectionTest, StockOfTwoGroupsIsChosenOnceWhereItWasFirstFound)
{
    m_base.addGroup("G1.txt", "130000\tBETA\r\n120000\tALPHA\r\n");
    m_base.addGroup("G2.txt", "140000\tGAMMA\r\n120000\tALPHA\r\n130000\tBETA\r\n");
    const Selection selection = choose({"G1", "G2"});
    EXPECT_TRUE(selection.active);
    EXPECT_EQ(selection.files, (Names{"BETA_130000.txt", "ALPHA_120000.txt", "GAMMA_140000.txt"}));
    EXPECT_EQ(m_started, (Names{"G1", "G2"}));
    // Five group lines; the bar advances per found file, repeats included, then goes back.
    EXPECT_EQ(m_ranges, std::vector<double>{6});
    EXPECT_EQ(m_values, (std::vector<double>{0.1, 1.1, 2.1, 3.1, 4.1, 5.1, 0.1}));
}

TEST_F(GroupSelectionTest, StocksWithoutTrendLineFileAreSkippedWithoutAdvancingTheBar)
{
    m_base.addGroup("G1.txt", "120000\tALPHA\r\n150000\tNOFILE\r\n130000\tBETA\r\n");
    const Selection selection = choose({"G1"});
    EXPECT_EQ(selection.files, (Names{"ALPHA_120000.txt", "BETA_130000.txt"}));
    EXPECT_EQ(m_ranges, std::vector<double>{4});
    EXPECT_EQ(m_values, (std::vector<double>{0.1, 1.1, 2.1, 0.1}));
}

TEST_F(GroupSelectionTest, GroupsWithoutAnyTrendLineFileGiveNoSelection)
{
    m_base.addGroup("G1.txt", "150000\tNOFILE\r\n");
    m_base.addGroup("G2.txt", "");
    const Selection selection = choose({"G1", "G2"});
    EXPECT_FALSE(selection.active);
    EXPECT_TRUE(selection.files.empty());
    EXPECT_EQ(m_started, (Names{"G1", "G2"}));
}

TEST_F(GroupSelectionTest, NoTickedGroupGivesNoSelection)
{
    EXPECT_FALSE(choose({}).active);
    EXPECT_TRUE(m_ranges.empty());
}

TEST_F(GroupSelectionTest, LinesThatCouldLeaveTheTrendLineFolderSelectNothing)
{
    test::writeFile(m_base.histo() / "ALPHA_120000.txt", "");
    test::writeFile(m_base.droite() / "sub" / "ALPHA_120000.txt", "");
    test::writeFile(m_base.droite() / "sub\\ALPHA_120000.txt", "");
    fs::create_directories(m_base.droite() / "x_");
    // Each line names a file that exists, but not as a stock of the trend-line folder.
    m_base.addGroup("G1.txt", "120000\t../histo/ALPHA\r\n"
                              "120000\tsub/ALPHA\r\n"
                              "120000\tsub\\ALPHA\r\n"
                              "/../../histo/ALPHA_120000\tx\r\n");
    const Selection selection = choose({"G1"});
    EXPECT_FALSE(selection.active);
    EXPECT_TRUE(selection.files.empty());
}

TEST_F(GroupSelectionTest, FieldsAfterTheNameAreIgnored)
{
    m_base.addGroup("G1.txt", "120000\tALPHA\tsuivi depuis mars\t3\r\n");
    EXPECT_EQ(choose({"G1"}).files, Names{"ALPHA_120000.txt"});
}

TEST_F(GroupSelectionTest, LinesWithoutNameAndMissingGroupFilesArePassedOver)
{
    // Four lines, the last without a line end; only the last names a stock.
    m_base.addGroup("G1.txt", "\r\n120000\r\nsans tabulation\r\n120000\tALPHA");
    const Selection selection = choose({"GONE", "G1"});
    EXPECT_EQ(selection.files, Names{"ALPHA_120000.txt"});
    EXPECT_EQ(m_started, (Names{"GONE", "G1"}));
    EXPECT_EQ(m_ranges, std::vector<double>{5});
}

TEST_F(GroupSelectionTest, NamesAreMatchedWithoutRegardToCase)
{
    m_base.addGroup("Favoris.txt", "120000\talpha\r\n");
    EXPECT_EQ(choose({"favoris"}).files, Names{"ALPHA_120000.txt"});
}

TEST_F(GroupSelectionTest, MelvorGroupSelectsNothing)
{
    m_base.addGroup("Melvor.txt", "120000\tX_ALPHA\r\n12    \tX_MINI\r\n");
    EXPECT_FALSE(choose({"Melvor"}).active);
}

TEST_F(GroupSelectionTest, QuennelGroupSelectsTheCommentedStocksThatHaveTrendLines)
{
    m_base.addGroup("Quennel.txt", "120000\tALPHA\r\n990000\tOMEGA\r\n12\tMINI\r\n");
    EXPECT_EQ(choose({"Quennel"}).files, (Names{"ALPHA_120000.txt", "MINI_12.txt"}));
}

} // namespace
} // namespace parvane::scan
