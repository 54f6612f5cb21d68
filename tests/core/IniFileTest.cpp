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

TEST(IniFile, ReadsValuesWithoutRegardToCaseOrBlanks)
{
    const TempDir dir;
    const auto ini = dir.path() / "zarbel.ini";
    EXPECT_EQ(lireini("path", "exe", ini), "");
    writeFile(ini,
              "\xEF\xBB\xBF; settings\r\nbase5=outside\r\n[Other]\r\nexe=wrong\r\n  [ PATH ]  \r\n"
              "  Exe  =  C:\\Program Files\\Korvix 2.0\\  \r\nbase1=\"d:\\bourse\\base1\"\nbase2='quoted'\r"
              "base3=\"unmatched'\r\nequation=a=b\r\n;base4=commented\r\nlong="
                  + std::string(300, 'v') + "\r\n[path]\r\nbase6=second\r\n");

    const struct
    {
        const char* section;
        const char* key;
        std::string value;
    } cases[] = {
        {"path", "exe", "C:\\Program Files\\Korvix 2.0\\"},
        {"PaTh", "EXE", "C:\\Program Files\\Korvix 2.0\\"},
        {"path", "base1", "d:\\bourse\\base1"},
        {"path", "base2", "quoted"},
        {"path", "base3", "\"unmatched'"},
        {"path", "equation", "a=b"},
        {"path", ";base4", ""},
        {"path", "base4", ""},
        {"path", "base5", ""},
        {"path", "base6", ""},
        {"nothing", "exe", ""},
        {"other", "exe", "wrong"},
        {"path", "long", std::string(254, 'v')},
    };

    for (const auto& c : cases)
        EXPECT_EQ(lireini(c.section, c.key, ini), c.value) << c.section << "/" << c.key;
    EXPECT_EQ(lireini("path", "base1", dir.path()), "");
}

TEST(IniFile, WritesAKeyAndKeepsEveryOtherByte)
{
    const struct
    {
        std::string before; // "-" for no file
        const char* key;
        const char* value;
        std::string after;
    } cases[] = {
        {"-", "exe", "C:\\Korvix\\", "[path]\r\nexe=C:\\Korvix\\\r\n"},
        {"\xEF\xBB\xBF[path]\r\nexe=a\r\n", "exe", "b", "\xEF\xBB\xBF[path]\r\nexe=b\r\n"},
        {"\xEF\xBB\xBF", "exe", "c", "\xEF\xBB\xBF[path]\r\nexe=c\r\n"},
        {"; c\n[other]\r\nexe=keep\r\n\r\n[Path]\rbase1=o\r\n  EXE = old ; n\nexe=2\r\n\r\n[last]\r\nx=y",
         "exe", "C:\\new\\",
         "; c\n[other]\r\nexe=keep\r\n\r\n[Path]\rbase1=o\r\nexe=C:\\new\\\nexe=2\r\n\r\n[last]\r\nx=y"},
        {"[path]\r\nexe=a\r\n; end\r\n\r\n\r\n[other]\r\nbase2=z\r\n", "base2", "b",
         "[path]\r\nexe=a\r\n; end\r\nbase2=b\r\n\r\n\r\n[other]\r\nbase2=z\r\n"},
        {"[path]", "base1", "", "[path]\r\nbase1=\r\n"},
        {"[other]\nx=1\n[path]\nexe=a", "droite", "\\d\\", "[other]\nx=1\n[path]\nexe=a\r\ndroite=\\d\\\r\n"},
        {"[other]\nx=1", "exe", "e", "[other]\nx=1\r\n[path]\r\nexe=e\r\n"},
        {"[other]\r\nx=1\r\n", "exe", "e", "[other]\r\nx=1\r\n[path]\r\nexe=e\r\n"},
    };

    for (const auto& c : cases) {
        const TempDir dir;
        const auto ini = dir.path() / "zarbel.ini";
        if (c.before != "-")
            writeFile(ini, c.before);
        ASSERT_TRUE(ecrireini("path", c.key, c.value, ini)) << c.before;
        EXPECT_EQ(readFile(ini), c.after) << c.before;
        EXPECT_EQ(lireini("path", c.key, ini), c.value);
        EXPECT_EQ(snapshotTree(dir.path()).size(), 1u);
    }
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
    if (::geteuid() != 0) {
        ASSERT_EQ(::chmod(ini.c_str(), 0444), 0);
        EXPECT_FALSE(ecrireini("path", "exe", "b", ini));
        ASSERT_EQ(::chmod(ini.c_str(), 0644), 0);
        ASSERT_EQ(::chmod(dir.path().c_str(), 0555), 0);
        EXPECT_FALSE(ecrireini("path", "exe", "b", ini));
        ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
    }
    EXPECT_EQ(snapshotTree(dir.path()), before);
}

} // namespace
} // namespace parvane::scan
