#include "core/scan/IniFile.h"

#include <string>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/TestFiles.h"

namespace parvane::scan {
namespace {

using test::readFile;
using test::snapshotTree;
using test::TempDir;
using test::writeFile;

// Reads and writes, one row per case, from tests/data/ini/zarbel.tsv.
TEST(IniFile, FollowsTheCaseTable)
{
    const auto rows = test::dataRows("ini/zarbel.tsv");
    ASSERT_GT(rows.size(), 20u);
    const TempDir read;
    for (const auto& row : rows) {
        if (row[0] == "file") {
            writeFile(read.path() / "zarbel.ini", row.at(1));
        } else if (row[0] == "read") {
            EXPECT_EQ(lireini(row.at(1), row.at(2), read.path() / "zarbel.ini"), row.at(3))
                << row[1] << "/" << row[2];
        } else {
            const TempDir dir;
            const auto ini = dir.path() / "zarbel.ini";
            if (row.at(1) != "-")
                writeFile(ini, row[1]);
            ASSERT_TRUE(ecrireini("path", row.at(2), row.at(3), ini)) << row[1];
            EXPECT_EQ(readFile(ini), row.at(4)) << row[1];
            EXPECT_EQ(lireini("path", row[2], ini), row[3]);
            EXPECT_EQ(snapshotTree(dir.path()).size(), 1u);
        }
    }
    EXPECT_EQ(lireini("path", "exe", read.path() / "none.ini"), "");
    EXPECT_EQ(lireini("path", "base1", read.path()), "");
}

TEST(IniFile, KeepsPermissionsAndSymbolicLinks)
{
    const TempDir dir;
    const auto ini = dir.path() / "zarbel.ini";
    writeFile(dir.path() / "real" / "zarbel.ini", "[path]\r\nexe=a\r\n");
    std::filesystem::create_symlink("real/zarbel.ini", ini);
    ASSERT_EQ(::chmod(ini.c_str(), 0640), 0);
    ASSERT_TRUE(ecrireini("path", "exe", "b", ini));
    EXPECT_TRUE(std::filesystem::is_symlink(ini));
    EXPECT_EQ(readFile(dir.path() / "real" / "zarbel.ini"), "[path]\r\nexe=b\r\n");

    struct stat info
    {};

    ASSERT_EQ(::stat(ini.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST(IniFile, FailsWithoutTouchingAnything)
{
    const TempDir dir;
    const auto ini = dir.path() / "zarbel.ini";
    EXPECT_FALSE(ecrireini("path", "exe", "x", dir.path() / "none" / "zarbel.ini"));
    std::filesystem::create_directories(dir.path() / "folder.ini");
    EXPECT_FALSE(ecrireini("path", "exe", "x", dir.path() / "folder.ini"));
    writeFile(ini, "[path]\r\nexe=a\r\n");
    const auto before = snapshotTree(dir.path());
    EXPECT_FALSE(ecrireini("path", "exe", "a\r\n[evil]", ini));
    EXPECT_FALSE(ecrireini("path", "exe", std::string_view("a\0b", 3), ini));
    EXPECT_FALSE(ecrireini("pa]th", "exe", "x", ini));
    EXPECT_FALSE(ecrireini("path", "e=xe", "x", ini));
    EXPECT_FALSE(ecrireini("path", "", "x", ini));
    EXPECT_FALSE(ecrireini("path", ";exe", "x", ini));
    test::asUnprivilegedUser(dir.path(), [&] {
        ASSERT_EQ(::chmod(ini.c_str(), 0444), 0);
        EXPECT_FALSE(ecrireini("path", "exe", "b", ini));
        ASSERT_EQ(::chmod(ini.c_str(), 0644), 0);
        ASSERT_EQ(::chmod(dir.path().c_str(), 0555), 0);
        EXPECT_FALSE(ecrireini("path", "exe", "b", ini));
        ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
        EXPECT_EQ(snapshotTree(dir.path()), before);
    });
}

} // namespace
} // namespace parvane::scan
