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

class IniFileTest : public ::testing::Test
{
protected:
    std::filesystem::path ini() const { return m_dir.path() / "zarbel.ini"; }

    TempDir m_dir;
};

TEST_F(IniFileTest, ReadsValuesWithoutRegardToCaseOrBlanks)
{
    writeFile(ini(), "; settings\r\n"
                     "[Other]\r\n"
                     "exe=wrong\r\n"
                     "  [ PATH ]  \r\n"
                     "  Exe  =  C:\\Program Files\\Korvix 2.0\\  \r\n"
                     "base1=\"d:\\bourse\\base1\"\n"
                     "base2='quoted'\r"
                     "base3=\"unmatched'\r\n"
                     "equation=a=b\r\n"
                     ";base4=commented\r\n");
    EXPECT_EQ(lireini("path", "exe", ini()), "C:\\Program Files\\Korvix 2.0\\");
    EXPECT_EQ(lireini("PaTh", "EXE", ini()), "C:\\Program Files\\Korvix 2.0\\");
    EXPECT_EQ(lireini("path", "base1", ini()), "d:\\bourse\\base1");
    EXPECT_EQ(lireini("path", "base2", ini()), "quoted");
    EXPECT_EQ(lireini("path", "base3", ini()), "\"unmatched'");
    EXPECT_EQ(lireini("path", "equation", ini()), "a=b");
    EXPECT_EQ(lireini("path", ";base4", ini()), "");
    EXPECT_EQ(lireini("path", "base4", ini()), "");
    EXPECT_EQ(lireini("other", "exe", ini()), "wrong");
}

TEST_F(IniFileTest, MissingFileSectionOrKeyReadsEmpty)
{
    EXPECT_EQ(lireini("path", "exe", ini()), "");
    writeFile(ini(), "exe=outside\r\n[path]\r\nbase1=x\r\n");
    EXPECT_EQ(lireini("path", "exe", ini()), "");
    EXPECT_EQ(lireini("nothing", "base1", ini()), "");
    EXPECT_EQ(lireini("path", "base1", m_dir.path()), "");
}

TEST_F(IniFileTest, PassesOverAByteOrderMark)
{
    writeFile(ini(), "\xEF\xBB\xBF[path]\r\nexe=a\r\n");
    EXPECT_EQ(lireini("path", "exe", ini()), "a");
    ASSERT_TRUE(ecrireini("path", "exe", "b", ini()));
    EXPECT_EQ(readFile(ini()), "\xEF\xBB\xBF[path]\r\nexe=b\r\n");

    writeFile(ini(), "\xEF\xBB\xBF");
    ASSERT_TRUE(ecrireini("path", "exe", "c", ini()));
    EXPECT_EQ(readFile(ini()), "\xEF\xBB\xBF[path]\r\nexe=c\r\n");
}

TEST_F(IniFileTest, OnlyTheFirstSectionOfANameIsRead)
{
    writeFile(ini(), "[path]\r\nbase1=first\r\n[path]\r\nbase1=second\r\nbase2=later\r\n");
    EXPECT_EQ(lireini("path", "base1", ini()), "first");
    EXPECT_EQ(lireini("path", "base2", ini()), "");
}

TEST_F(IniFileTest, CutsValuesTo254Characters)
{
    const std::string value(300, 'v');
    writeFile(ini(), "[path]\r\nbase1=" + value + "\r\n");
    EXPECT_EQ(lireini("path", "base1", ini()), std::string(254, 'v'));
}

TEST_F(IniFileTest, CreatesAMissingFile)
{
    ASSERT_TRUE(ecrireini("path", "exe", "C:\\Korvix\\", ini()));
    EXPECT_EQ(readFile(ini()), "[path]\r\nexe=C:\\Korvix\\\r\n");
    EXPECT_EQ(lireini("path", "exe", ini()), "C:\\Korvix\\");
}

TEST_F(IniFileTest, ReplacesAKeyAndKeepsEveryOtherByte)
{
    const std::string before = "; comment\n"
                               "[other]\r\n"
                               "exe=keep me\r\n"
                               "\r\n"
                               "[Path]\r"
                               "base1=old1\r\n"
                               "  EXE = old exe ; note\n"
                               "exe=second\r\n"
                               "\r\n"
                               "[last]\r\n"
                               "x=y";
    writeFile(ini(), before);
    ASSERT_TRUE(ecrireini("path", "exe", "C:\\new\\", ini()));
    EXPECT_EQ(readFile(ini()), "; comment\n"
                               "[other]\r\n"
                               "exe=keep me\r\n"
                               "\r\n"
                               "[Path]\r"
                               "base1=old1\r\n"
                               "exe=C:\\new\\\n"
                               "exe=second\r\n"
                               "\r\n"
                               "[last]\r\n"
                               "x=y");
}

TEST_F(IniFileTest, AddsAMissingKeyAtTheEndOfItsSection)
{
    writeFile(ini(), "[path]\r\nexe=a\r\n; end of path\r\n\r\n\r\n[other]\r\nbase2=z\r\n");
    ASSERT_TRUE(ecrireini("path", "base2", "b", ini()));
    EXPECT_EQ(readFile(ini()),
              "[path]\r\nexe=a\r\n; end of path\r\nbase2=b\r\n\r\n\r\n[other]\r\nbase2=z\r\n");

    writeFile(ini(), "[path]");
    ASSERT_TRUE(ecrireini("path", "base1", "", ini()));
    EXPECT_EQ(readFile(ini()), "[path]\r\nbase1=\r\n");

    writeFile(ini(), "[other]\nx=1\n[path]\nexe=a");
    ASSERT_TRUE(ecrireini("path", "droite", "\\base\\droite\\", ini()));
    EXPECT_EQ(readFile(ini()), "[other]\nx=1\n[path]\nexe=a\r\ndroite=\\base\\droite\\\r\n");
}

TEST_F(IniFileTest, AddsAMissingSectionAtTheEnd)
{
    writeFile(ini(), "[other]\nx=1");
    ASSERT_TRUE(ecrireini("path", "exe", "e", ini()));
    EXPECT_EQ(readFile(ini()), "[other]\nx=1\r\n[path]\r\nexe=e\r\n");

    writeFile(ini(), "[other]\r\nx=1\r\n");
    ASSERT_TRUE(ecrireini("path", "exe", "e", ini()));
    EXPECT_EQ(readFile(ini()), "[other]\r\nx=1\r\n[path]\r\nexe=e\r\n");
}

TEST_F(IniFileTest, WritesTheWholeSettingsLikeThePathDialog)
{
    const char* keys[] = {"exe", "droite", "histo", "base1", "base2", "base3"};
    for (const char* key : keys)
        ASSERT_TRUE(ecrireini("path", key, std::string(key) + "-value", ini()));
    ASSERT_TRUE(ecrireini("path", "base2", "", ini()));
    EXPECT_EQ(readFile(ini()), "[path]\r\n"
                               "exe=exe-value\r\n"
                               "droite=droite-value\r\n"
                               "histo=histo-value\r\n"
                               "base1=base1-value\r\n"
                               "base2=\r\n"
                               "base3=base3-value\r\n");
    // Nothing is left beside the file.
    EXPECT_EQ(snapshotTree(m_dir.path()).size(), 1u);
}

TEST_F(IniFileTest, KeepsThePermissionsOfTheFile)
{
    writeFile(ini(), "[path]\r\nexe=a\r\n");
    ASSERT_EQ(::chmod(ini().c_str(), 0640), 0);
    ASSERT_TRUE(ecrireini("path", "exe", "b", ini()));

    struct stat info
    {};

    ASSERT_EQ(::stat(ini().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST_F(IniFileTest, WritesThroughASymbolicLink)
{
    writeFile(m_dir.path() / "real" / "zarbel.ini", "[path]\r\nexe=a\r\n");
    std::filesystem::create_symlink("real/zarbel.ini", ini());
    ASSERT_TRUE(ecrireini("path", "exe", "b", ini()));
    EXPECT_TRUE(std::filesystem::is_symlink(ini()));
    EXPECT_EQ(readFile(m_dir.path() / "real" / "zarbel.ini"), "[path]\r\nexe=b\r\n");
}

TEST_F(IniFileTest, FailsWithoutTouchingAnything)
{
    // The folder does not exist.
    EXPECT_FALSE(ecrireini("path", "exe", "x", m_dir.path() / "none" / "zarbel.ini"));
    // A folder stands where the file should be.
    std::filesystem::create_directories(m_dir.path() / "folder.ini");
    EXPECT_FALSE(ecrireini("path", "exe", "x", m_dir.path() / "folder.ini"));

    // Texts that would break the file apart.
    writeFile(ini(), "[path]\r\nexe=a\r\n");
    const auto before = snapshotTree(m_dir.path());
    EXPECT_FALSE(ecrireini("path", "exe", "a\r\n[evil]", ini()));
    EXPECT_FALSE(ecrireini("path", "exe", std::string_view("a\0b", 3), ini()));
    EXPECT_FALSE(ecrireini("pa]th", "exe", "x", ini()));
    EXPECT_FALSE(ecrireini("path", "e=xe", "x", ini()));
    EXPECT_FALSE(ecrireini("path", "", "x", ini()));
    EXPECT_FALSE(ecrireini("path", ";exe", "x", ini()));
    EXPECT_EQ(snapshotTree(m_dir.path()), before);
}

TEST_F(IniFileTest, RefusesAReadOnlyFileOrFolder)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not apply to root";
    writeFile(ini(), "[path]\r\nexe=a\r\n");
    ASSERT_EQ(::chmod(ini().c_str(), 0444), 0);
    EXPECT_FALSE(ecrireini("path", "exe", "b", ini()));
    EXPECT_EQ(readFile(ini()), "[path]\r\nexe=a\r\n");

    ASSERT_EQ(::chmod(ini().c_str(), 0644), 0);
    ASSERT_EQ(::chmod(m_dir.path().c_str(), 0555), 0);
    EXPECT_FALSE(ecrireini("path", "exe", "b", ini()));
    ASSERT_EQ(::chmod(m_dir.path().c_str(), 0755), 0);
    EXPECT_EQ(readFile(ini()), "[path]\r\nexe=a\r\n");
    EXPECT_EQ(snapshotTree(m_dir.path()).size(), 1u);
}

} // namespace
} // namespace parvane::scan
