#include "core/scan/PathMapping.h"

#include <cstdlib>

#include <gtest/gtest.h>

#include "support/TestFiles.h"

namespace parvane::scan {
namespace {

namespace fs = std::filesystem;

TEST(PathMapping, MapsSettingsPathsIntoTheWinePrefix)
{
    const test::TempDir dir;
    const fs::path prefix = dir.path() / "wine";
    fs::create_directories(prefix / "drive_c" / "Program Files" / "Korvix 2.0");
    fs::create_directories(prefix / "dosdevices");
    fs::create_symlink("../drive_c", prefix / "dosdevices" / "c:");
    const fs::path c = prefix / "dosdevices" / "c:";
    const fs::path korvix = c / "Program Files" / "Korvix 2.0";
    // Drive paths through dosdevices, matched without regard to case; missing components keep
    // their spelling; Linux paths stay as written.
    const std::pair<const char*, fs::path> cases[] = {
        {"C:\\Program Files\\Korvix 2.0\\", korvix},
        {"c:\\program files\\KORVIX 2.0", korvix},
        {"C:/Program Files//Korvix 2.0/", korvix},
        {"C:\\", c},
        {"d:\\bourse\\Base1", prefix / "dosdevices" / "d:" / "bourse" / "Base1"},
        {"C:\\PROGRAM FILES\\New\\Sub\\", c / "Program Files" / "New" / "Sub"},
        {"/home/user/Base\\1/", "/home/user/Base\\1"},
        {"/", "/"},
        {"", ""},
    };
    for (const auto& [text, path] : cases)
        EXPECT_EQ(mapSettingsPath(text, PathEnvironment{prefix}), path) << text;
    fs::remove(c);
    EXPECT_EQ(mapSettingsPath("C:\\program files\\korvix 2.0\\", PathEnvironment{prefix}),
              prefix / "drive_c" / "Program Files" / "Korvix 2.0");
}

TEST(PathMapping, ResolvesBaseFoldersWithoutRegardToCase)
{
    const test::TempDir dir;
    const fs::path root = dir.path() / "base1";
    fs::create_directories(root / "Base" / "Groupe");
    fs::create_directories(root / "Base" / "droite");
    fs::create_directories(root / "Base" / "HISTO");
    fs::create_directories(root / "Base" / "ALT");
    fs::create_directories(root / "Base" / "alt");
    EXPECT_EQ(resolveUnderBase(root, "\\base\\groupe\\"), root / "Base" / "Groupe");
    EXPECT_EQ(resolveUnderBase(root, "\\Base\\comment\\"), root / "Base" / "comment");
    EXPECT_EQ(resolveUnderBase(root, "\\nothing\\groupe\\"), root / "nothing" / "groupe");
    EXPECT_EQ(resolveUnderBase(root, "..\\..\\etc"), root / "etc");
    // Of several spellings, the exact one, else the first in byte order.
    EXPECT_EQ(resolveUnderBase(root, "\\Base\\alt"), root / "Base" / "alt");
    EXPECT_EQ(resolveUnderBase(root, "\\Base\\aLt"), root / "Base" / "ALT");

    const BaseLayout layout = BaseLayout::resolve(root, "", "\\base\\histo\\");
    EXPECT_EQ(layout.root, root);
    EXPECT_EQ(layout.base, root / "Base");
    EXPECT_EQ(layout.droite, root / "Base" / "droite");
    EXPECT_EQ(layout.histo, root / "Base" / "HISTO");
    EXPECT_EQ(layout.groupe, root / "Base" / "Groupe");
    EXPECT_EQ(layout.comment, root / "Base" / "comment");

    ::setenv("WINEPREFIX", "/opt/prefix", 1);
    EXPECT_EQ(pathEnvironmentFromSystem().winePrefix, fs::path("/opt/prefix"));
    ::unsetenv("WINEPREFIX");
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        EXPECT_EQ(pathEnvironmentFromSystem().winePrefix, fs::path(home) / ".wine");
    }
}

} // namespace
} // namespace parvane::scan
