#include "core/evaluation/TrendLine.h"

#include <string>

#include <gtest/gtest.h>

namespace parvane::evaluation {
namespace {

// A trend-line line of `count` fields: the given ones first, then "0".
std::string trendLine(std::vector<std::string> given, std::size_t count)
{
    given.resize(count, "0");
    std::string line;
    for (std::size_t i = 0; i < given.size(); ++i) {
        if (i > 0)
            line += '\t';
        line += given[i];
    }
    return line;
}

TEST(TrendLine, SplitFieldsKeepsEmptyFields)
{
    std::vector<std::string_view> fields{"stale"};
    splitFields("a\t\tb\t", fields);
    EXPECT_EQ(fields, (std::vector<std::string_view>{"a", "", "b", ""}));
    splitFields("", fields);
    EXPECT_EQ(fields, (std::vector<std::string_view>{""}));
}

TEST(TrendLine, ReadsTheFieldsOfALine)
{
    const std::string line = trendLine(
        {"1", "2", "0,0125x", "-12.5y", "90", "x", "95,5", "x", "1", "-1", "", "", "", "", "", "4"}, 16);
    std::vector<std::string_view> fields;
    TrendLine trend;
    ASSERT_TRUE(parseTrendLine(line, fields, trend));
    EXPECT_EQ(trend.unitCode, "1");
    EXPECT_EQ(trend.kind, "2");
    EXPECT_DOUBLE_EQ(trend.slope, 0.0125);
    EXPECT_DOUBLE_EQ(trend.intercept, -12.5);
    EXPECT_DOUBLE_EQ(trend.firstAnchor, 90);
    EXPECT_DOUBLE_EQ(trend.secondAnchor, 95.5);
    EXPECT_DOUBLE_EQ(trend.field8, 1);
    EXPECT_DOUBLE_EQ(trend.field9, -1);
    EXPECT_DOUBLE_EQ(trend.extension, 4);
}

TEST(TrendLine, DropsOnlyTheLastCharacterOfSlopeAndIntercept)
{
    std::vector<std::string_view> fields;
    TrendLine trend;
    // Without the extra character the last digit goes.
    ASSERT_TRUE(parseTrendLine(trendLine({"0", "2", "1,25", "7"}, 10), fields, trend));
    EXPECT_DOUBLE_EQ(trend.slope, 1.2);
    EXPECT_DOUBLE_EQ(trend.intercept, 0);
    ASSERT_TRUE(parseTrendLine(trendLine({"0", "2", "1,2,5x", "abc"}, 10), fields, trend));
    EXPECT_DOUBLE_EQ(trend.slope, 1.2);
    EXPECT_DOUBLE_EQ(trend.intercept, 0);
}

TEST(TrendLine, ExtensionIsZeroWithoutSixteenFields)
{
    std::vector<std::string_view> fields;
    TrendLine trend;
    std::vector<std::string> given(15, "0x");
    given.emplace_back("4");
    ASSERT_TRUE(parseTrendLine(trendLine(given, 15), fields, trend));
    EXPECT_DOUBLE_EQ(trend.extension, 0);
    ASSERT_TRUE(parseTrendLine(trendLine(given, 16), fields, trend));
    EXPECT_DOUBLE_EQ(trend.extension, 4);
    ASSERT_TRUE(parseTrendLine(trendLine(given, 20), fields, trend));
    EXPECT_DOUBLE_EQ(trend.extension, 4);
}

TEST(TrendLine, RefusesShortLinesAndEmptyCoefficients)
{
    std::vector<std::string_view> fields;
    TrendLine trend;
    EXPECT_FALSE(parseTrendLine(trendLine({"1", "2", "1x", "2x"}, 9), fields, trend));
    EXPECT_TRUE(parseTrendLine(trendLine({"1", "2", "1x", "2x"}, 10), fields, trend));
    EXPECT_FALSE(parseTrendLine(trendLine({"1", "2", "", "2x"}, 10), fields, trend));
    EXPECT_FALSE(parseTrendLine(trendLine({"1", "2", "1x", ""}, 10), fields, trend));
    EXPECT_FALSE(parseTrendLine("", fields, trend));
    EXPECT_FALSE(parseTrendLine(std::string(100, '\0'), fields, trend));
}

} // namespace
} // namespace parvane::evaluation
