#include "core/evaluation/CommentFile.h"

#include <cerrno>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/TestFiles.h"

namespace parvane::evaluation {
namespace {

using Lines = std::vector<std::string>;

TEST(CommentFile, ReadsLinesOfRegularFilesOnly)
{
    const test::TempDir dir;
    const auto at = [&](const char* name) { return dir.path() / name; };
    test::writeFile(at("A_1.txt"), "first line\r\n\r\nthird\nfourth\rlast \xe9t\xe9");
    test::writeFile(at("B_2.txt"), "two\r\nlines\r\n");
    test::writeFile(at("C_3.txt"), "");
    std::filesystem::create_directories(at("D_4.txt"));
    ASSERT_EQ(::mkfifo(at("E_5.txt").c_str(), 0600), 0);

    const struct
    {
        const char* name;
        bool exists;
        int code;
        Lines lines;
    } cases[] = {
        {"A_1.txt", true, 0, {"first line", "", "third", "fourth", "last \xe9t\xe9"}},
        {"B_2.txt", true, 0, {"two", "lines"}},
        {"C_3.txt", true, 0, {}},
        {"D_4.txt", false, EISDIR, {}},
        {"E_5.txt", false, EINVAL, {}},
        {"F_6.txt", false, ENOENT, {}},
    };

    for (const auto& c : cases) {
        EXPECT_EQ(ExistFile(at(c.name)), c.exists) << c.name;
        Lines lines{"stale"};
        EXPECT_EQ(readCommentLines(at(c.name), lines).code, c.code) << c.name;
        EXPECT_EQ(lines, c.lines) << c.name;
    }
    EXPECT_FALSE(ExistFile(""));
}

} // namespace
} // namespace parvane::evaluation
