#include "core/scan/ScanDriver.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/support/ScanRecorders.h"
#include "support/TestBase.h"
#include "support/TestFiles.h"

namespace parvane::scan {
namespace {

namespace fs = std::filesystem;
using test::dailyHistory;
using test::logLine;
using test::readFile;
using test::TrendLineSpec;

constexpr std::string_view kMissing = ": fichier introuvable, verifiez sa presence ou son integrite ";

ScanOptions proximityOptions()
{
    ScanOptions options;
    options.proximity = true;
    options.daily = true;
    options.maxGap = 3;
    options.csvFile = true;
    return options;
}

// One daily line at 10, drawn near the last bars.
const std::string kOneLine = test::trendLineFile({TrendLineSpec{}});

class ScanDriverTest : public ::testing::Test
{
protected:
    ScanDriverTest()
        : m_base(m_dir.path() / "root")
        , m_environment(test::fixedMoment(), ',')
        , m_log(m_dir.path() / "program" / "errorlog.txt", m_environment)
    {
        fs::create_directories(m_dir.path() / "program");
    }

    ScanReport run(const ScanOptions& options, const Selection& selection = {})
    {
        const BaseLayout layout = BaseLayout::resolve(m_base.root(), "", "");
        return lance(layout, options, selection, m_sink, m_observer, m_log, m_environment);
    }

    // A stock whose last close 9.8 lies 2.04 % under its one line.
    void addNearStock(std::string_view fileName) const
    {
        m_base.addStock(fileName, kOneLine, dailyHistory(100, "9.9", "9.8"));
    }

    std::string errorLog() const { return readFile(m_log.file()); }

    fs::path csvPath() const { return m_base.base() / "result_03022026_0905.csv"; }

    test::TempDir m_dir;
    test::TestBase m_base;
    FixedEnvironment m_environment;
    ErrorLog m_log;
    test::RecordingSink m_sink;
    test::RecordingObserver m_observer;
};

TEST(CsvFileName, IsResultDateAndTimeOfTheRunStart)
{
    DateTime moment;
    moment.date = {2026, 2, 3};
    moment.hour = 9;
    moment.minute = 5;
    moment.second = 59;
    EXPECT_EQ(csvFileName(moment), "result_03022026_0905.csv");
    moment.date = {2026, 12, 31};
    moment.hour = 23;
    moment.minute = 59;
    EXPECT_EQ(csvFileName(moment), "result_31122026_2359.csv");
}

TEST_F(ScanDriverTest, ResultFilesHoldTheirLinesByteForByte)
{
    addNearStock("ALPHA_120000.txt");
    m_base.addComment("ALPHA_120000.txt", "Objectif 11\r\nStop 9,5\r\n");
    // Crossing, and near: one proximity line and one CSV line.
    m_base.addStock("BETA_130000.txt", kOneLine, dailyHistory(100, "10.2", "9.9"));
    // Crossing far from the line: the CSV line comes from the crossing alone.
    m_base.addStock("GAMMA_140000.txt", kOneLine, dailyHistory(100, "11", "9"));
    ScanOptions options = proximityOptions();
    options.crossing = true;

    const ScanReport report = run(options);

    EXPECT_EQ(report.stocks, 3u);
    EXPECT_EQ(report.rows, 3u);
    EXPECT_EQ(report.csvFile, csvPath());
    EXPECT_EQ(readFile(csvPath()), "ALPHA           ;120000;9.8  ;DAILY;2,04%;-1,01;Objectif 11;Stop 9,5\r\n"
                                   "X_BETA          ;130000;9.9  ;DAILY;1,01%;-2,94\r\n"
                                   "X_GAMMA         ;140000;9    ;DAILY;11,11%;-18,18\r\n");
    EXPECT_EQ(readFile(m_base.groupe() / "Parvane.txt"), "120000\tALPHA\r\n130000\tX_BETA\r\n");
    EXPECT_EQ(readFile(m_base.groupe() / "Melvor.txt"), "130000\tX_BETA\r\n140000\tX_GAMMA\r\n");

    using Row = test::RecordingSink::Row;
    EXPECT_EQ(m_sink.rows,
              (std::vector<Row>{{"ALPHA           ", "120000", "9.8  ", "DAILY", "2,04", "-1,01",
                                 "Objectif 11 - Stop 9,5 - "},
                                {"X_BETA          ", "130000", "9.9  ", "DAILY", "1,01", "-2,94", ""},
                                {"X_GAMMA         ", "140000", "9    ", "DAILY", "11,11", "-18,18", ""}}));
    EXPECT_EQ(errorLog(), "");
    EXPECT_EQ(m_log.count(), 0u);
    // The CSV label replaces the bar.
    EXPECT_EQ(m_observer.csvFile, csvPath());
    EXPECT_FALSE(m_observer.progressVisible);
}

TEST_F(ScanDriverTest, EveryCrossingLineGoesToMelvorAndTheCsvFile)
{
    m_base.addStock("BETA_130000.txt", test::trendLineFile({TrendLineSpec{}, TrendLineSpec{}}),
                    dailyHistory(100, "10.2", "9.9"));
    ScanOptions options;
    options.crossing = true;
    options.csvFile = true;
    run(options);
    EXPECT_EQ(readFile(m_base.groupe() / "Melvor.txt"), "130000\tX_BETA\r\n130000\tX_BETA\r\n");
    EXPECT_EQ(readFile(csvPath()), "X_BETA          ;130000;9.9  ;DAILY;1,01%;-2,94\r\n"
                                   "X_BETA          ;130000;9.9  ;DAILY;1,01%;-2,94\r\n");
    EXPECT_FALSE(fs::exists(m_base.groupe() / "Parvane.txt"));
}

TEST_F(ScanDriverTest, ProximityRunWithoutHitEmptiesParvane)
{
    m_base.addStock("ALPHA_120000.txt", kOneLine, dailyHistory(100, "9.9", "5"));
    m_base.addGroup("Parvane.txt", "999999\tOLD\r\n");
    m_base.addGroup("Melvor.txt", "888888\tX_OLD\r\n");
    run(proximityOptions());
    EXPECT_TRUE(fs::exists(m_base.groupe() / "Parvane.txt"));
    EXPECT_EQ(readFile(m_base.groupe() / "Parvane.txt"), "");
    EXPECT_EQ(readFile(m_base.groupe() / "Melvor.txt"), "888888\tX_OLD\r\n");
    EXPECT_EQ(readFile(csvPath()), "");
}

TEST_F(ScanDriverTest, RunWithoutProximityLeavesParvaneUntouched)
{
    addNearStock("ALPHA_120000.txt");
    m_base.addGroup("Parvane.txt", "999999\tOLD\r\n");
    ScanOptions options;
    options.crossing = true;
    run(options);
    EXPECT_EQ(readFile(m_base.groupe() / "Parvane.txt"), "999999\tOLD\r\n");
    EXPECT_TRUE(fs::exists(m_base.groupe() / "Melvor.txt"));
    EXPECT_EQ(readFile(m_base.groupe() / "Melvor.txt"), "");
}

TEST_F(ScanDriverTest, RunWithoutCsvOptionWritesNoCsvAndKeepsTheBar)
{
    addNearStock("ALPHA_120000.txt");
    ScanOptions options = proximityOptions();
    options.csvFile = false;
    const ScanReport report = run(options);
    EXPECT_TRUE(report.csvFile.empty());
    EXPECT_FALSE(fs::exists(csvPath()));
    EXPECT_TRUE(m_observer.csvFile.empty());
    EXPECT_TRUE(m_observer.progressVisible);
    EXPECT_EQ(m_sink.rows.size(), 1u);
}

TEST_F(ScanDriverTest, ProgressRunsOverTheWalkAndEndsAtItsStart)
{
    addNearStock("ALPHA_120000.txt");
    addNearStock("BETA_130000.txt");
    addNearStock("GAMMA_140000.txt");
    run(proximityOptions());
    EXPECT_EQ(m_observer.statusTexts, std::vector<std::string>{"EXECUTION"});
    EXPECT_EQ(m_observer.ranges, std::vector<double>{4});
    EXPECT_EQ(m_observer.stockProgress, (std::vector<double>{1.1, 2.1, 3.1}));
    EXPECT_EQ(m_observer.values, (std::vector<double>{0.1, 0.1}));
}

TEST_F(ScanDriverTest, WalkTakesTextFilesInNameOrderWithoutRegardToCase)
{
    m_base.addStock("beta_2.txt", kOneLine, dailyHistory(100, "9.9", "9.8"));
    m_base.addStock("Gamma_3.txt", kOneLine, dailyHistory(100, "9.9", "9.8"));
    // Korvix's file system ignores case: the history is found under its own spelling.
    test::writeFile(m_base.droite() / "ALPHA_1.TXT", kOneLine);
    test::writeFile(m_base.histo() / "alpha_1.txt", dailyHistory(100, "9.9", "9.8"));
    // Not stocks: another extension, a folder, a hidden file.
    test::writeFile(m_base.droite() / "DELTA_4.csv", kOneLine);
    fs::create_directories(m_base.droite() / "EPSILON_5.txt");
    test::writeFile(m_base.droite() / ".ZETA_6.txt", kOneLine);

    const ScanReport report = run(proximityOptions());

    EXPECT_EQ(report.stocks, 3u);
    EXPECT_EQ(m_observer.ranges, std::vector<double>{4});
    EXPECT_EQ(readFile(m_base.groupe() / "Parvane.txt"),
              "1     \tALPHA\r\n2     \tbeta\r\n3     \tGamma\r\n");
    EXPECT_EQ(errorLog(), "");
}

TEST_F(ScanDriverTest, SelectionIsWalkedInItsOrderAndAMissingFileIsLogged)
{
    addNearStock("BETA_130000.txt");
    addNearStock("ALPHA_120000.txt");
    Selection selection;
    selection.active = true;
    selection.files = {"BETA_130000.txt", "GONE_1.txt", "ALPHA_120000.txt"};

    const ScanReport report = run(proximityOptions(), selection);

    EXPECT_EQ(report.stocks, 3u);
    EXPECT_EQ(m_observer.ranges, std::vector<double>{4});
    EXPECT_EQ(readFile(m_base.groupe() / "Parvane.txt"), "130000\tBETA\r\n120000\tALPHA\r\n");
    EXPECT_EQ(errorLog(), logLine((m_base.droite() / "GONE_1.txt").string(), kMissing));
    EXPECT_EQ(m_log.count(), 1u);
}

TEST_F(ScanDriverTest, InactiveSelectionScansTheWholeBase)
{
    addNearStock("ALPHA_120000.txt");
    addNearStock("BETA_130000.txt");
    Selection selection;
    selection.files = {"BETA_130000.txt"};
    EXPECT_EQ(run(proximityOptions(), selection).stocks, 2u);
}

TEST_F(ScanDriverTest, TrendLineFileOfMoreThan100LinesIsLoggedAndSkipped)
{
    const std::vector<TrendLineSpec> hundred(100);
    m_base.addStock("FULL_100.txt", test::trendLineFile(hundred), dailyHistory(100, "9.9", "9.8"));
    // A 101st line, even an empty one, is one too many; a final line end adds no line.
    m_base.addStock("OVER_101.txt", test::trendLineFile(hundred) + "\r\n", dailyHistory(100, "9.9", "9.8"));

    const ScanReport report = run(proximityOptions());

    EXPECT_EQ(report.rows, 100u);
    for (const auto& row : m_sink.rows)
        EXPECT_EQ(row[1], "100   ");
    EXPECT_EQ(errorLog(),
              logLine((m_base.droite() / "OVER_101.txt").string(), ": plus de 100 lignes, fichier ignore"));
    EXPECT_EQ(m_log.count(), 1u);
}

TEST_F(ScanDriverTest, EmptyTrendLineFileGivesNothing)
{
    m_base.addStock("ALPHA_120000.txt", "", dailyHistory(100, "9.9", "9.8"));
    const ScanReport report = run(proximityOptions());
    EXPECT_EQ(report.stocks, 1u);
    EXPECT_EQ(report.rows, 0u);
    EXPECT_EQ(errorLog(), "");
}

TEST_F(ScanDriverTest, FileNameWithoutUnderscoreIsLogged)
{
    addNearStock("NOCODE.txt");
    addNearStock("ALPHA_120000.txt");
    run(proximityOptions());
    EXPECT_EQ(errorLog(), logLine((m_base.droite() / "NOCODE.txt").string(),
                                  ": nom sans \"_\" (nom_code.txt attendu), fichier ignore"));
    EXPECT_EQ(m_sink.rows.size(), 1u);
}

TEST_F(ScanDriverTest, MissingTrendLineFolderStillCreatesEmptyOutputs)
{
    fs::remove_all(m_base.droite());
    ScanOptions options = proximityOptions();
    options.crossing = true;
    const ScanReport report = run(options);
    EXPECT_EQ(report.stocks, 0u);
    EXPECT_EQ(m_observer.ranges, std::vector<double>{1});
    EXPECT_TRUE(fs::exists(m_base.groupe() / "Parvane.txt"));
    EXPECT_TRUE(fs::exists(m_base.groupe() / "Melvor.txt"));
    EXPECT_TRUE(fs::exists(csvPath()));
    EXPECT_EQ(errorLog(), "");
}

TEST_F(ScanDriverTest, LongCodesStandWholeInEveryOutput)
{
    m_base.addStock("TOTAL_FR0000120271.txt", kOneLine, dailyHistory(100, "10.2", "9.9"));
    addNearStock("MINI_12.txt");
    ScanOptions options = proximityOptions();
    options.crossing = true;
    run(options);

    ASSERT_EQ(m_sink.rows.size(), 2u);
    EXPECT_EQ(m_sink.rows[0][1], "12    ");
    EXPECT_EQ(m_sink.rows[1][1], "FR0000120271");
    EXPECT_EQ(readFile(m_base.groupe() / "Parvane.txt"), "12    \tMINI\r\nFR0000120271\tX_TOTAL\r\n");
    EXPECT_EQ(readFile(m_base.groupe() / "Melvor.txt"), "FR0000120271\tX_TOTAL\r\n");
    EXPECT_EQ(readFile(csvPath()), "MINI            ;12    ;9.8  ;DAILY;2,04%;-1,01\r\n"
                                   "X_TOTAL         ;FR0000120271;9.9  ;DAILY;1,01%;-2,94\r\n");
}

TEST_F(ScanDriverTest, UnreadableCommentIsLoggedAndTheResultsStillWritten)
{
    addNearStock("ALPHA_120000.txt");
    // A regular file too large to be read (sparse: it takes no room).
    const fs::path comment = m_base.comment() / "ALPHA_120000.txt";
    test::writeSparseFile(comment, (std::uintmax_t{256} << 20) + 1);

    run(proximityOptions());

    ASSERT_EQ(m_sink.rows.size(), 1u);
    EXPECT_EQ(m_sink.rows[0][6], "");
    EXPECT_EQ(readFile(m_base.groupe() / "Parvane.txt"), "120000\tALPHA\r\n");
    EXPECT_EQ(readFile(csvPath()), "ALPHA           ;120000;9.8  ;DAILY;2,04%;-1,01\r\n");
    EXPECT_EQ(errorLog(), logLine(comment.string(), ": erreur indeterminee no:  27"));
    EXPECT_EQ(m_log.count(), 1u);
}

TEST_F(ScanDriverTest, CommentWithoutReadPermissionIsLogged)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads any file";
    addNearStock("ALPHA_120000.txt");
    const fs::path comment = m_base.comment() / "ALPHA_120000.txt";
    test::writeFile(comment, "secret\r\n");
    fs::permissions(comment, fs::perms::none);
    run(proximityOptions());
    EXPECT_EQ(m_sink.rows.size(), 1u);
    EXPECT_EQ(errorLog(), logLine(comment.string(), ": erreur indeterminee no:  13"));
}

TEST_F(ScanDriverTest, ResultFilesAreNeverWrittenThroughLinks)
{
    addNearStock("ALPHA_120000.txt");
    m_base.addStock("BETA_130000.txt", kOneLine, dailyHistory(100, "10.2", "9.9"));
    m_base.addComment("ALPHA_120000.txt", "note\r\n");
    fs::create_symlink(m_base.histo() / "ALPHA_120000.txt", m_base.groupe() / "Parvane.txt");
    fs::create_symlink(m_base.droite() / "BETA_130000.txt", m_base.groupe() / "Melvor.txt");
    fs::create_symlink(m_base.comment() / "ALPHA_120000.txt", csvPath());
    const auto before = test::snapshotBaseTree(m_base.root());
    ScanOptions options = proximityOptions();
    options.crossing = true;

    run(options);

    EXPECT_EQ(test::snapshotBaseTree(m_base.root()), before);
    EXPECT_EQ(m_sink.rows.size(), 2u);
    const std::string refused = ": ecriture impossible, erreur no:  40";
    EXPECT_EQ(errorLog(), logLine(csvPath().string(), refused)
                              + logLine((m_base.groupe() / "Melvor.txt").string(), refused)
                              + logLine((m_base.groupe() / "Parvane.txt").string(), refused));
    EXPECT_EQ(m_log.count(), 3u);
}

TEST_F(ScanDriverTest, CancelledRunClosesWhatItWrote)
{
    addNearStock("ALPHA_120000.txt");
    addNearStock("BETA_130000.txt");
    m_observer.stopAfter = 1;
    const ScanReport report = run(proximityOptions());
    EXPECT_TRUE(report.cancelled);
    EXPECT_EQ(report.stocks, 1u);
    EXPECT_EQ(readFile(m_base.groupe() / "Parvane.txt"), "120000\tALPHA\r\n");
}

TEST_F(ScanDriverTest, RowCountIsNotLimitedTo16Bits)
{
    // 330 stocks of 100 near lines: 33,000 rows, past the 32,767 of a 16-bit counter.
    const std::string lines = test::trendLineFile(std::vector<TrendLineSpec>(100));
    const std::string history = dailyHistory(2, "9.9", "9.8");
    std::string expectedGroup;
    for (int i = 0; i < 330; ++i) {
        const std::string code = std::to_string(100000 + i);
        m_base.addStock("S_" + code + ".txt", lines, history);
        expectedGroup += code + "\tS\r\n";
    }
    ScanOptions options = proximityOptions();
    options.csvFile = false;

    const ScanReport report = run(options);

    EXPECT_EQ(report.rows, 33000u);
    ASSERT_EQ(m_sink.rows.size(), 33000u);
    EXPECT_EQ(m_sink.rows.back()[1], "100329");
    EXPECT_EQ(readFile(m_base.groupe() / "Parvane.txt"), expectedGroup);
    EXPECT_EQ(errorLog(), "");
}

} // namespace
} // namespace parvane::scan
