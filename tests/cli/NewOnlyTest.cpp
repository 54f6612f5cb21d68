#include <chrono>
#include <csignal>
#include <thread>

#include <gtest/gtest.h>

#include "ScanProcess.h"
#include "support/TestBase.h"
#include "support/TestFiles.h"

namespace parvane::test {
namespace {

namespace fs = std::filesystem;

const std::string kHeader = "Action\tSicovam\tDernier\tUT\tEcart%\tVar%\tCommentaires\n";
const std::string kOneLine = trendLineFile({TrendLineFields{}});
// Against a flat line at 10: a crossing, a proximity within 3 %, the same proximity at another
// close, and no hit.
const std::string kCrossing = dailyHistory(100, "10.2", "9.9");
const std::string kNear = dailyHistory(100, "9.9", "9.8");
const std::string kNearAgain = dailyHistory(100, "9.9", "9.85");
const std::string kFar = dailyHistory(100, "8", "8");

class NewOnlyTest : public ::testing::Test
{
protected:
    NewOnlyTest() { fs::create_directories(home()); }

    fs::path home() const { return m_dir.path() / "home"; }

    ScanProcessResult scan(std::vector<std::string> extra = {}, const std::function<void(int)>& during = {})
    {
        std::vector<std::string> arguments = {
            "--home",      home().string(), "--base",    m_base.root().string(),
            "--proximity", "--daily",       "--max-gap", "3",
            "--crossing",  "--new-only",    "--format",  "tsv"};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        return runScanProgram(arguments, m_dir.path() / "scratch", during);
    }

    TempDir m_dir;
    TestBase m_base{m_dir.path() / "root"};
};

TEST_F(NewOnlyTest, PrintsOnlyTheHitsThatThePreviousRunDidNotHave)
{
    struct Step
    {
        std::vector<std::pair<std::string, std::string>> stocks; // file name, history
        std::string rows;                                        // what the run prints
    };

    const std::vector<Step> steps = {
        {{{"ALPHA_100001.txt", kCrossing}, {"BETA_100002.txt", kNear}, {"GAMMA_100003.txt", kNear}},
         "BETA            \t100002\t9.8  \tDAILY\t2.04\t-1.01\t\n"
         "GAMMA           \t100003\t9.8  \tDAILY\t2.04\t-1.01\t\n"
         "X_ALPHA         \t100001\t9.9  \tDAILY\t1.01\t-2.94\t\n"},
        // BETA's hit vanishes, GAMMA's stays at another close, DELTA's is new.
        {{{"BETA_100002.txt", kFar}, {"GAMMA_100003.txt", kNearAgain}, {"DELTA_100004.txt", kNear}},
         "DELTA           \t100004\t9.8  \tDAILY\t2.04\t-1.01\t\n"},
        // A proximity that becomes a crossing, and a vanished hit that comes back, are new.
        {{{"DELTA_100004.txt", kCrossing}, {"BETA_100002.txt", kNear}},
         "BETA            \t100002\t9.8  \tDAILY\t2.04\t-1.01\t\n"
         "X_DELTA         \t100004\t9.9  \tDAILY\t1.01\t-2.94\t\n"},
        {{}, ""},
    };
    for (const Step& step : steps) {
        for (const auto& [file, history] : step.stocks)
            m_base.addStock(file, kOneLine, history);
        const ScanProcessResult result = scan();
        EXPECT_EQ(result.exitStatus, 0);
        EXPECT_EQ(result.out, kHeader + step.rows);
    }
}

TEST_F(NewOnlyTest, KeepsTheRunsOfOtherOptionsSideBySide)
{
    m_base.addStock("ALPHA_100001.txt", kOneLine, kCrossing);
    scan();
    // Without a rise of volume, ALPHA's crossing is a proximity, new to that run.
    EXPECT_EQ(scan({"--volume", "50"}).out,
              kHeader + "ALPHA           \t100001\t9.9  \tDAILY\t1.01\t-2.94\t\n");
    EXPECT_EQ(scan().out, kHeader);
    const auto files = snapshotTree(home());
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files.begin()->first.size(), std::string("newrows-0123456789abcdef.txt").size());
    EXPECT_EQ(files.begin()->second,
              "# Lignes gardees par parvane-scan: options, genre, action, code, UT\r\n"
              "proximity=D max-gap=3 crossing=on volume=50 groups=\tP\tALPHA\t100001\tDAILY\r\n"
              "proximity=D max-gap=3 crossing=on groups=\tX\tALPHA\t100001\tDAILY\r\n");
}

TEST_F(NewOnlyTest, InterruptedRunOrUnreadableFileLeavesTheKeptRowsAlone)
{
    m_base.addStock("ALPHA_100001.txt", kOneLine, kCrossing);
    scan();
    const auto before = snapshotTree(home());
    const fs::path file = home() / before.begin()->first;

    // A folder in the file's place cannot be read: every row is new, and nothing is replaced.
    fs::remove(file);
    fs::create_directory(file);
    const ScanProcessResult unreadable = scan();
    EXPECT_EQ(unreadable.out, kHeader + "X_ALPHA         \t100001\t9.9  \tDAILY\t1.01\t-2.94\t\n");
    EXPECT_NE(unreadable.err.find("lignes de la recherche precedente illisibles"), std::string::npos);
    EXPECT_TRUE(fs::is_directory(file));
    fs::remove(file);
    writeFile(file, before.begin()->second);

    for (int i = 0; i < 4000; ++i)
        m_base.addStock("S_" + std::to_string(200000 + i) + ".txt", kOneLine, kNear);
    const fs::path parvane = m_base.groupe() / "Parvane.txt";
    fs::remove(parvane);
    const ScanProcessResult interrupted = scan({}, [&](int processId) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
        while (!fs::exists(parvane) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        ::kill(processId, SIGTERM);
    });
    EXPECT_EQ(interrupted.exitStatus, 128 + SIGTERM);
    EXPECT_EQ(snapshotTree(home()), before); // no temporary file left either
}

} // namespace
} // namespace parvane::test
