#include "core/scan/PathSettings.h"

#include <gtest/gtest.h>

namespace parvane::scan {
namespace {

TEST(PathSettings, DropsOneFinalSeparatorButKeepsTheRoot)
{
    const struct
    {
        const char* text;
        const char* expected;
    } cases[] = {{"c:\\", "c:"},
                 {"/home/u/base/", "/home/u/base"},
                 {"d:\\bourse\\base1", "d:\\bourse\\base1"},
                 {"/", "/"},
                 {"", ""},
                 {"\\\\", "\\"}};

    for (const auto& c : cases)
        EXPECT_EQ(withoutFinalSeparator(c.text), c.expected) << c.text;
}

TEST(PathSettings, TellsDriveRootsFromFolders)
{
    const struct
    {
        const char* text;
        bool root;
    } cases[] = {{"c:", true},     {"C:\\", true}, {"z:\\", true}, {"c:/", false}, {"1:\\", false},
                 {"c:\\a", false}, {"/", false},   {"", false},    {"c", false},   {"cc:", false}};

    for (const auto& c : cases)
        EXPECT_EQ(isWindowsDriveRoot(c.text), c.root) << c.text;
}

TEST(PathSettings, EndsKorvixFolderWithTheSeparatorOfItsKind)
{
    const struct
    {
        const char* folder;
        const char* exe;
    } cases[] = {{"/opt/korvix", "/opt/korvix/"},
                 {"/opt/korvix/", "/opt/korvix/"},
                 {"C:\\Program Files\\Korvix 2.0", "C:\\Program Files\\Korvix 2.0\\"},
                 {"c:\\", "c:\\"},
                 {"", "\\"}};

    for (const auto& c : cases)
        EXPECT_EQ(exeText(c.folder), c.exe) << c.folder;
}

} // namespace
} // namespace parvane::scan
