#include <algorithm>
#include <cstdint>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ScanProcess.h"
#include "support/TestBase.h"
#include "support/TestFiles.h"

namespace parvane::test {
namespace {

namespace fs = std::filesystem;
using Arguments = std::vector<std::string>;
using Tree = std::map<std::string, std::string>;

const std::string kHeader = "Action\tSicovam\tDernier\tUT\tEcart%\tVar%\tCommentaires\n";
const std::string kOneLine = trendLineFile({TrendLineFields{}});

// Bytes of every value from a fixed generator, so that a failure can be replayed.
std::string garbage(std::size_t size, std::uint32_t seed)
{
    std::string bytes(size, '\0');
    for (char& byte : bytes) {
        seed = seed * 1664525u + 1013904223u;
        byte = static_cast<char>(seed >> 24);
    }
    return bytes;
}

// What a scan of a hostile base left: its error-log messages (without date and time) and its
// standard output and error.
struct HostileScan
{
    std::vector<std::string> messages;
    std::string out;
    std::string err;
};

// A base in a temporary folder, scanned through the real parvane-scan. Every scan must end by
// itself with status 0, log each failure on one CR LF line and count it, leave the trend lines,
// histories and comments byte for byte as they were, and write nothing but the group folder, the
// CSV file and the error log.
class HostileBaseTest : public ::testing::Test
{
protected:
    HostileBaseTest()
        : m_base(m_dir.path() / "root")
    {
        fs::create_directories(home());
    }

    fs::path home() const { return m_dir.path() / "home"; }

    // The whole temporary folder but what a scan may write: the group folder, the base's CSV
    // files, the error log and the program's captured output.
    Tree outsideOutputs() const
    {
        Tree tree = snapshotBaseTree(m_dir.path());
        std::erase_if(tree, [](const auto& entry) {
            const std::string& name = entry.first;
            return name.rfind("root/base/groupe/", 0) == 0 || name.rfind("scratch", 0) == 0
                   || name == "home/errorlog.txt"
                   || std::regex_match(name, std::regex(R"(root/base/result_[0-9]{8}_[0-9]{4}\.csv)"));
        });
        return tree;
    }

    HostileScan scan(Arguments arguments)
    {
        const Tree droite = snapshotBaseTree(m_base.droite());
        const Tree histo = snapshotBaseTree(m_base.histo());
        const Tree comment = snapshotBaseTree(m_base.comment());
        const Tree outside = outsideOutputs();

        arguments.insert(arguments.begin(), {"--home", home().string(), "--base", m_base.root().string()});
        const ScanProcessResult result = runScanProgram(arguments, m_dir.path() / "scratch");

        EXPECT_FALSE(result.timedOut);
        EXPECT_EQ(result.exitStatus, 0) << result.err;
        EXPECT_EQ(snapshotBaseTree(m_base.droite()), droite);
        EXPECT_EQ(snapshotBaseTree(m_base.histo()), histo);
        EXPECT_EQ(snapshotBaseTree(m_base.comment()), comment);
        EXPECT_EQ(outsideOutputs(), outside);

        HostileScan scanned{errorLogMessages(readFile(home() / "errorlog.txt")), result.out, result.err};
        // The count on standard error is the number of logged lines.
        std::smatch count;
        const std::string& err = result.err;
        EXPECT_TRUE(std::regex_search(err, count, std::regex(R"(FIN: ([0-9]+) erreur\(s\)\n)"))) << err;
        if (!count.empty()) {
            EXPECT_EQ(std::stoul(count[1]), scanned.messages.size()) << err;
        }
        return scanned;
    }

    std::string droiteFile(std::string_view name) const { return (m_base.droite() / name).string(); }

    std::string histoFile(std::string_view name) const { return (m_base.histo() / name).string(); }

    TempDir m_dir;
    TestBase m_base;
};

const std::string kGood = dailyHistory(100, "9.9", "9.8");
const Arguments kEverything = {"--proximity", "--daily", "--weekly",         "--max-gap", "3",
                               "--crossing",  "--csv",   "--comments-group", "--format",  "tsv"};

TEST_F(HostileBaseTest, BinaryGarbageInEveryFileIsLoggedOncePerStock)
{
    // Without line ends: one huge line; with them: many lines (more than 100).
    std::string oneLine = garbage(64 << 10, 1);
    std::replace(oneLine.begin(), oneLine.end(), '\n', 'n');
    std::replace(oneLine.begin(), oneLine.end(), '\r', 'r');
    m_base.addStock("ONELINE_100001.txt", oneLine, garbage(64 << 10, 2));
    m_base.addStock("MANY_100002.txt", garbage(64 << 10, 3), kGood);
    m_base.addStock("GOOD_100003.txt", kOneLine, garbage(64 << 10, 4));
    m_base.addStock("COMMENT_100004.txt", kOneLine, kGood);
    m_base.addComment("COMMENT_100004.txt", garbage(64 << 10, 5));
    m_base.addGroup("G.txt", garbage(4 << 10, 6) + "\r\n100004\tCOMMENT\r\n");

    const HostileScan scanned = scan(kEverything);

    EXPECT_LE(scanned.messages.size(), 4u);
    EXPECT_NE(std::find(scanned.messages.begin(), scanned.messages.end(),
                        droiteFile("MANY_100002.txt") + ": plus de 100 lignes, fichier ignore"),
              scanned.messages.end());
    // The garbage comment travels with its stock's row.
    EXPECT_NE(scanned.out.find("COMMENT         \t100004\t9.8  \tDAILY"), std::string::npos) << scanned.out;

    const HostileScan grouped = scan({"--groups", "G", "--proximity", "--daily", "--max-gap", "3"});
    EXPECT_EQ(grouped.messages.size(), 0u);
    EXPECT_EQ(readFile(m_base.groupe() / "Parvane.txt"), "100004\tCOMMENT\r\n");
}

TEST_F(HostileBaseTest, EmptyCommentAndGroupFilesAreNoFailures)
{
    m_base.addStock("ALPHA_100001.txt", kOneLine, kGood);
    m_base.addComment("ALPHA_100001.txt", "");
    m_base.addGroup("Empty.txt", "");

    const HostileScan all = scan({"--proximity", "--daily", "--max-gap", "3", "--format", "tsv"});
    EXPECT_EQ(all.messages, std::vector<std::string>{});
    EXPECT_EQ(all.out, kHeader + "ALPHA           \t100001\t9.8  \tDAILY\t2.04\t-1.01\t\n");

    // An empty group selects nothing: the whole base is scanned.
    const HostileScan grouped =
        scan({"--groups", "Empty", "--proximity", "--daily", "--max-gap", "3", "--format", "tsv"});
    EXPECT_EQ(grouped.messages, std::vector<std::string>{});
    EXPECT_EQ(grouped.out, all.out);
}

TEST_F(HostileBaseTest, UnreadableFilesAreLoggedAndSkipped)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads files whatever their permissions";
    m_base.addStock("NOREAD_100001.txt", kOneLine, kGood);
    fs::permissions(m_base.droite() / "NOREAD_100001.txt", fs::perms::none);
    m_base.addStock("NOHIST_100002.txt", kOneLine, kGood);
    fs::permissions(m_base.histo() / "NOHIST_100002.txt", fs::perms::none);
    m_base.addStock("NOCOM_100003.txt", kOneLine, kGood);
    m_base.addComment("NOCOM_100003.txt", "x\r\n");
    fs::permissions(m_base.comment() / "NOCOM_100003.txt", fs::perms::none);
    m_base.addStock("GOOD_100004.txt", kOneLine, kGood);

    const HostileScan scanned = scan({"--proximity", "--daily", "--max-gap", "3", "--format", "tsv"});

    EXPECT_EQ(scanned.messages.size(), 3u);
    EXPECT_NE(scanned.out.find("GOOD            \t100004\t"), std::string::npos) << scanned.out;
}

TEST_F(HostileBaseTest, ReadOnlyGroupFolderLogsTheGroupsItCannotWrite)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    m_base.addStock("ALPHA_100001.txt", kOneLine, kGood);
    m_base.addGroup("G.txt", "100001\tALPHA\r\n");
    fs::permissions(m_base.groupe(), fs::perms::owner_read | fs::perms::owner_exec);

    const HostileScan scanned =
        scan({"--groups", "G", "--proximity", "--daily", "--max-gap", "3", "--format", "tsv"});

    EXPECT_GE(scanned.messages.size(), 1u);
    for (const std::string& message : scanned.messages)
        EXPECT_EQ(message.rfind(m_base.groupe().string(), 0), 0u) << message;
    EXPECT_EQ(scanned.out, kHeader + "ALPHA           \t100001\t9.8  \tDAILY\t2.04\t-1.01\t\n");
    fs::permissions(m_base.groupe(), fs::perms::owner_all);
}

TEST_F(HostileBaseTest, FoldersNamedLikeGroupFilesAreNeitherReadNorWritten)
{
    m_base.addStock("ALPHA_100001.txt", kOneLine, kGood);
    fs::create_directories(m_base.groupe() / "G.txt");
    fs::create_directories(m_base.groupe() / "Parvane.txt");

    const HostileScan scanned = scan({"--proximity", "--daily", "--max-gap", "3", "--format", "tsv"});

    EXPECT_TRUE(fs::is_directory(m_base.groupe() / "Parvane.txt"));
    EXPECT_TRUE(fs::is_directory(m_base.groupe() / "G.txt"));
    EXPECT_EQ(scanned.out, kHeader + "ALPHA           \t100001\t9.8  \tDAILY\t2.04\t-1.01\t\n");
    EXPECT_LE(scanned.messages.size(), 2u);
}

TEST_F(HostileBaseTest, SymbolicLinkLoopsAreLoggedAndSkipped)
{
    // A link to itself in each folder, a two-link loop, and a folder linking to its parent.
    fs::create_directories(m_base.droite());
    fs::create_symlink("SELF_100001.txt", m_base.droite() / "SELF_100001.txt");
    m_base.addStock("LOOPHIST_100002.txt", kOneLine, std::nullopt);
    fs::create_symlink("B_100009.txt", m_base.histo() / "LOOPHIST_100002.txt");
    fs::create_symlink("LOOPHIST_100002.txt", m_base.histo() / "B_100009.txt");
    m_base.addStock("LOOPCOM_100003.txt", kOneLine, kGood);
    fs::create_directories(m_base.comment());
    fs::create_symlink("LOOPCOM_100003.txt", m_base.comment() / "LOOPCOM_100003.txt");
    fs::create_symlink("..", m_base.droite() / "UP_100004.txt");
    fs::create_symlink(".", m_base.histo() / "sub");
    m_base.addStock("GOOD_100005.txt", kOneLine, kGood);
    fs::create_symlink("Loop.txt", m_base.groupe() / "Loop.txt");

    const HostileScan scanned = scan(kEverything);

    // The trend-line folder lists regular files only: the looping link there is passed over, as
    // a FIFO is.
    EXPECT_EQ(scanned.messages,
              std::vector<std::string>{histoFile("LOOPHIST_100002.txt") + ": erreur indeterminee no:  40"});
    EXPECT_NE(scanned.out.find("GOOD            \t100005\t"), std::string::npos) << scanned.out;
}

TEST_F(HostileBaseTest, NonAsciiNamesAreScannedAsBytes)
{
    // Windows-1252 bytes (not UTF-8), UTF-8, and a name holding a line end.
    m_base.addStock("SOCI\xc9T\xc9_100001.txt", kOneLine, kGood);
    m_base.addStock("\xc3\xa9t\xc3\xa9_100002.txt", kOneLine, kGood);
    m_base.addStock("NO\xffHIST_100003.txt", kOneLine, std::nullopt);
    m_base.addStock("LINE\r\nEND_100004.txt", kOneLine, std::nullopt);

    const HostileScan scanned = scan({"--proximity", "--daily", "--max-gap", "3", "--format", "tsv"});

    const std::vector<std::string> expected = {
        histoFile("LINE??END_100004.txt") + ": fichier introuvable, verifiez sa presence ou son integrite ",
        histoFile("NO\xffHIST_100003.txt") + ": fichier introuvable, verifiez sa presence ou son integrite ",
    };
    EXPECT_EQ(scanned.messages, expected);
    EXPECT_NE(scanned.out.find("\t100001\t9.8  \tDAILY"), std::string::npos) << scanned.out;
    EXPECT_NE(scanned.out.find("\t100002\t9.8  \tDAILY"), std::string::npos) << scanned.out;
}

TEST_F(HostileBaseTest, GroupLinesNamingFilesOutsideTheBaseAreIgnored)
{
    m_base.addStock("ALPHA_100001.txt", kOneLine, kGood);
    // Reported if the group lines below were followed out of the trend-line folder.
    writeFile(m_base.base() / "ESCAPE_100002.txt", kOneLine);
    writeFile(m_base.root() / "ESCAPE_100003.txt", kOneLine);
    writeFile(m_base.histo() / "ESCAPE_100002.txt", kGood);
    writeFile(m_base.base() / "ESCAPE_100003.txt", kGood);
    m_base.addGroup("Evil.txt", "100002\t../ESCAPE\r\n"
                                "100003\t../../ESCAPE\r\n"
                                "..\t..\r\n"
                                "100002/../..\tx\r\n"
                                "100004\t..\\ESCAPE\r\n"
                                "100005\t\r\n"
                                "100001\tALPHA\r\n");

    const HostileScan scanned =
        scan({"--groups", "Evil", "--proximity", "--daily", "--max-gap", "3", "--format", "tsv"});

    EXPECT_EQ(scanned.out, kHeader + "ALPHA           \t100001\t9.8  \tDAILY\t2.04\t-1.01\t\n");
    EXPECT_EQ(readFile(m_base.groupe() / "Parvane.txt"), "100001\tALPHA\r\n");
}

} // namespace
} // namespace parvane::test
