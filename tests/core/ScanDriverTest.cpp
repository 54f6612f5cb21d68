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
using test::TrendLineFields;

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
const std::string kOneLine = test::trendLineFile({TrendLineFields{}});

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

TEST_F(ScanDriverTest, SelectionIsWalkedInItsOrderAndAMissingFileIsLogged)
{
    addNearStock("BETA_130000.txt");
    addNearStock("ALPHA_120000.txt");
    Selection selection;
    selection.active = true;
    selection.files = {"BETA_130000.txt", "GONE_1.txt", "ALPHA_120000.txt"};

    const ScanReport report = run(proximityOptions(), selection);

    EXPECT_EQ(report.stocks, 3u);
    EXPECT_EQ(m_observer.statusTexts, std::vector<std::string>{"EXECUTION"});
    EXPECT_EQ(m_observer.ranges, std::vector<double>{4});
    EXPECT_EQ(m_observer.stockProgress, (std::vector<double>{1.1, 2.1, 3.1}));
    EXPECT_EQ(m_observer.values, (std::vector<double>{0.1, 0.1}));
    EXPECT_EQ(m_observer.csvFile, csvPath());
    EXPECT_EQ(readFile(m_base.groupe() / "Parvane.txt"), "130000\tBETA\r\n120000\tALPHA\r\n");
    EXPECT_EQ(errorLog(), logLine((m_base.droite() / "GONE_1.txt").string(), kMissing));
    EXPECT_EQ(m_log.count(), 1u);
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

} // namespace
} // namespace parvane::scan
