#include "core/text/Collation.h"

#include <gtest/gtest.h>

#include "core/scan/ResultsOrder.h"

namespace parvane::text {
namespace {

using scan::ResultColumn;
using scan::SortDirection;

// The one order of the results list: texts without regard to case or accents, numbers by value
// whatever their decimal separator, non-numbers after the numbers, stable both ways.
TEST(ResultsOrder, SortsTextsAndNumbersBothWaysAndIsStable)
{
    const std::vector<std::string_view> names = {"abc", "FOX", "ABC", "\xC9LAN", "Abc", "delta"};
    const std::vector<std::string_view> gaps = {"10,5", "-0.64", " 3", "", "n/a", "2,47", "2.47"};

    const struct
    {
        const std::vector<std::string_view>& texts;
        ResultColumn column;
        SortDirection direction;
        std::vector<std::size_t> order;
    } cases[] = {
        {names, ResultColumn::Action, SortDirection::Ascending, {0, 2, 4, 5, 3, 1}},
        {names, ResultColumn::Action, SortDirection::Descending, {1, 3, 5, 0, 2, 4}},
        {gaps, ResultColumn::Ecart, SortDirection::Ascending, {1, 5, 6, 2, 0, 3, 4}},
        {gaps, ResultColumn::Ecart, SortDirection::Descending, {0, 2, 5, 6, 1, 4, 3}},
        {gaps, ResultColumn::Sicovam, SortDirection::Ascending, {3, 2, 1, 0, 5, 6, 4}},
    };

    for (const auto& c : cases)
        EXPECT_EQ(scan::resultRowOrder(c.texts, c.column, c.direction), c.order);

    std::vector<scan::ResultTexts> rows(3);
    rows[0][1] = "b";
    rows[1][1] = "A";
    rows[2][1] = "a";
    scan::sortResultRows(rows, ResultColumn::Sicovam);
    EXPECT_EQ(rows[0][1] + rows[1][1] + rows[2][1], "Aab");
    EXPECT_LT(compareUtf8Text("\xC3\x89lan", "Fox"), 0);
}

} // namespace
} // namespace parvane::text
