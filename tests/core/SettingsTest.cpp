#include "core/scan/Settings.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/TestFiles.h"

namespace parvane::scan {
namespace {

TEST(Settings, LoadsTheSixKeysOfSectionPath)
{
    const test::TempDir dir;
    const auto ini = dir.path() / "zarbel.ini";
    test::writeFile(ini, "[path]\r\n"
                         "exe=C:\\Program Files\\Korvix 2.0\\\r\n"
                         "droite=\\base\\droite\\\r\n"
                         "histo=\\base\\histo\\\r\n"
                         "base1=d:\\bourse\\base1\r\n"
                         "BASE2=/home/user/base2\r\n"
                         "base3=\r\n");
    const Settings settings = loadSettings(ini);
    EXPECT_EQ((std::vector{settings.pathkvx, settings.droite, settings.histo, settings.base1, settings.base2,
                           settings.base3}),
              (std::vector<std::string>{"C:\\Program Files\\Korvix 2.0\\", "\\base\\droite\\",
                                        "\\base\\histo\\", "d:\\bourse\\base1", "/home/user/base2", ""}));
}

TEST(Settings, EmptyBaseTwoTakesBaseThreeAndTheChooserShowsFromTwoBases)
{
    const test::TempDir dir;
    EXPECT_EQ(loadSettings(dir.path() / "zarbel.ini").pathkvx, "");
    Settings settings{"exe", "d", "h", "B1", "", "B3"};
    EXPECT_TRUE(chooserAfterBasesCommand(settings).visible);
    EXPECT_EQ(settings.base2, "");
    const BaseChooser chooser = setUpActiveBase(settings);
    EXPECT_EQ(settings.base2, "B3");
    EXPECT_EQ(settings.base3, "B3");
    EXPECT_TRUE(chooser.visible);
    EXPECT_EQ(chooser.selectedIndex, 0);
    EXPECT_EQ(chooser.tooltip, "B1");
    EXPECT_EQ(chooser.baseactive, "B1");

    Settings one{"exe", "d", "h", "B1", "", ""};
    const BaseChooser hidden = setUpActiveBase(one);
    EXPECT_FALSE(hidden.visible);
    EXPECT_EQ(hidden.tooltip, "");
    EXPECT_EQ(hidden.baseactive, "B1");
    Settings two{"exe", "d", "h", "B1", "B2", ""};
    EXPECT_TRUE(setUpActiveBase(two).visible);
    EXPECT_EQ(two.base3, "");

    const Settings chosen{"exe", "d", "h", "B1", "", "B3"};
    const std::pair<int, std::optional<std::string>> indexes[] = {
        {0, "B1"}, {1, ""}, {2, "B3"}, {3, {}}, {-1, {}}};
    for (const auto& [index, base] : indexes)
        EXPECT_EQ(baseForChooserIndex(chosen, index), base) << index;
}

} // namespace
} // namespace parvane::scan
