#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ScanProcess.h"
#include "support/TestBase.h"
#include "support/TestFiles.h"

namespace parvane::test {
namespace {

namespace fs = std::filesystem;
using Arguments = std::vector<std::string>;

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

class ExplainTest : public ::testing::Test
{
protected:
    ExplainTest()
        : m_base(m_dir.path() / "root")
    {
        fs::create_directories(home());
        m_base.addStock("ALPHA_FR0001.txt", everyKindOfLine(),
                        dailyHistory(100, "9.9", "9.8", "1000", "1500"));
    }

    fs::path home() const { return m_dir.path() / "home"; }

    ScanProcessResult run(Arguments arguments)
    {
        arguments.insert(arguments.begin(), {"--home", home().string(), "--base", m_base.root().string()});
        ScanProcessResult result = runScanProgram(arguments, m_dir.path() / "scratch");
        EXPECT_FALSE(result.timedOut);
        return result;
    }

    // The output with the test's folder written "<base>", so that it can be compared with a file.
    std::string withoutRoot(std::string text) const
    {
        const std::string root = m_base.root().string();
        for (std::size_t at = text.find(root); at != std::string::npos; at = text.find(root, at))
            text.replace(at, root.size(), "<base>");
        return text;
    }

    // The golden file `name`; with PARVANE_UPDATE_GOLDEN set, `actual` is written into it first.
    static std::string golden(std::string_view name, const std::string& actual)
    {
        const fs::path file = fs::path(PARVANE_TEST_DATA_DIR) / "explain" / name;
        if (std::getenv("PARVANE_UPDATE_GOLDEN") != nullptr)
            writeFile(file, actual);
        return readFile(file);
    }

    TempDir m_dir;
    TestBase m_base;
};

struct GoldenCase
{
    const char* file;
    Arguments options;
};

TEST_F(ExplainTest, PrintsTheAccountOfEveryLineAsTheGoldenFilesSay)
{
    const std::vector<GoldenCase> cases = {
        {"all-options.txt", kAllOptions},
        {"all-options.tsv",
         {"--proximity", "--daily", "--weekly", "--max-gap", "3", "--crossing", "--format", "tsv"}},
        {"volume.txt", {"--crossing", "--volume", "60"}},
        {"daily-only.txt", {"--proximity", "--daily", "--max-gap", "2.5"}},
    };
    const auto before = snapshotBaseTree(m_base.root());
    for (const GoldenCase& test : cases) {
        Arguments arguments = test.options;
        arguments.insert(arguments.end(), {"--explain", "alpha_fr0001"});
        const ScanProcessResult result = run(arguments);
        EXPECT_EQ(result.exitStatus, 0) << test.file;
        EXPECT_EQ(result.err, "") << test.file;
        const std::string actual = withoutRoot(result.out);
        EXPECT_EQ(actual, golden(test.file, actual)) << test.file;
    }
    // Nothing written: no group, no CSV, no error log.
    EXPECT_EQ(snapshotBaseTree(m_base.root()), before);
    EXPECT_FALSE(fs::exists(home() / "errorlog.txt"));
}

TEST_F(ExplainTest, ReportedLinesAreTheScansRows)
{
    m_base.addStock("BETA_FR0002.txt", everyKindOfLine(), dailyHistory(100, "10.2", "9.9"));
    m_base.addStock("GAMMA_FR0003.txt", everyKindOfLine(), std::nullopt);
    m_base.addStock("DELTA_FR0004.txt", everyKindOfLine(), dailyHistory(100, "9.9", "0"));
    for (const Arguments& options : {kAllOptions, Arguments{"--crossing", "--volume", "40"}}) {
        Arguments scan = options;
        scan.insert(scan.end(), {"--format", "tsv"});
        const ScanProcessResult rows = run(scan);
        std::size_t reported = 0;
        for (const char* stock : {"ALPHA_FR0001", "BETA_FR0002", "GAMMA_FR0003", "DELTA_FR0004"}) {
            Arguments explain = scan;
            explain.insert(explain.end(), {"--explain", stock});
            const ScanProcessResult account = run(explain);
            ASSERT_EQ(account.exitStatus, 0) << stock;
            std::size_t lines = 0;
            for (std::size_t at = account.out.find('\n'); at + 1 < account.out.size();
                 at = account.out.find('\n', at + 1)) {
                ++lines;
                const std::string line = account.out.substr(at + 1, account.out.find('\n', at + 1) - at - 1);
                // Column 4 is the step, column 5 says whether a row was added.
                const bool yes = line.find("\tretenue\toui\t") != std::string::npos;
                reported += yes ? 1 : 0;
                if (!yes) {
                    EXPECT_NE(line.find("\tnon\t"), std::string::npos) << line;
                }
            }
            EXPECT_EQ(lines, 10u) << stock;
        }
        const auto rowCount =
            static_cast<std::size_t>(std::count(rows.out.begin(), rows.out.end(), '\n')) - 1;
        EXPECT_EQ(reported, rowCount) << rows.out;
        EXPECT_GT(reported, 0u);
    }
}

TEST_F(ExplainTest, AnUnknownStockIsRefusedWithItsName)
{
    const ScanProcessResult result = run({"--crossing", "--explain", "OMEGA_FR9999"});
    EXPECT_EQ(result.exitStatus, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "parvane-scan: action introuvable dans la base: OMEGA_FR9999\n");

    // A name never leads out of the base's folders.
    const ScanProcessResult outside = run({"--crossing", "--explain", "../droite/ALPHA_FR0001"});
    EXPECT_EQ(outside.exitStatus, 2);
    EXPECT_EQ(outside.out, "");
}

TEST_F(ExplainTest, AStockWithoutHistoryStopsAtItsFirstEvaluatedLine)
{
    m_base.addStock("GAMMA_FR0003.txt", everyKindOfLine(), std::nullopt);
    const ScanProcessResult result = run({"--crossing", "--explain", "Gamma_FR0003"});
    EXPECT_EQ(result.exitStatus, 0);
    const std::string actual = withoutRoot(result.out);
    EXPECT_EQ(actual, golden("no-history.txt", actual));
}

} // namespace
} // namespace parvane::test
