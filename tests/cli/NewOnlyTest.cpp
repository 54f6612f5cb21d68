#include <chrono>
#include <csignal>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "ScanProcess.h"
#include "support/TestBase.h"
#include "support/TestFiles.h"

namespace parvane::test {
namespace {

namespace fs = std::filesystem;
using Arguments = std::vector<std::string>;

const std::string kHeader = "Action\tSicovam\tDernier\tUT\tEcart%\tVar%\tCommentaires\n";
const std::string kOneLine = trendLineFile({TrendLineSpec{}});
// Histories against a flat line at 10: a crossing (10.2 to 9.9), a proximity within 3 % (9.8),
// another close of the same proximity (9.85), and no hit at all (8).
const std::string kCrossing = dailyHistory(100, "10.2", "9.9");
const std::string kNear = dailyHistory(100, "9.9", "9.8");
const std::string kNearAgain = dailyHistory(100, "9.9", "9.85");
const std::string kFar = dailyHistory(100, "8", "8");

class NewOnlyTest : public ::testing::Test
{
protected:
    NewOnlyTest()
        : m_base(m_dir.path() / "root")
    {
        fs::create_directories(home());
    }

    fs::path home() const { return m_dir.path() / "home"; }

    ScanProcessResult scan(Arguments extra = {}, const std::function<void(int)>& whileRunning = {})
    {
        Arguments arguments = {"--home",      home().string(), "--base",    m_base.root().string(),
                               "--proximity", "--daily",       "--max-gap", "3",
                               "--crossing",  "--new-only",    "--format",  "tsv"};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        ScanProcessResult result = runScanProgram(arguments, m_dir.path() / "scratch", whileRunning);
        EXPECT_FALSE(result.timedOut);
        return result;
    }

    // The files of the program folder that keep rows, with their contents.
    std::map<std::string, std::string> keptFiles() const
    {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::directory_iterator(home())) {
            if (entry.path().filename().string().rfind("newrows-", 0) == 0)
                files[entry.path().filename().string()] = readFile(entry.path());
        }
        return files;
    }

    TempDir m_dir;
    TestBase m_base;
};

TEST_F(NewOnlyTest, PrintsOnlyTheHitsThatThePreviousRunDidNotHave)
{
    m_base.addStock("ALPHA_120000.txt", kOneLine, kCrossing);
    m_base.addStock("BETA_130000.txt", kOneLine, kNear);
    m_base.addStock("GAMMA_140000.txt", kOneLine, kNear);
    const ScanProcessResult first = scan();
    EXPECT_EQ(first.exitStatus, 0);
    EXPECT_EQ(first.out, kHeader
                             + "BETA            \t130000\t9.8  \tDAILY\t2.04\t-1.01\t\n"
                               "GAMMA           \t140000\t9.8  \tDAILY\t2.04\t-1.01\t\n"
                               "X_ALPHA         \t120000\t9.9  \tDAILY\t1.01\t-2.94\t\n");

    // The same crossing, a vanished proximity, the same proximity at another close, a new one, and
    // a stock whose proximity became a crossing.
    m_base.addStock("BETA_130000.txt", kOneLine, kFar);
    m_base.addStock("GAMMA_140000.txt", kOneLine, kNearAgain);
    m_base.addStock("DELTA_150000.txt", kOneLine, kNear);
    m_base.addStock("EPSILON_160000.txt", kOneLine, kNear);
    const ScanProcessResult between = scan();
    m_base.addStock("EPSILON_160000.txt", kOneLine, kCrossing);
    const ScanProcessResult second = scan();
    EXPECT_EQ(second.exitStatus, 0);
    EXPECT_EQ(second.out, kHeader + "X_EPSILON       \t160000\t9.9  \tDAILY\t1.01\t-2.94\t\n");
    EXPECT_EQ(second.err, "FIN: 0 erreur(s)\n");
    EXPECT_EQ(between.out, kHeader
                               + "DELTA           \t150000\t9.8  \tDAILY\t2.04\t-1.01\t\n"
                                 "EPSILON         \t160000\t9.8  \tDAILY\t2.04\t-1.01\t\n");

    // A hit that vanished and comes back is new again.
    m_base.addStock("BETA_130000.txt", kOneLine, kNear);
    EXPECT_EQ(scan().out, kHeader + "BETA            \t130000\t9.8  \tDAILY\t2.04\t-1.01\t\n");
    EXPECT_EQ(scan().out, kHeader);
}

TEST_F(NewOnlyTest, KeepsOneFileForEachBaseWithItsRunsSideBySide)
{
    m_base.addStock("ALPHA_120000.txt", kOneLine, kCrossing);
    m_base.addStock("BETA_130000.txt", kOneLine, kNear);
    scan();
    const std::string header = "# Lignes gardees par parvane-scan: options, genre, action, code, UT\r\n";
    const std::string firstRun = "proximity=D max-gap=3 crossing=on groups=\tP\tBETA\t130000\tDAILY\r\n"
                                 "proximity=D max-gap=3 crossing=on groups=\tX\tALPHA\t120000\tDAILY\r\n";
    ASSERT_EQ(keptFiles().size(), 1u);
    EXPECT_EQ(keptFiles().begin()->first.size(), std::string("newrows-0123456789abcdef.txt").size());
    EXPECT_EQ(keptFiles().begin()->second, header + firstRun);

    // Other options are another run: everything is new to it, and the first run's rows stay.
    // Without a rise of volume, ALPHA's crossing is only a proximity there.
    const ScanProcessResult other = scan({"--volume", "50"});
    EXPECT_EQ(other.out, kHeader
                             + "ALPHA           \t120000\t9.9  \tDAILY\t1.01\t-2.94\t\n"
                               "BETA            \t130000\t9.8  \tDAILY\t2.04\t-1.01\t\n");
    EXPECT_EQ(scan().out, kHeader);
    ASSERT_EQ(keptFiles().size(), 1u);
    EXPECT_EQ(keptFiles().begin()->second,
              header
                  + "proximity=D max-gap=3 crossing=on volume=50 groups=\tP\tALPHA\t120000\tDAILY\r\n"
                    "proximity=D max-gap=3 crossing=on volume=50 groups=\tP\tBETA\t130000\tDAILY\r\n"
                  + firstRun);

    // Another base gets a file of its own.
    TestBase otherBase(m_dir.path() / "other");
    otherBase.addStock("ALPHA_120000.txt", kOneLine, kCrossing);
    EXPECT_EQ(runScanProgram({"--home", home().string(), "--base", otherBase.root().string(), "--crossing",
                              "--new-only", "--format", "tsv"},
                             m_dir.path() / "scratch")
                  .out,
              kHeader + "X_ALPHA         \t120000\t9.9  \tDAILY\t1.01\t-2.94\t\n");
    EXPECT_EQ(keptFiles().size(), 2u);
}

TEST_F(NewOnlyTest, InterruptedRunLeavesTheKeptRowsAsTheyWere)
{
    m_base.addStock("ALPHA_120000.txt", kOneLine, kCrossing);
    scan();
    const auto before = keptFiles();
    ASSERT_EQ(before.size(), 1u);

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
    EXPECT_EQ(keptFiles(), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(home()), fs::directory_iterator()), 1)
        << "a file was left";
}

TEST_F(NewOnlyTest, UnreadableKeptFileIsReportedAndLeftAlone)
{
    m_base.addStock("ALPHA_120000.txt", kOneLine, kCrossing);
    scan();
    const auto before = keptFiles();
    ASSERT_EQ(before.size(), 1u);
    // A folder in the file's place cannot be read: every row is new, and nothing is replaced.
    const fs::path file = home() / before.begin()->first;
    fs::remove(file);
    fs::create_directory(file);
    const ScanProcessResult result = scan();
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.out, kHeader + "X_ALPHA         \t120000\t9.9  \tDAILY\t1.01\t-2.94\t\n");
    EXPECT_NE(result.err.find("lignes de la recherche precedente illisibles"), std::string::npos)
        << result.err;
    EXPECT_TRUE(fs::is_directory(file));
}

} // namespace
} // namespace parvane::test
