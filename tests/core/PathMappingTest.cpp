#include "core/scan/PathMapping.h"

#include <cstdlib>

#include <gtest/gtest.h>

#include "support/TestFiles.h"

namespace parvane::scan {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

class PathMappingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fs::create_directories(prefix() / "drive_c" / "Program Files" / "Korvix 2.0");
        fs::create_directories(prefix() / "dosdevices");
        fs::create_symlink("../drive_c", prefix() / "dosdevices" / "c:");
    }

    fs::path prefix() const { return m_dir.path() / "wine"; }

    PathEnvironment environment() const { return PathEnvironment{prefix()}; }

    TempDir m_dir;
};

TEST_F(PathMappingTest, MapsADrivePathThroughDosdevices)
{
    const fs::path expected = prefix() / "dosdevices" / "c:" / "Program Files" / "Korvix 2.0";
    EXPECT_EQ(mapSettingsPath("C:\\Program Files\\Korvix 2.0\\", environment()), expected);
    EXPECT_EQ(mapSettingsPath("c:\\program files\\KORVIX 2.0", environment()), expected);
    EXPECT_EQ(mapSettingsPath("C:/Program Files//Korvix 2.0/", environment()), expected);
    EXPECT_EQ(mapSettingsPath("C:\\", environment()), prefix() / "dosdevices" / "c:");
}

TEST_F(PathMappingTest, MissingComponentsKeepTheirSpelling)
{
    EXPECT_EQ(mapSettingsPath("d:\\bourse\\Base1", environment()),
              prefix() / "dosdevices" / "d:" / "bourse" / "Base1");
    EXPECT_EQ(mapSettingsPath("C:\\PROGRAM FILES\\New\\Sub\\", environment()),
              prefix() / "dosdevices" / "c:" / "Program Files" / "New" / "Sub");
}

TEST_F(PathMappingTest, UsesDriveCWhenTheDeviceLinkIsMissing)
{
    fs::remove(prefix() / "dosdevices" / "c:");
    EXPECT_EQ(mapSettingsPath("C:\\program files\\korvix 2.0\\", environment()),
              prefix() / "drive_c" / "Program Files" / "Korvix 2.0");
}

TEST_F(PathMappingTest, LinuxPathsStayAsWritten)
{
    EXPECT_EQ(mapSettingsPath("/home/user/Base\\1/", environment()), fs::path("/home/user/Base\\1"));
    EXPECT_EQ(mapSettingsPath("/", environment()), fs::path("/"));
    EXPECT_EQ(mapSettingsPath("", environment()), fs::path());
}

TEST_F(PathMappingTest, ChoosesOneSpellingDeterministically)
{
    fs::create_directories(m_dir.path() / "root" / "BASE");
    fs::create_directories(m_dir.path() / "root" / "Base");
    fs::create_directories(m_dir.path() / "root" / "base");
    EXPECT_EQ(resolveUnderBase(m_dir.path() / "root", "\\base\\"), m_dir.path() / "root" / "base");
    EXPECT_EQ(resolveUnderBase(m_dir.path() / "root", "\\bAse\\"), m_dir.path() / "root" / "BASE");
}

TEST_F(PathMappingTest, ResolvesBaseFoldersWithoutRegardToCase)
{
    const fs::path root = m_dir.path() / "base1";
    fs::create_directories(root / "Base" / "Groupe");
    fs::create_directories(root / "Base" / "droite");
    fs::create_directories(root / "Base" / "HISTO");
    EXPECT_EQ(resolveUnderBase(root, "\\base\\groupe\\"), root / "Base" / "Groupe");
    EXPECT_EQ(resolveUnderBase(root, "\\Base\\comment\\"), root / "Base" / "comment");
    EXPECT_EQ(resolveUnderBase(root, "\\nothing\\groupe\\"), root / "nothing" / "groupe");
    EXPECT_EQ(resolveUnderBase(root, "..\\..\\etc"), root / "etc");

    const BaseLayout layout = BaseLayout::resolve(root, "", "\\base\\histo\\");
    EXPECT_EQ(layout.root, root);
    EXPECT_EQ(layout.base, root / "Base");
    EXPECT_EQ(layout.droite, root / "Base" / "droite");
    EXPECT_EQ(layout.histo, root / "Base" / "HISTO");
    EXPECT_EQ(layout.groupe, root / "Base" / "Groupe");
    EXPECT_EQ(layout.comment, root / "Base" / "comment");
}

TEST(PathEnvironment, TakesWinePrefixOrTheUsersWine)
{
    const char* saved = std::getenv("WINEPREFIX");
    const std::string savedPrefix = saved != nullptr ? saved : "";
    ::setenv("WINEPREFIX", "/opt/prefix", 1);
    EXPECT_EQ(pathEnvironmentFromSystem().winePrefix, fs::path("/opt/prefix"));
    ::unsetenv("WINEPREFIX");
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0') {
        EXPECT_EQ(pathEnvironmentFromSystem().winePrefix, fs::path(home) / ".wine");
    }
    if (saved != nullptr)
        ::setenv("WINEPREFIX", savedPrefix.c_str(), 1);
}

} // namespace
} // namespace parvane::scan
