#include "core/evaluation/TrendLine.h"

#include <string>

#include <gtest/gtest.h>

namespace parvane::evaluation {
namespace {

// The field table of a trend-line line: each number field read with a decimal point and with a
// decimal comma. Only the slope and the intercept (whose last character is dropped) take the
// comma; elsewhere a comma ends the number.
struct FieldCase
{
    std::size_t field;
    const char* text;
    double expected;
};

constexpr FieldCase kFieldCases[] = {
    {2, "0,0125x", 0.0125}, {2, "0.0125x", 0.0125}, {2, "1,25", 1.2},  {2, "1,2,5x", 1.2},
    {3, "-12,5y", -12.5},   {3, "-12.5y", -12.5},   {3, "abc", 0},     {4, "1,5", 1},
    {4, "1.5", 1.5},        {6, "95,5", 95},        {6, "95.5", 95.5}, {8, "1,5", 1},
    {8, " 1.5", 1.5},       {9, "-1,7", -1},        {9, "-1.7", -1.7}, {15, "1,5", 1},
    {15, "2.5", 2.5},       {15, "4", 4},
};

double fieldValue(const TrendLine& line, std::size_t field)
{
    switch (field) {
    case 2:
        return line.slope;
    case 3:
        return line.intercept;
    case 4:
        return line.firstAnchor;
    case 6:
        return line.secondAnchor;
    case 8:
        return line.field8;
    case 9:
        return line.field9;
    default:
        return line.extension;
    }
}

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

TEST(TrendLine, ReadsEachFieldByItsOwnNumberRule)
{
    std::vector<std::string_view> fields;
    for (const FieldCase& c : kFieldCases) {
        TrendLine line;
        ASSERT_TRUE(parseTrendLine(lineWith(16, c.field, c.text), fields, line)) << c.text;
        EXPECT_DOUBLE_EQ(fieldValue(line, c.field), c.expected) << "field " << c.field << ": " << c.text;
    }
}

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
