#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "ScanProcess.h"
#include "support/TestBase.h"
#include "support/TestFiles.h"

namespace parvane::test {
namespace {

namespace fs = std::filesystem;

void makeFifo(const fs::path& file)
{
    fs::create_directories(file.parent_path());
    ASSERT_EQ(::mkfifo(file.c_str(), 0644), 0) << file;
}

// A base where nearly every file is broken in its own way. A scan of it must go through every
// stock, log each failure once, write only its own result files, and leave the trend lines,
// histories and comments exactly as they were.
TEST(BadBase, ScanLogsEveryFailureAndChangesNoBaseFile)
{
    TempDir dir;
    const TestBase base(dir.path() / "root");
    const fs::path home = dir.path() / "home";
    fs::create_directories(home);
    const std::string nearLine = trendLineFile({TrendLineFields{}});
    TrendLineFields unlimited;
    unlimited.kind = "1";
    const std::string good = dailyHistory(100, "9.9", "9.8");

    // Reported, though its comment is too large to be read (a sparse file of 256 MiB + 1).
    base.addStock("GOOD_100001.txt", nearLine, good);
    writeSparseFile(base.comment() / "GOOD_100001.txt", (std::uintmax_t{256} << 20) + 1);
    // Binary bytes where trend lines should be.
    base.addStock("BIN_100002.txt", std::string("\x00\x01\x02\xff\xfe\r\n\x89PNG\x1a\n", 12), good);
    base.addStock("EMPTY_100003.txt", "", good);
    base.addStock("NOHIST_100004.txt", nearLine, std::nullopt);
    base.addStock("DIRHIST_100005.txt", nearLine, std::nullopt);
    fs::create_directories(base.histo() / "DIRHIST_100005.txt");
    base.addStock("FIFOHIST_100006.txt", nearLine, std::nullopt);
    makeFifo(base.histo() / "FIFOHIST_100006.txt");
    base.addStock("NOUNDERSCORE.txt", nearLine, good);
    fs::create_directories(base.droite() / "DIR_100007.txt");
    // Binary bytes where quotations should be: every close reads 0.
    std::string binaryHistory;
    for (int i = 0; i < 3; ++i)
        binaryHistory += std::string("\xff\xfe\x00\t\x01\t\x02\t\x03\t\x04\t\x05\r\n", 16);
    base.addStock("BINHIST_100008.txt", trendLineFile({unlimited}), binaryHistory);
    base.addStock("EMPTYHIST_100009.txt", nearLine, "");
    base.addStock("LONG_100010.txt", trendLineFile(std::vector<TrendLineFields>(101)), good);
    makeFifo(base.droite() / "PIPE_100011.txt");
    // Reported without comment: a folder and a FIFO named like comment files are no comments.
    base.addStock("COMDIR_100012.txt", nearLine, good);
    fs::create_directories(base.comment() / "COMDIR_100012.txt");
    base.addStock("COMFIFO_100013.txt", nearLine, good);
    makeFifo(base.comment() / "COMFIFO_100013.txt");
    // Reported with its binary comment.
    base.addStock("BINCOM_100014.txt", nearLine, good);
    base.addComment("BINCOM_100014.txt", std::string("\x00\x81\xff\r\n", 5));
    // Anchors far beyond 16 bits, and a line whose values overflow.
    TrendLineFields huge;
    huge.secondAnchor = "99999999";
    base.addStock("HUGE_100015.txt", trendLineFile({huge}), good);
    TrendLineFields overflowing = unlimited;
    overflowing.slope = "1e308";
    overflowing.intercept = "1e308";
    base.addStock("INF_100016.txt", trendLineFile({overflowing}), good);
    // A comment file without "_", for the comments group.
    base.addComment("NOUNDER.txt", "x\r\n");
    // Result groups that lead into the base's own files must not be written through.
    fs::create_symlink(base.histo() / "GOOD_100001.txt", base.groupe() / "Parvane.txt");
    fs::create_symlink(base.droite() / "GOOD_100001.txt", base.groupe() / "Melvor.txt");

    const auto droite = snapshotBaseTree(base.droite());
    const auto histo = snapshotBaseTree(base.histo());
    const auto comment = snapshotBaseTree(base.comment());

    const ScanProcessResult result = runScanProgram(
        {"--home", home.string(), "--base", base.root().string(), "--proximity", "--daily", "--weekly",
         "--max-gap", "3", "--crossing", "--csv", "--comments-group", "--format", "tsv"},
        dir.path() / "scratch");

    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(snapshotBaseTree(base.droite()), droite);
    EXPECT_EQ(snapshotBaseTree(base.histo()), histo);
    EXPECT_EQ(snapshotBaseTree(base.comment()), comment);
    EXPECT_TRUE(fs::is_symlink(base.groupe() / "Parvane.txt"));
    EXPECT_TRUE(fs::is_symlink(base.groupe() / "Melvor.txt"));

    const std::string droiteFolder = base.droite().string() + "/";
    const std::string histoFolder = base.histo().string() + "/";
    const std::string badLine = ": ligne de tendance illisible, lignes suivantes ignorees, ligne 1";
    const std::string zeroClose = ": dernier cours ou avant dernier cours de cloture a zero!";
    const std::string refused = ": ecriture impossible, erreur no:  40";
    const std::vector<std::string> expected = {
        base.comment().string() + "/NOUNDER.txt: nom sans \"_\" (nom_code.txt attendu), fichier ignore",
        (base.groupe() / "Melvor.txt").string() + refused,
        (base.groupe() / "Parvane.txt").string() + refused,
        droiteFolder + "BIN_100002.txt" + badLine,
        "BINHIST_100008.txt" + zeroClose,
        histoFolder + "DIRHIST_100005.txt: erreur indeterminee no:  21",
        "EMPTYHIST_100009.txt" + zeroClose,
        histoFolder + "FIFOHIST_100006.txt: erreur indeterminee no:  22",
        base.comment().string() + "/GOOD_100001.txt: erreur indeterminee no:  27",
        droiteFolder + "HUGE_100015.txt" + badLine,
        "INF_100016.txt" + zeroClose,
        droiteFolder + "LONG_100010.txt: plus de 100 lignes, fichier ignore",
        histoFolder + "NOHIST_100004.txt: fichier introuvable, verifiez sa presence ou son integrite ",
        droiteFolder + "NOUNDERSCORE.txt: nom sans \"_\" (nom_code.txt attendu), fichier ignore",
    };
    EXPECT_EQ(errorLogMessages(readFile(home / "errorlog.txt")), expected);
    const std::regex status(
        R"(CSV: .*result_[0-9]{8}_[0-9]{4}\.csv\nFIN: 14 erreur\(s\)\nvoir errorlog\.txt\n)");
    EXPECT_TRUE(std::regex_match(result.err, status)) << result.err;

    // The four reported stocks, sorted; only BINCOM carries a comment.
    EXPECT_EQ(result.out, "Action\tSicovam\tDernier\tUT\tEcart%\tVar%\tCommentaires\n"
                          "BINCOM          \t100014\t9.8  \tDAILY\t2.04\t-1.01\t"
                              + std::string("\x00\xc2\x81\xc3\xbf - \n", 9)
                              + "COMDIR          \t100012\t9.8  \tDAILY\t2.04\t-1.01\t\n"
                                "COMFIFO         \t100013\t9.8  \tDAILY\t2.04\t-1.01\t\n"
                                "GOOD            \t100001\t9.8  \tDAILY\t2.04\t-1.01\t\n");
    EXPECT_EQ(readFile(base.groupe() / "Quennel.txt"), "100014\tBINCOM\r\n100001\tGOOD\r\n");
}

} // namespace
} // namespace parvane::test
