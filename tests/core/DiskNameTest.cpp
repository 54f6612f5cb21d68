#include "core/text/DiskName.h"

#include <gtest/gtest.h>

namespace parvane::text {
namespace {

// A name on the disk, its display form (UTF-8), its form inside Korvix's files (Windows-1252)
// and whether that form lost characters.
struct NameCase
{
    std::string_view disk;
    std::string_view utf8;
    std::string_view windows1252;
    bool lossy;
};

constexpr NameCase kNameCases[] = {
    {"ALPHA_1.txt", "ALPHA_1.txt", "ALPHA_1.txt", false},
    {"\xC3\x89LAN", "\xC3\x89LAN", "\xC9LAN", false},                        // as Wine writes it
    {"\xC9LAN", "\xC3\x89LAN", "\xC9LAN", false},                            // bytes copied from Windows
    {"\xE2\x82\xAC", "\xE2\x82\xAC", "\x80", false},                         // the euro sign
    {"\xCE\xA9MEGA", "\xCE\xA9MEGA", "?MEGA", true},                         // no Windows-1252 form
    {"A?B", "A?B", "A?B", false},                                            // a question mark of its own
    {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80", "?", true},                     // outside the BMP
    {"\xC0\x80", "\xC3\x80\xE2\x82\xAC", "\xC0\x80", false},                 // overlong: not UTF-8
    {"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC", "\xED\xA0\x80", false}, // a surrogate
};

TEST(DiskName, UsesUtf8WhenValidElseWindows1252)
{
    for (const NameCase& c : kNameCases) {
        EXPECT_EQ(diskNameToUtf8(c.disk), c.utf8) << c.disk;
        const Windows1252Name name = diskNameToWindows1252(c.disk);
        EXPECT_EQ(name.bytes, c.windows1252) << c.disk;
        EXPECT_EQ(name.lossy, c.lossy) << c.disk;
    }
}

TEST(DiskName, AGroupLineNameIsLookedUpAsUtf8ThenAsItsBytes)
{
    EXPECT_EQ(diskNamesOf("\xC9LAN_1.txt"), (std::vector<std::string>{"\xC3\x89LAN_1.txt", "\xC9LAN_1.txt"}));
    EXPECT_EQ(diskNamesOf("ALPHA_1.txt"), (std::vector<std::string>{"ALPHA_1.txt"}));
}

} // namespace
} // namespace parvane::text
