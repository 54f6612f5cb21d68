#include "core/evaluation/CommentFile.h"

#include <cerrno>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/TestFiles.h"

namespace parvane::evaluation {
namespace {

using test::TempDir;
using test::writeFile;
using Lines = std::vector<std::string>;

TEST(CommentFile, ExistFileIsTrueOnlyForARegularFile)
{
    const TempDir dir;
    writeFile(dir.path() / "ALPHA_1.txt", "comment");
    std::filesystem::create_directories(dir.path() / "BETA_2.txt");
    ASSERT_EQ(::mkfifo((dir.path() / "GAMMA_3.txt").c_str(), 0600), 0);
    EXPECT_TRUE(ExistFile(dir.path() / "ALPHA_1.txt"));
    EXPECT_FALSE(ExistFile(dir.path() / "BETA_2.txt"));
    EXPECT_FALSE(ExistFile(dir.path() / "GAMMA_3.txt"));
    EXPECT_FALSE(ExistFile(dir.path() / "DELTA_4.txt"));
    EXPECT_FALSE(ExistFile(""));
}

TEST(CommentFile, ReadsLinesWithBlankOnesAndAnyLineEnd)
{
    const TempDir dir;
    writeFile(dir.path() / "A_1.txt", "first line\r\n\r\nthird\nfourth\rlast \xe9t\xe9");
    Lines lines{"stale"};
    ASSERT_TRUE(readCommentLines(dir.path() / "A_1.txt", lines).ok());
    EXPECT_EQ(lines, (Lines{"first line", "", "third", "fourth", "last \xe9t\xe9"}));

    writeFile(dir.path() / "B_2.txt", "two\r\nlines\r\n");
    ASSERT_TRUE(readCommentLines(dir.path() / "B_2.txt", lines).ok());
    EXPECT_EQ(lines, (Lines{"two", "lines"}));
}

TEST(CommentFile, EmptyFileHasNoLines)
{
    const TempDir dir;
    writeFile(dir.path() / "A_1.txt", "");
    Lines lines{"stale"};
    ASSERT_TRUE(readCommentLines(dir.path() / "A_1.txt", lines).ok());
    EXPECT_TRUE(lines.empty());
}

TEST(CommentFile, ReportsFailuresWithNoLines)
{
    const TempDir dir;
    Lines lines{"stale"};
    EXPECT_TRUE(readCommentLines(dir.path() / "A_1.txt", lines).isMissing());
    EXPECT_TRUE(lines.empty());

    lines = {"stale"};
    EXPECT_EQ(readCommentLines(dir.path(), lines).code, EISDIR);
    EXPECT_TRUE(lines.empty());
}

} // namespace
} // namespace parvane::evaluation
