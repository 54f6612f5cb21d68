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
    fs::remove(m_base.groupe() / "All.txt");
    m_base.addGroup("all.txt", "");
    EXPECT_EQ(listegroupes(layout()).front(), "all");
    fs::remove_all(m_base.groupe());
    EXPECT_TRUE(listegroupes(layout()).empty());
}

TEST_F(GroupSelectionTest, StockOfTwoGroupsIsChosenOnceWhereItWasFirstFound)
{
    m_base.addGroup("G1.txt", "130000\tBETA\r\n120000\tALPHA\r\n");
    m_base.addGroup("G2.txt", "140000\tGAMMA\r\n150000\tNOFILE\r\n120000\tALPHA\r\n130000\tBETA\r\n");
    const Selection selection = choose({"G1", "G2"});
    EXPECT_TRUE(selection.active);
    EXPECT_EQ(selection.files, (Names{"BETA_130000.txt", "ALPHA_120000.txt", "GAMMA_140000.txt"}));
    EXPECT_EQ(m_started, (Names{"G1", "G2"}));
    // Six group lines; the bar advances per found file, repeats included, then goes back.
    EXPECT_EQ(m_ranges, std::vector<double>{7});
    EXPECT_EQ(m_values, (std::vector<double>{0.1, 1.1, 2.1, 3.1, 4.1, 5.1, 0.1}));
}

TEST_F(GroupSelectionTest, ChoosesTheStocksOfTheTickedGroupsThatHaveTrendLines)
{
    test::writeFile(m_base.histo() / "ALPHA_120000.txt", "");
    test::writeFile(m_base.droite() / "sub" / "ALPHA_120000.txt", "");
    test::writeFile(m_base.droite() / "sub\\ALPHA_120000.txt", "");
    fs::create_directories(m_base.droite() / "x_");
    const std::pair<const char*, const char*> groups[] = {
        {"None.txt", "150000\tNOFILE\r\n"},
        {"Empty.txt", ""},
        // Each line names a file that exists, but not as a stock of the trend-line folder.
        {"Escape.txt", "120000\t../histo/ALPHA\r\n120000\tsub/ALPHA\r\n120000\tsub\\ALPHA\r\n"
                       "/../../histo/ALPHA_120000\tx\r\n"},
        {"Fields.txt", "120000\tALPHA\tsuivi depuis mars\t3\r\n"},
        {"Lines.txt", "\r\n120000\r\nsans tabulation\r\n120000\tALPHA"},
        {"Favoris.txt", "120000\talpha\r\n"},
        {"Melvor.txt", "120000\tX_ALPHA\r\n12    \tX_MINI\r\n"},
        {"Quennel.txt", "120000\tALPHA\r\n990000\tOMEGA\r\n12\tMINI\r\n"},
    };
    for (const auto& [name, bytes] : groups)
        m_base.addGroup(name, bytes);
    const std::pair<Names, Names> cases[] = {
        {{}, {}},
        {{"None", "Empty"}, {}},
        {{"Escape"}, {}},
        {{"Fields"}, {"ALPHA_120000.txt"}},
        {{"GONE", "Lines"}, {"ALPHA_120000.txt"}},
        {{"favoris"}, {"ALPHA_120000.txt"}},
        {{"Melvor"}, {}},
        {{"Quennel"}, {"ALPHA_120000.txt", "MINI_12.txt"}},
    };
    for (const auto& [ticked, files] : cases) {
        const Selection selection = choose(ticked);
        EXPECT_EQ(selection.files, files) << testing::PrintToString(ticked);
        EXPECT_EQ(selection.active, !files.empty()) << testing::PrintToString(ticked);
    }
}

} // namespace
} // namespace parvane::scan
