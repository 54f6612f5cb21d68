#include "core/evaluation/NumberRules.h"

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "support/TestFiles.h"

namespace parvane::evaluation {
namespace {

// Every number rule, one row per case, from tests/data/numbers/rules.tsv.
TEST(NumberRules, FollowTheCaseTable)
{
    const auto rows = test::dataRows("numbers/rules.tsv");
    ASSERT_GT(rows.size(), 90u);
    for (const auto& row : rows) {
        ASSERT_EQ(row.size(), 3u);
        const std::string& fn = row[0];
        const std::string& in = row[1];
        const std::string& expected = row[2];
        const double value = std::strtod(in.c_str(), nullptr);
        SCOPED_TRACE(fn + " of \"" + in + "\"");
        if (fn == "read") {
            EXPECT_DOUBLE_EQ(readNumber(in), std::strtod(expected.c_str(), nullptr));
        } else if (fn == "base") {
            EXPECT_DOUBLE_EQ(readBaseNumber(in), std::strtod(expected.c_str(), nullptr));
        } else if (fn == "comma") {
            EXPECT_EQ(enlevevirgule(in), expected);
        } else if (fn == "int16") {
            const auto got = toInt16(value);
            EXPECT_EQ(got ? std::to_string(*got) : "none", expected);
        } else if (fn.rfind("fixed", 0) == 0) {
            EXPECT_EQ(formatFixed2(value, fn.back()), expected);
        } else if (fn.rfind("outputx", 0) == 0) {
            EXPECT_EQ(outputx(in, std::stoul(fn.substr(7))), expected);
        } else {
            ASSERT_EQ(fn, "code");
            EXPECT_EQ(paddedCode(in), expected);
        }
    }
}

} // namespace
} // namespace parvane::evaluation
