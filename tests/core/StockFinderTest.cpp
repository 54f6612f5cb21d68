#include "core/scan/StockFinder.h"

#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "core/scan/KeptRows.h"
#include "support/TestBase.h"
#include "support/TestFiles.h"

namespace parvane::scan {
namespace {

namespace fs = std::filesystem;

// The stocks of test::addTraderStocks, as their names lie on the disk.
const std::vector<std::string> kTraderFiles = {
    "\xC3\x89LAN_123456.txt",         "CAF\xC9_234567.txt",
    "TOTAL_FR0000120271.txt",         "SANOFI_FR0000120578.txt",
    "SOCIETEGENERALELYON_130001.txt", "SOCIETEGENERALEPARIS_130000.txt"};

// What a person types (UTF-8 unless said), the file found ("" for none), then the suggestions.
TEST(StockFinder, FindsWhatPeopleType)
{
    const std::vector<std::vector<std::string>> cases = {
        {"\xC3\xA9lan_123456", "\xC3\x89LAN_123456.txt"}, // lower case, accent as typed
        {"ELAN_123456.TXT", "\xC3\x89LAN_123456.txt"},    // without the accent, with ".txt"
        {"\xC3\xA9lan", "\xC3\x89LAN_123456.txt"},        // the name alone
        {"caf\xC3\xA9_234567", "CAF\xC9_234567.txt"},     // Windows-1252 on the disk
        {"CAF\xC9", "CAF\xC9_234567.txt"},                // typed in Windows-1252
        {"sanofi", "SANOFI_FR0000120578.txt"},
        {"societegeneraleparis", "SOCIETEGENERALEPARIS_130000.txt"},
        {"societegenerale", "", "SOCIETEGENERALELYON_130001", "SOCIETEGENERALEPARIS_130000"},
        {"sanofy", "", "SANOFI_FR0000120578"},
        {"FR000", ""},                                              // a code alone names nothing
        {"../droite/TOTAL_FR0000120271", "", "TOTAL_FR0000120271"}, // a name, never a path
        {"", ""},
    };
    for (const auto& row : cases) {
        const StockSearch search = findStock(kTraderFiles, row[0]);
        EXPECT_EQ(search.fileName.value_or(""), row[1]) << row[0];
        EXPECT_EQ(search.suggestions, std::vector<std::string>(row.begin() + 2, row.end())) << row[0];
    }
    std::vector<std::string> many;
    for (int i = 0; i < 8; ++i)
        many.push_back("ALPHA" + std::to_string(i) + "_10000" + std::to_string(i) + ".txt");
    EXPECT_EQ(findStock(many, "alpha").suggestions.size(), kMaxSuggestions);
}

TEST(StockFinder, FindsGroupsByTheirNamesAsTyped)
{
    const std::vector<std::string> groups = {"S\xE9lection", "Int\xC3\xA9r\xC3\xAAts", "abc", "ABC"};
    EXPECT_EQ(findGroupName(groups, "S\xC3\xA9lection"), groups[0]);
    EXPECT_EQ(findGroupName(groups, "S\xC3\x89LECTION"), groups[0]);
    EXPECT_EQ(findGroupName(groups, "INT\xC3\x89R\xC3\x8ATS"), groups[1]);
    EXPECT_EQ(findGroupName(groups, "ABC"), groups[3]); // the exact name first
    EXPECT_EQ(findGroupName(groups, "Selection"), std::nullopt);
}

class KeptRowsTest : public ::testing::Test
{
protected:
    KeptRowsTest() { test::addTraderStocks(m_base); }

    std::vector<bool> run(const std::string& key, const std::vector<RowIdentity>& rows)
    {
        const NewRowsResult result = markNewRows(m_file, m_layout, key, rows, true);
        EXPECT_EQ(result.problems, std::vector<std::string>());
        return result.isNew;
    }

    test::TempDir m_dir;
    test::TestBase m_base{m_dir.path() / "root"};
    BaseLayout m_layout = BaseLayout::resolve(m_dir.path() / "root", "", "");
    fs::path m_file = m_dir.path() / "newrows.txt";
    std::vector<RowIdentity> m_rows = {{"\xC3\x89LAN_123456.txt", 1, "DAILY", true, {}},
                                       {"SOCIETEGENERALEPARIS_130000.txt", 1, "DAILY", false, {}},
                                       {"SOCIETEGENERALELYON_130001.txt", 1, "DAILY", false, {}},
                                       {"CAF\xC9_234567.txt", 1, "WEEK ", false, {}}};
};

// A file of the earlier form (hits named by the texts shown, groups as given) is read once in
// the present form: no row comes back as new, and lines of other options are kept for their runs.
TEST_F(KeptRowsTest, AnEarlierFormIsConvertedOnce)
{
    test::writeFile(m_file, "# Lignes gardees par parvane-scan: options, genre, action, code, UT\r\n"
                            "k groups=s\xE9lection\tX\t\xC9LAN\t123456\tDAILY\r\n"
                            "k groups=s\xE9lection\tP\tSOCIETEGENERALE\t130000\tDAILY\r\n"
                            "k groups=s\xE9lection\tP\tSOCIETEGENERALE\t130001\tDAILY\r\n"
                            "k groups=s\xE9lection\tP\tCAF\xC9\t234567\tWEEK\r\n"
                            "other groups=\tP\tGONE\t999999\tDAILY\r\n"
                            "other groups=\tP\tTOTAL\tFR0000120271\tDAILY\r\n");
    const std::string key = "k groups=S\xC3\xA9lection";
    EXPECT_EQ(run(key, m_rows), std::vector<bool>(4, false));
    EXPECT_EQ(run("other groups=", {{"TOTAL_FR0000120271.txt", 1, "DAILY", false, {}}}),
              std::vector<bool>{false});
    const std::string kept = test::readFile(m_file);
    EXPECT_TRUE(kept.starts_with("# Parvane: lignes gardees")) << kept;
    EXPECT_EQ(kept.find("GONE"), std::string::npos) << kept;
}

// Runs of two programs at once (the window and a timer's parvane-scan) both count: each run after
// its first finds all its rows kept, whatever the other wrote meanwhile.
TEST_F(KeptRowsTest, RunsAtTheSameTimeBothCount)
{
    const auto runs = [&](const std::string& key, std::vector<int>& newRows) {
        for (int i = 0; i < 40; ++i) {
            const NewRowsResult result = markNewRows(m_file, m_layout, key, m_rows, true);
            newRows.push_back(static_cast<int>(std::count(result.isNew.begin(), result.isNew.end(), true)));
        }
    };
    std::vector<int> window, timer;
    std::thread first(runs, "window", std::ref(window));
    std::thread second(runs, "timer", std::ref(timer));
    first.join();
    second.join();
    for (const std::vector<int>* counts : {&window, &timer}) {
        EXPECT_EQ(counts->front(), 4);
        EXPECT_EQ(std::count(counts->begin() + 1, counts->end(), 0), 39);
    }
}

} // namespace
} // namespace parvane::scan
