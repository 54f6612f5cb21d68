#include <algorithm>
#include <cstdint>

#include <sys/stat.h>

#include "ScanProcess.h"

namespace parvane::test {
namespace {

namespace fs = std::filesystem;

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

void makeFifo(const fs::path& file)
{
    fs::create_directories(file.parent_path());
    ASSERT_EQ(::mkfifo(file.c_str(), 0644), 0) << file;
}

// A base where nearly every file is broken in its own way, scanned by the real parvane-scan: every
// scan ends by itself, logs each failure once, writes only its own result files and leaves the
// trend lines, histories and comments exactly as they were. The transcripts hold the rest.
TEST_F(ScanTest, AHostileBaseIsScannedWithoutHarm)
{
    const std::string good = kNear;
    TrendLineFields unlimited;
    unlimited.kind = "1";
    // Reported, though its comment is too large to be read (a sparse file of 256 MiB + 1).
    m_base.addStock("GOOD_100001.txt", kOneLine, good);
    writeSparseFile(m_base.comment() / "GOOD_100001.txt", (std::uintmax_t{256} << 20) + 1);
    // Binary bytes, nothing, a folder or a FIFO where trend lines or quotations should be.
    m_base.addStock("BIN_100002.txt", std::string("\x00\x01\x02\xff\xfe\r\n\x89PNG\x1a\n", 12), good);
    m_base.addStock("EMPTY_100003.txt", "", good);
    m_base.addStock("NOHIST_100004.txt", kOneLine, std::nullopt);
    m_base.addStock("DIRHIST_100005.txt", kOneLine, std::nullopt);
    fs::create_directories(m_base.histo() / "DIRHIST_100005.txt");
    m_base.addStock("FIFOHIST_100006.txt", kOneLine, std::nullopt);
    makeFifo(m_base.histo() / "FIFOHIST_100006.txt");
    m_base.addStock("NOUNDERSCORE.txt", kOneLine, good);
    fs::create_directories(m_base.droite() / "DIR_100007.txt");
    std::string binaryHistory;
    for (int i = 0; i < 3; ++i)
        binaryHistory += std::string("\xff\xfe\x00\t\x01\t\x02\t\x03\t\x04\t\x05\r\n", 16);
    m_base.addStock("BINHIST_100008.txt", trendLineFile({unlimited}), binaryHistory);
    m_base.addStock("EMPTYHIST_100009.txt", kOneLine, "");
    m_base.addStock("LONG_100010.txt", trendLineFile(std::vector<TrendLineFields>(101)), good);
    makeFifo(m_base.droite() / "PIPE_100011.txt");
    // A folder and a FIFO named like comment files are no comments; a binary comment is one.
    m_base.addStock("COMDIR_100012.txt", kOneLine, good);
    fs::create_directories(m_base.comment() / "COMDIR_100012.txt");
    m_base.addStock("COMFIFO_100013.txt", kOneLine, good);
    makeFifo(m_base.comment() / "COMFIFO_100013.txt");
    m_base.addStock("BINCOM_100014.txt", kOneLine, good);
    m_base.addComment("BINCOM_100014.txt", std::string("\x00\x81\xff\r\n", 5));
    // Anchors far beyond 16 bits, and a line whose values overflow.
    TrendLineFields huge;
    huge.secondAnchor = "99999999";
    m_base.addStock("HUGE_100015.txt", trendLineFile({huge}), good);
    TrendLineFields overflowing = unlimited;
    overflowing.slope = "1e308";
    overflowing.intercept = "1e308";
    m_base.addStock("INF_100016.txt", trendLineFile({overflowing}), good);
    m_base.addComment("NOUNDER.txt", "x\r\n");
    // Random bytes: without line ends one huge line, with them more than 100 lines.
    std::string oneLine = garbage(64 << 10, 1);
    std::replace(oneLine.begin(), oneLine.end(), '\n', 'n');
    std::replace(oneLine.begin(), oneLine.end(), '\r', 'r');
    m_base.addStock("ONELINE_200001.txt", oneLine, garbage(64 << 10, 2));
    m_base.addStock("MANY_200002.txt", garbage(64 << 10, 3), good);
    m_base.addStock("GARBHIST_200003.txt", kOneLine, garbage(64 << 10, 4));
    m_base.addStock("COMMENT_200004.txt", kOneLine, good);
    m_base.addComment("COMMENT_200004.txt", garbage(4 << 10, 5));
    m_base.addGroup("Garbage.txt", garbage(4 << 10, 6) + "\r\n200004\tCOMMENT\r\n");
    m_base.addStock("EMPTYCOM_200005.txt", kOneLine, good);
    m_base.addComment("EMPTYCOM_200005.txt", "");
    m_base.addGroup("Empty.txt", "");
    // Symbolic links to themselves, a two-link loop, folders linking to their parents.
    fs::create_symlink("SELF_200006.txt", m_base.droite() / "SELF_200006.txt");
    m_base.addStock("LOOPHIST_200007.txt", kOneLine, std::nullopt);
    fs::create_symlink("B_200099.txt", m_base.histo() / "LOOPHIST_200007.txt");
    fs::create_symlink("LOOPHIST_200007.txt", m_base.histo() / "B_200099.txt");
    m_base.addStock("LOOPCOM_200008.txt", kOneLine, good);
    fs::create_symlink("LOOPCOM_200008.txt", m_base.comment() / "LOOPCOM_200008.txt");
    fs::create_symlink("..", m_base.droite() / "UP_200009.txt");
    fs::create_symlink(".", m_base.histo() / "sub");
    fs::create_symlink("Loop.txt", m_base.groupe() / "Loop.txt");
    // Windows-1252 bytes (not UTF-8), UTF-8, and names holding a byte 0xff or a line end.
    m_base.addStock("SOCI\xc9T\xc9_200010.txt", kOneLine, good);
    m_base.addStock("\xc3\xa9t\xc3\xa9_200011.txt", kOneLine, good);
    m_base.addStock("NO\xffHIST_200012.txt", kOneLine, std::nullopt);
    m_base.addStock("LINE\r\nEND_200013.txt", kOneLine, std::nullopt);
    // Group lines leading out of the trend-line folder; they would report the ESCAPE stocks.
    writeFile(m_base.base() / "ESCAPE_300002.txt", kOneLine);
    writeFile(m_base.root() / "ESCAPE_300003.txt", kOneLine);
    writeFile(m_base.histo() / "ESCAPE_300002.txt", good);
    writeFile(m_base.base() / "ESCAPE_300003.txt", good);
    m_base.addGroup("Evil.txt", "300002\t../ESCAPE\r\n300003\t../../ESCAPE\r\n..\t..\r\n300002/../..\tx\r\n"
                                "300004\t..\\ESCAPE\r\n300005\t\r\n100001\tGOOD\r\n");
    // A folder named like a group, and result groups leading into the base's own files.
    fs::create_directories(m_base.groupe() / "Dir.txt");
    fs::create_symlink(m_base.histo() / "GOOD_100001.txt", m_base.groupe() / "Parvane.txt");
    fs::create_symlink(m_base.droite() / "GOOD_100001.txt", m_base.groupe() / "Melvor.txt");

    const std::vector<Arguments> scans = {
        {"--proximity", "--daily", "--weekly", "--max-gap", "3", "--crossing", "--csv", "--comments-group",
         "--format", "tsv"},
        {"--groups", "Garbage,Evil,Empty", "--proximity", "--daily", "--max-gap", "3", "--format", "tsv"},
    };
    for (std::size_t i = 0; i < scans.size(); ++i) {
        const auto droite = snapshotBaseTree(m_base.droite());
        const auto histo = snapshotBaseTree(m_base.histo());
        const auto comment = snapshotBaseTree(m_base.comment());
        const auto before = snapshotBaseTree(m_dir.path());
        const ScanProcessResult result = scan(scans[i]);
        EXPECT_EQ(snapshotBaseTree(m_base.droite()), droite);
        EXPECT_EQ(snapshotBaseTree(m_base.histo()), histo);
        EXPECT_EQ(snapshotBaseTree(m_base.comment()), comment);
        expectGolden("cli/hostile-base-" + std::to_string(i + 1) + ".txt", transcript(result, before));
    }
}

} // namespace
} // namespace parvane::test
