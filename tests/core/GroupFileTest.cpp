#include "core/scan/GroupFile.h"

#include <cerrno>
#include <utility>

#include <gtest/gtest.h>

#include "support/TestFiles.h"

namespace parvane::scan {
namespace {

using test::TempDir;
using test::writeFile;

using Entries = std::vector<std::pair<std::string, std::string>>;

// Code and name of each entry.
Entries pairsOf(const std::vector<GroupEntry>& entries)
{
    Entries pairs;
    for (const GroupEntry& entry : entries)
        pairs.emplace_back(entry.code, entry.name);
    return pairs;
}

TEST(GroupFile, ReadsCodeAndNameFromTheFirstTwoFields)
{
    const TempDir dir;
    writeFile(dir.path() / "g.txt", "12345\tDUPONT\r\n"
                                    "12345\tDUPONT\textra\tmore\n"
                                    "no tab here\r"
                                    "\r\n"
                                    "\tNONAME\r\n"
                                    "12345 \tX_DUPONT\r\n"
                                    "678\t\xc9TOILE");
    std::vector<GroupEntry> entries{{"stale", "stale"}};
    ASSERT_TRUE(readGroupFile(dir.path() / "g.txt", entries).ok());
    EXPECT_EQ(pairsOf(entries), (Entries{{"12345", "DUPONT"},
                                         {"12345", "DUPONT"},
                                         {"", "NONAME"},
                                         {"12345 ", "X_DUPONT"},
                                         {"678", "\xc9TOILE"}}));
}

TEST(GroupFile, CountsLinesAsALineReaderAndReportsFilesThatCannotBeRead)
{
    const TempDir dir;
    writeFile(dir.path() / "a.txt", "1\tA\r\n\r\n2\tB");
    writeFile(dir.path() / "b.txt", "1\tA\r\n2\tB\r\n");
    writeFile(dir.path() / "c.txt", "");
    for (const auto& [name, count] : {std::pair{"a.txt", 3u}, {"b.txt", 2u}, {"c.txt", 0u}, {"none.txt", 0u}})
        EXPECT_EQ(compteligne(dir.path() / name), count) << name;
    std::vector<GroupEntry> entries{{"stale", "stale"}};
    EXPECT_TRUE(readGroupFile(dir.path() / "none.txt", entries).isMissing());
    EXPECT_TRUE(entries.empty());
    EXPECT_EQ(readGroupFile(dir.path(), entries).code, EISDIR);
    EXPECT_EQ(stockFileName("DUPONT", "12345"), "DUPONT_12345.txt");
    EXPECT_EQ(stockFileName("ALPHA", ""), "ALPHA_.txt");
}

} // namespace
} // namespace parvane::scan
