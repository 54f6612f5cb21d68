#include "core/text/Collation.h"

#include <gtest/gtest.h>

#include "core/scan/ResultsOrder.h"

namespace parvane::text {
namespace {

// Pairs of Windows-1252 texts and the sign of their comparison.
struct OrderCase
{
    std::string_view a;
    std::string_view b;
    int sign;
};

constexpr OrderCase kOrderCases[] = {
    {"abc", "ABC", 0},        {"\xC9LAN", "ELAN", 0}, {"\xE9lan", "ELAN", 0},  {"\xC9LAN", "FOX", -1},
    {"DELTA", "\xC9LAN", -1}, {"ZOE", "\xC9LAN", 1},  {"beta", "CHARLIE", -1}, {"ab", "abc", -1},
    {"X_A", "XA", 1},         {"?MEGA", "ABC", -1},   {"\x9C", "OE", -1},      {"", "", 0},
    {"\xFF", "y", 0},         {"\x80", "z", 1},
};

int sign(int value)
{
    return (value > 0) - (value < 0);
}

TEST(Collation, OrdersWithoutCaseWithAccentedLettersAmongTheirBaseLetters)
{
    for (const OrderCase& c : kOrderCases) {
        EXPECT_EQ(sign(compareText(c.a, c.b)), c.sign) << c.a << " / " << c.b;
        EXPECT_EQ(sign(compareText(c.b, c.a)), -c.sign) << c.b << " / " << c.a;
    }
    EXPECT_LT(compareUtf8Text("\xC3\x89lan", "Fox"), 0);
}

TEST(ResultsOrder, SortIsStableAndKeepsTheOrderOfAddition)
{
    EXPECT_EQ(scan::resultRowOrder({"abc", "FOX", "ABC", "\xC9LAN", "Abc", "delta"}),
              (std::vector<std::size_t>{0, 2, 4, 5, 3, 1}));
    std::vector<scan::ResultTexts> rows(3);
    rows[0][1] = "b";
    rows[1][1] = "A";
    rows[2][1] = "a";
    scan::sortResultRows(rows, scan::ResultColumn::Sicovam);
    EXPECT_EQ(rows[0][1] + rows[1][1] + rows[2][1], "Aab");
}

} // namespace
} // namespace parvane::text
