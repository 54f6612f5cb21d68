#include <algorithm>

#include "ScanProcess.h"

namespace parvane::test {
namespace {

namespace fs = std::filesystem;

const Arguments kAllOptions = {"--proximity", "--daily", "--weekly", "--max-gap", "3", "--crossing"};

// One stock with a line of each kind: what stops it, or how it is reported.
std::string everyKindOfLine()
{
    std::vector<TrendLineFields> lines(10);
    lines[0].intercept = "10";    // 2.04 % above the last close: near
    lines[1].intercept = "12";    // far above: neither near nor crossing
    lines[2].secondAnchor = "95"; // 101 - 95 = 6 bars old
    lines[3].kind = "3";          // never evaluated
    lines[4].field8 = "1";        // fields 8 and 9 add up to 1
    lines[5].unit = "-1";         // monthly
    lines[6].intercept = "9.85";  // crosses between 9.9 and 9.8
    lines[7].unit = "0";          // weekly, near
    lines[8].unit = "7";          // unknown code: the weekly unit stays
    lines[8].intercept = "11";
    lines[9].kind = "1"; // no age limit, and far off
    lines[9].secondAnchor = "10";
    lines[9].intercept = "20";
    return trendLineFile(lines);
}

class ExplainTest : public ScanTest
{
protected:
    ExplainTest()
    {
        m_base.addStock("ALPHA_FR0001.txt", everyKindOfLine(),
                        dailyHistory(100, "9.9", "9.8", "1000", "1500"));
        m_base.addStock("BETA_FR0002.txt", everyKindOfLine(), dailyHistory(100, "10.2", "9.9"));
        m_base.addStock("GAMMA_FR0003.txt", everyKindOfLine(), std::nullopt);
        m_base.addStock("DELTA_FR0004.txt", everyKindOfLine(), dailyHistory(100, "9.9", "0"));
    }
};

// The account of every line, as tests/data/explain/FILE says; nothing is written.
TEST_F(ExplainTest, PrintsTheAccountOfEveryLineAsTheGoldenFilesSay)
{
    const std::vector<std::pair<const char*, Arguments>> cases = {
        {"all-options.txt", kAllOptions},
        {"all-options.tsv",
         {"--proximity", "--daily", "--weekly", "--max-gap", "3", "--crossing", "--format", "tsv"}},
        {"volume.txt", {"--crossing", "--volume", "60"}},
        {"daily-only.txt", {"--proximity", "--daily", "--max-gap", "2.5"}},
        {"no-history.txt", {"--crossing", "--explain", "Gamma_FR0003"}},
    };
    const auto before = snapshotBaseTree(m_base.root());
    for (const auto& [file, options] : cases) {
        Arguments arguments = options;
        if (std::find(arguments.begin(), arguments.end(), "--explain") == arguments.end())
            arguments.insert(arguments.end(), {"--explain", "alpha_fr0001"});
        const ScanProcessResult result = scan(arguments);
        EXPECT_EQ(result.exitStatus, 0) << file;
        EXPECT_EQ(result.err, "") << file;
        std::string actual = result.out;
        const std::string root = m_base.root().string();
        for (std::size_t at = actual.find(root); at != std::string::npos; at = actual.find(root, at))
            actual.replace(at, root.size(), "<base>");
        expectGolden(std::string("explain/") + file, actual);
    }
    EXPECT_EQ(snapshotBaseTree(m_base.root()), before);
    EXPECT_FALSE(fs::exists(home() / "errorlog.txt"));
}

// The lines an account says are reported ("retenue", "oui") are the rows the scan prints.
TEST_F(ExplainTest, ReportedLinesAreTheScansRows)
{
    for (const Arguments& options : {kAllOptions, Arguments{"--crossing", "--volume", "40"}}) {
        Arguments tsv = options;
        tsv.insert(tsv.end(), {"--format", "tsv"});
        const std::string rows = scan(tsv).out;
        std::ptrdiff_t reported = 0;
        for (const char* stock : {"ALPHA_FR0001", "BETA_FR0002", "GAMMA_FR0003", "DELTA_FR0004"}) {
            Arguments explain = tsv;
            explain.insert(explain.end(), {"--explain", stock});
            const ScanProcessResult account = scan(explain);
            ASSERT_EQ(account.exitStatus, 0) << stock;
            EXPECT_EQ(std::count(account.out.begin(), account.out.end(), '\n'), 11) << stock;
            for (std::size_t at = account.out.find("\tretenue\toui\t"); at != std::string::npos;
                 at = account.out.find("\tretenue\toui\t", at + 1))
                ++reported;
        }
        EXPECT_EQ(reported, std::count(rows.begin(), rows.end(), '\n') - 1) << rows;
        EXPECT_GT(reported, 0);
    }
}

} // namespace
} // namespace parvane::test
