#include "core/scan/Settings.h"

#include <gtest/gtest.h>

#include "support/TestFiles.h"

namespace parvane::scan {
namespace {

using test::TempDir;
using test::writeFile;

TEST(Settings, LoadsTheSixKeysOfSectionPath)
{
    const TempDir dir;
    const auto ini = dir.path() / "zarbel.ini";
    writeFile(ini, "[path]\r\n"
                   "exe=C:\\Program Files\\Korvix 2.0\\\r\n"
                   "droite=\\base\\droite\\\r\n"
                   "histo=\\base\\histo\\\r\n"
                   "base1=d:\\bourse\\base1\r\n"
                   "BASE2=/home/user/base2\r\n"
                   "base3=\r\n");
    const Settings settings = loadSettings(ini);
    EXPECT_EQ(settings.pathkvx, "C:\\Program Files\\Korvix 2.0\\");
    EXPECT_EQ(settings.droite, "\\base\\droite\\");
    EXPECT_EQ(settings.histo, "\\base\\histo\\");
    EXPECT_EQ(settings.base1, "d:\\bourse\\base1");
    EXPECT_EQ(settings.base2, "/home/user/base2");
    EXPECT_EQ(settings.base3, "");
}

TEST(Settings, MissingFileGivesEmptyTexts)
{
    const TempDir dir;
    const Settings settings = loadSettings(dir.path() / "zarbel.ini");
    EXPECT_EQ(settings.pathkvx, "");
    EXPECT_EQ(settings.base1, "");
}

TEST(Settings, BaseThreeFillsAnEmptyBaseTwoAndShowsTheChooser)
{
    Settings settings{"exe", "d", "h", "B1", "", "B3"};
    const BaseChooser chooser = setUpActiveBase(settings);
    EXPECT_EQ(settings.base2, "B3");
    EXPECT_EQ(settings.base3, "B3");
    EXPECT_TRUE(chooser.visible);
    EXPECT_EQ(chooser.selectedIndex, 0);
    EXPECT_EQ(chooser.tooltip, "B1");
    EXPECT_EQ(chooser.baseactive, "B1");
}

TEST(Settings, OnlyBaseOneKeepsTheChooserHidden)
{
    Settings settings{"exe", "d", "h", "B1", "", ""};
    const BaseChooser chooser = setUpActiveBase(settings);
    EXPECT_FALSE(chooser.visible);
    EXPECT_EQ(chooser.tooltip, "");
    EXPECT_EQ(chooser.baseactive, "B1");
    EXPECT_EQ(settings.base2, "");
}

TEST(Settings, BasesCommandMovesNothing)
{
    const Settings settings{"exe", "d", "h", "B1", "", "B3"};
    const BaseChooser chooser = chooserAfterBasesCommand(settings);
    EXPECT_TRUE(chooser.visible);
    EXPECT_EQ(chooser.baseactive, "B1");
    EXPECT_EQ(settings.base2, "");

    Settings two{"exe", "d", "h", "B1", "B2", ""};
    EXPECT_TRUE(setUpActiveBase(two).visible);
    EXPECT_EQ(two.base3, "");
}

TEST(Settings, ChooserIndexNamesABase)
{
    const Settings settings{"exe", "d", "h", "B1", "", "B3"};
    EXPECT_EQ(baseForChooserIndex(settings, 0), "B1");
    EXPECT_EQ(baseForChooserIndex(settings, 1), "");
    EXPECT_EQ(baseForChooserIndex(settings, 2), "B3");
    EXPECT_EQ(baseForChooserIndex(settings, 3), std::nullopt);
    EXPECT_EQ(baseForChooserIndex(settings, -1), std::nullopt);
}

} // namespace
} // namespace parvane::scan
