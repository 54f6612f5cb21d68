#include "core/evaluation/TrendLine.h"

#include <string>

#include <gtest/gtest.h>

namespace parvane::evaluation {
namespace {

// A line of `count` fields, all "0x" but `field`.
std::string lineWith(std::size_t count, std::size_t field = 99, std::string_view text = {})
{
    std::string line;
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0)
            line += '\t';
        line += i == field ? std::string(text) : std::string("0x");
    }
    return line;
}

// Each field's number rule is a row of tests/data/rules/text.tsv (trendField).
TEST(TrendLine, ExtensionNeedsSixteenFieldsAndShortLinesAreRefused)
{
    std::vector<std::string_view> fields;
    TrendLine line;
    ASSERT_TRUE(parseTrendLine(lineWith(15) + "\t4", fields, line));
    EXPECT_DOUBLE_EQ(line.extension, 4);
    ASSERT_TRUE(parseTrendLine(lineWith(14) + "\t4", fields, line));
    EXPECT_DOUBLE_EQ(line.extension, 0);
    EXPECT_FALSE(parseTrendLine(lineWith(9), fields, line));
    EXPECT_FALSE(parseTrendLine(lineWith(10, 2, ""), fields, line));
    EXPECT_FALSE(parseTrendLine(lineWith(10, 3, ""), fields, line));
    EXPECT_FALSE(parseTrendLine("", fields, line));
}

} // namespace
} // namespace parvane::evaluation
