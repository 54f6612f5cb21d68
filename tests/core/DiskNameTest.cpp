#include "core/text/DiskName.h"

#include <gtest/gtest.h>

namespace parvane::text {
namespace {

TEST(DiskName, AGroupLineNameIsLookedUpAsUtf8ThenAsItsBytes)
{
    EXPECT_EQ(diskNamesOf("\xC9LAN_1.txt"), (std::vector<std::string>{"\xC3\x89LAN_1.txt", "\xC9LAN_1.txt"}));
    EXPECT_EQ(diskNamesOf("ALPHA_1.txt"), (std::vector<std::string>{"ALPHA_1.txt"}));
}

} // namespace
} // namespace parvane::text
