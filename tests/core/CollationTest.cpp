#include "core/text/Collation.h"

#include <gtest/gtest.h>

#include "core/scan/ResultsOrder.h"

namespace parvane::text {
namespace {

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
    EXPECT_LT(compareUtf8Text("\xC3\x89lan", "Fox"), 0);
}

} // namespace
} // namespace parvane::text
