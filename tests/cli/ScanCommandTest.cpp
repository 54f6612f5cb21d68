#include <algorithm>
#include <chrono>
#include <thread>

#include <signal.h>

#include "ScanProcess.h"

namespace parvane::test {
namespace {

namespace fs = std::filesystem;

// Arguments and usage errors, streams, statuses, the files a run creates, the locale, FIFOs.
TEST_F(ScanTest, RunsMatchTheirTranscripts)
{
    runCases("cli/runs");
}

// A base where nearly every file is broken in its own way: every scan ends by itself, logs each
// failure once, writes only its own result files and leaves the rest of the base as it was.
TEST_F(ScanTest, AHostileBaseIsScannedWithoutHarm)
{
    runCases("cli/hostile");
}

// The names traders have: groups and stocks by their names as typed, whatever their case and
// the encoding of their names on the disk; kept rows by the stock's file name, not its texts.
TEST_F(ScanTest, TraderNamesAreFoundAsTyped)
{
    runCases("cli/traders");
}

// --new-only prints the hits that the previous run of the same options did not have; a file of
// kept rows that cannot be read makes every row new and is not replaced.
TEST_F(ScanTest, NewOnlyPrintsOnlyTheHitsThatThePreviousRunDidNotHave)
{
    runCases("cli/new-only");
    const auto files = snapshotTree(home());
    const auto kept = std::find_if(files.begin(), files.end(),
                                   [](const auto& file) { return file.first.starts_with("newrows-"); });
    ASSERT_NE(kept, files.end());
    fs::remove(home() / kept->first);
    fs::create_directory(home() / kept->first);
    const ScanProcessResult unreadable =
        scan({"--proximity", "--daily", "--max-gap", "3", "--crossing", "--new-only", "--format", "tsv"});
    EXPECT_EQ(std::count(unreadable.out.begin(), unreadable.out.end(), '\n'), 5) << unreadable.out;
    EXPECT_NE(unreadable.err.find("lignes de la recherche precedente illisibles"), std::string::npos);
    EXPECT_TRUE(fs::is_directory(home() / kept->first));
}

// The account of every line of a stock with a line of each kind, as the transcripts say, and
// nothing written; the lines it says are reported ("retenue", "oui") are the rows of the scan.
TEST_F(ScanTest, ExplainAccountsForEveryLineAsTheScanReportsIt)
{
    runCases("cli/explain");
    const Arguments kAllOptions = {"--proximity", "--daily", "--weekly", "--max-gap", "3", "--crossing"};
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

// A signal ends the run with 128 + its number and leaves the rows kept by --new-only alone.
TEST_F(ScanTest, InterruptedRunExitsWith128PlusTheSignal)
{
    const Arguments arguments = {"--proximity", "--daily", "--max-gap", "3", "--new-only"};
    m_base.addStock("ALPHA_100001.txt", kOneLine, kCrossing);
    scan(arguments);
    const auto kept = snapshotTree(home());
    // ALPHA is no hit any more: kept rows that an interrupted run rewrote would lose it.
    m_base.addStock("ALPHA_100001.txt", kOneLine, dailyHistory(100, "20", "20"));
    // Enough work that the walk is still going when the signal comes.
    const std::string lines = trendLineFile(std::vector<TrendLineFields>(100));
    const std::string history = dailyHistory(2000, "9.9", "9.8");
    for (int i = 0; i < 300; ++i)
        m_base.addStock("S_" + std::to_string(200000 + i) + ".txt", lines, history);
    const fs::path parvane = m_base.groupe() / "Parvane.txt";
    for (const int signal : {SIGINT, SIGTERM}) {
        fs::remove(parvane);
        const ScanProcessResult result = scan(arguments, true, "C", [&](int processId) {
            // Parvane.txt is created as the walk starts, once the program listens for signals.
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
            while (!fs::exists(parvane) && std::chrono::steady_clock::now() < deadline)
                std::this_thread::sleep_for(std::chrono::microseconds(100));
            ::kill(processId, signal);
        });
        EXPECT_EQ(result.exitStatus, 128 + signal);
        EXPECT_NE(result.err.find("Scan interrompu: les fichiers de resultats sont incomplets.\n"),
                  std::string::npos)
            << result.err;
        EXPECT_EQ(snapshotTree(home()), kept); // no temporary file left either
    }
}

} // namespace
} // namespace parvane::test
