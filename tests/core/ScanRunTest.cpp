#include "core/scan/ScanRun.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/support/ScanRecorders.h"
#include "support/TestBase.h"
#include "support/TestFiles.h"

namespace parvane::scan {
namespace {

namespace fs = std::filesystem;
using test::dailyHistory;
using test::readFile;
using test::TrendLineSpec;

const std::string kOneLine = test::trendLineFile({TrendLineSpec{}});

class ScanRunTest : public ::testing::Test
{
protected:
    ScanRunTest()
        : m_base(m_dir.path() / "root")
        , m_environment(test::fixedMoment(), ',')
        , m_log(m_dir.path() / "errorlog.txt", m_environment)
    {}

    RunOutcome run(ScanOptions& options)
    {
        const BaseLayout layout = BaseLayout::resolve(m_base.root(), "", "");
        return runScan(layout, options, Selection{}, m_sink, m_observer, m_log, m_environment);
    }

    test::TempDir m_dir;
    test::TestBase m_base;
    FixedEnvironment m_environment;
    ErrorLog m_log;
    test::RecordingSink m_sink;
    test::RecordingObserver m_observer;
};

TEST_F(ScanRunTest, ProximityWithoutUnitAndNoCrossingScansNothing)
{
    m_base.addStock("ALPHA_120000.txt", kOneLine, dailyHistory(100, "9.9", "9.8"));
    ScanOptions options;
    options.proximity = true;
    options.maxGap = 1;
    const RunOutcome outcome = run(options);
    EXPECT_FALSE(outcome.scanned);
    EXPECT_FALSE(outcome.proximitySwitchedOff);
    EXPECT_EQ(m_sink.clears, 0);
    EXPECT_FALSE(fs::exists(m_base.groupe() / "Parvane.txt"));
    EXPECT_EQ(outcome.status, "FIN: 0 erreur(s)");
    EXPECT_EQ(outcome.tooltip, "nothing to declare");
}

TEST_F(ScanRunTest, ProximityWithoutUnitIsSwitchedOffWhenCrossingsAreSought)
{
    m_base.addStock("ALPHA_120000.txt", kOneLine, dailyHistory(100, "9.9", "9.8"));
    m_base.addStock("BETA_130000.txt", kOneLine, dailyHistory(100, "10.2", "9.9"));
    m_base.addGroup("Parvane.txt", "999999\tOLD\r\n");
    ScanOptions options;
    options.proximity = true;
    options.maxGap = 5;
    options.crossing = true;

    const RunOutcome outcome = run(options);

    EXPECT_TRUE(outcome.scanned);
    EXPECT_TRUE(outcome.proximitySwitchedOff);
    EXPECT_FALSE(options.proximity);
    EXPECT_EQ(m_sink.clears, 1);
    ASSERT_EQ(m_sink.rows.size(), 1u);
    EXPECT_EQ(m_sink.rows[0][0], "X_BETA          ");
    EXPECT_EQ(readFile(m_base.groupe() / "Parvane.txt"), "999999\tOLD\r\n");
    EXPECT_EQ(readFile(m_base.groupe() / "Melvor.txt"), "130000\tX_BETA\r\n");
}

TEST_F(ScanRunTest, StatusCountsTheErrorsOfTheRunOnly)
{
    m_base.addStock("ALPHA_120000.txt", kOneLine, std::nullopt);
    m_base.addStock("BETA_130000.txt", kOneLine, std::nullopt);
    ScanOptions options;
    options.crossing = true;

    RunOutcome outcome = run(options);
    EXPECT_EQ(outcome.errors, 2u);
    EXPECT_EQ(outcome.status, "FIN: 2 erreur(s)\nvoir errorlog.txt");
    EXPECT_EQ(outcome.tooltip, "Double-Cliquez pour voir le fichier log");

    // The next run counts from 0 again; the log keeps growing until the program starts again.
    outcome = run(options);
    EXPECT_EQ(outcome.errors, 2u);
    const std::string log = readFile(m_log.file());
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 4);
}

TEST_F(ScanRunTest, CommentsGroupIsBuiltBeforeTheScan)
{
    m_base.addStock("ALPHA_120000.txt", kOneLine, dailyHistory(100, "9.9", "9.8"));
    m_base.addComment("ALPHA_120000.txt", "note\r\n");
    m_base.addComment("BETA_130000.txt", "");
    ScanOptions options;
    options.proximity = true;
    options.daily = true;
    options.maxGap = 3;
    options.commentsGroup = true;

    const RunOutcome outcome = run(options);

    EXPECT_EQ(readFile(m_base.groupe() / "Quennel.txt"), "120000\tALPHA\r\n130000\tBETA\r\n");
    EXPECT_EQ(m_observer.statusTexts,
              (std::vector<std::string>{"EXECUTION", "FIN: 0 Erreur(s)", "EXECUTION"}));
    EXPECT_EQ(m_sink.clears, 2);
    ASSERT_EQ(m_sink.rows.size(), 1u);
    EXPECT_EQ(m_sink.rows[0][6], "note - ");
    EXPECT_EQ(outcome.status, "FIN: 0 erreur(s)");
}

TEST_F(ScanRunTest, CommentsGroupIsBuiltEvenWhenNothingIsScanned)
{
    m_base.addComment("ALPHA_120000.txt", "note\r\n");
    ScanOptions options;
    options.commentsGroup = true;
    const RunOutcome outcome = run(options);
    EXPECT_FALSE(outcome.scanned);
    EXPECT_EQ(readFile(m_base.groupe() / "Quennel.txt"), "120000\tALPHA\r\n");
}

TEST_F(ScanRunTest, ErrorCountIsNotLimitedTo16Bits)
{
    // 330 stocks of 100 lines, each last close 0: 33,000 error-log lines.
    const std::string lines = test::trendLineFile(std::vector<TrendLineSpec>(100));
    const std::string history = dailyHistory(2, "9.9", "0");
    for (int i = 0; i < 330; ++i)
        m_base.addStock("S_" + std::to_string(100000 + i) + ".txt", lines, history);
    ScanOptions options;
    options.crossing = true;

    const RunOutcome outcome = run(options);

    EXPECT_EQ(outcome.errors, 33000u);
    EXPECT_EQ(outcome.status, "FIN: 33000 erreur(s)\nvoir errorlog.txt");
    const std::string log = readFile(m_log.file());
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 33000);
    EXPECT_EQ(log.substr(0, log.find('\n') + 1),
              test::logLine("S_100000.txt", ": dernier cours ou avant dernier cours de cloture a zero!"));
}

} // namespace
} // namespace parvane::scan
