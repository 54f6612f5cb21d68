#include "core/evaluation/NumberRules.h"

#include <cmath>
#include <limits>
#include <string>

#include <gtest/gtest.h>

namespace parvane::evaluation {
namespace {

TEST(NumberRules, ReadsTheLeadingDecimalNumber)
{
    EXPECT_DOUBLE_EQ(readNumber("12.34"), 12.34);
    EXPECT_DOUBLE_EQ(readNumber("-7.5abc"), -7.5);
    EXPECT_DOUBLE_EQ(readNumber("+3"), 3);
    EXPECT_DOUBLE_EQ(readNumber(".5"), 0.5);
    EXPECT_DOUBLE_EQ(readNumber("5."), 5);
    EXPECT_DOUBLE_EQ(readNumber("1.2.3"), 1.2);
    EXPECT_DOUBLE_EQ(readNumber("12,34"), 12);
    EXPECT_DOUBLE_EQ(readNumber("007"), 7);
}

TEST(NumberRules, SkipsBlanksTabsAndLineFeedsAnywhere)
{
    EXPECT_DOUBLE_EQ(readNumber("  1 2\t3\n4"), 1234);
    EXPECT_DOUBLE_EQ(readNumber("- 12"), -12);
    EXPECT_DOUBLE_EQ(readNumber("1 . 5"), 1.5);
    EXPECT_DOUBLE_EQ(readNumber("1 e 2"), 100);
    // A carriage return is not skipped: it ends the number.
    EXPECT_DOUBLE_EQ(readNumber("12\r34"), 12);
}

TEST(NumberRules, TakesAnExponentOnlyWithDigits)
{
    EXPECT_DOUBLE_EQ(readNumber("1.5E3"), 1500);
    EXPECT_DOUBLE_EQ(readNumber("2e-2"), 0.02);
    EXPECT_DOUBLE_EQ(readNumber("3D2"), 300);
    EXPECT_DOUBLE_EQ(readNumber("3d+1"), 30);
    EXPECT_DOUBLE_EQ(readNumber("12E"), 12);
    EXPECT_DOUBLE_EQ(readNumber("12E+"), 12);
    EXPECT_DOUBLE_EQ(readNumber("12Ex"), 12);
    EXPECT_DOUBLE_EQ(readNumber("12e5.5"), 1200000);
}

TEST(NumberRules, GivesZeroForTextWithoutANumberOrTooLarge)
{
    EXPECT_EQ(readNumber(""), 0);
    EXPECT_EQ(readNumber("abc"), 0);
    EXPECT_EQ(readNumber("-"), 0);
    EXPECT_EQ(readNumber("."), 0);
    EXPECT_EQ(readNumber("-.e5"), 0);
    EXPECT_EQ(readNumber("E5"), 0);
    EXPECT_EQ(readNumber("1e999"), 0);
    EXPECT_EQ(readNumber("-1e400"), 0);
    EXPECT_EQ(readNumber("nan"), 0);
    EXPECT_EQ(readNumber("inf"), 0);
    EXPECT_EQ(readNumber(std::string(400, '9')), 0);
    EXPECT_EQ(readNumber(std::string("\0\xff\x80", 3)), 0);
}

TEST(NumberRules, ReadsLongNumbersBeyondTheSmallBuffer)
{
    const std::string longZeros = std::string(300, '0') + "42.5";
    EXPECT_DOUBLE_EQ(readNumber(longZeros), 42.5);
    const std::string longFraction = "1." + std::string(500, '0') + "1";
    EXPECT_DOUBLE_EQ(readNumber(longFraction), 1.0);
}

TEST(NumberRules, EnlevevirguleReplacesOnlyTheFirstComma)
{
    EXPECT_EQ(enlevevirgule("12,34"), "12.34");
    EXPECT_EQ(enlevevirgule("1,234,5"), "1.234,5");
    EXPECT_EQ(enlevevirgule("12.34"), "12.34");
    EXPECT_EQ(enlevevirgule(""), "");
}

TEST(NumberRules, BaseNumbersAcceptADecimalComma)
{
    EXPECT_DOUBLE_EQ(readBaseNumber("12,34"), readBaseNumber("12.34"));
    EXPECT_DOUBLE_EQ(readBaseNumber("12,34"), 12.34);
    EXPECT_DOUBLE_EQ(readBaseNumber("1,234,5"), 1.234);
    // The first comma of the text is the one replaced, even after a point.
    EXPECT_DOUBLE_EQ(readBaseNumber("1.5,2"), 1.5);
    EXPECT_DOUBLE_EQ(readBaseNumber(",5"), 0.5);
    EXPECT_DOUBLE_EQ(readBaseNumber("-0,0125"), -0.0125);
}

TEST(NumberRules, ToInt16RoundsHalfToEven)
{
    EXPECT_EQ(toInt16(2.5), 2);
    EXPECT_EQ(toInt16(3.5), 4);
    EXPECT_EQ(toInt16(-2.5), -2);
    EXPECT_EQ(toInt16(-3.5), -4);
    EXPECT_EQ(toInt16(2.4999), 2);
    EXPECT_EQ(toInt16(2.5001), 3);
    EXPECT_EQ(toInt16(-0.4), 0);
    EXPECT_EQ(toInt16(0), 0);
}

TEST(NumberRules, ToInt16RefusesWhatDoesNotFit)
{
    EXPECT_EQ(toInt16(32767), 32767);
    EXPECT_EQ(toInt16(32767.4), 32767);
    EXPECT_EQ(toInt16(32767.5), std::nullopt);
    EXPECT_EQ(toInt16(-32768), -32768);
    EXPECT_EQ(toInt16(-32768.5), -32768);
    EXPECT_EQ(toInt16(-32768.6), std::nullopt);
    EXPECT_EQ(toInt16(1e10), std::nullopt);
    EXPECT_EQ(toInt16(std::numeric_limits<double>::quiet_NaN()), std::nullopt);
    EXPECT_EQ(toInt16(std::numeric_limits<double>::infinity()), std::nullopt);
}

TEST(NumberRules, FormatFixed2RoundsHalfAwayFromZeroOnFifteenDigits)
{
    EXPECT_EQ(formatFixed2(2.0408163, '.'), "2.04");
    EXPECT_EQ(formatFixed2(2.0408163, ','), "2,04");
    EXPECT_EQ(formatFixed2(-1.0101, ','), "-1,01");
    EXPECT_EQ(formatFixed2(1234.5, '.'), "1234.50");
    EXPECT_EQ(formatFixed2(0.125, '.'), "0.13");
    EXPECT_EQ(formatFixed2(1.005, '.'), "1.01");
    EXPECT_EQ(formatFixed2(-0.125, '.'), "-0.13");
    EXPECT_EQ(formatFixed2(0.005, '.'), "0.01");
    EXPECT_EQ(formatFixed2(0.0049, '.'), "0.00");
    EXPECT_EQ(formatFixed2(9.995, '.'), "10.00");
    EXPECT_EQ(formatFixed2(99.999, '.'), "100.00");
    EXPECT_EQ(formatFixed2(0, '.'), "0.00");
    EXPECT_EQ(formatFixed2(1e-300, '.'), "0.00");
    EXPECT_EQ(formatFixed2(123456789012.345, '.'), "123456789012.35");
    EXPECT_EQ(formatFixed2(1e20, '.'), "100000000000000000000.00");
}

TEST(NumberRules, FormatFixed2SignsEveryValueBelowZero)
{
    EXPECT_EQ(formatFixed2(-0.001, '.'), "-0.00");
    EXPECT_EQ(formatFixed2(-0.0, '.'), "0.00");
    EXPECT_EQ(formatFixed2(-200, ','), "-200,00");
}

TEST(NumberRules, FormatFixed2ShowsNonFiniteValuesAsZero)
{
    EXPECT_EQ(formatFixed2(std::numeric_limits<double>::quiet_NaN(), ','), "0,00");
    EXPECT_EQ(formatFixed2(std::numeric_limits<double>::infinity(), '.'), "0.00");
    EXPECT_EQ(formatFixed2(-std::numeric_limits<double>::infinity(), '.'), "0.00");
}

TEST(NumberRules, OutputxPadsOrCutsToOneLessThanTheWidth)
{
    EXPECT_EQ(outputx("ALPHA", 16), "ALPHA           ");
    EXPECT_EQ(outputx("ABCDEFGHIJKLMNOPQRST", 16), "ABCDEFGHIJKLMNO");
    EXPECT_EQ(outputx("ABCDEFGHIJKLMNOP", 16), "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(outputx("123.45", 5), "123.");
    EXPECT_EQ(outputx("", 3), "   ");
    EXPECT_EQ(outputx("abc", 0), "");
}

TEST(NumberRules, PaddedCodeNeverCutsACode)
{
    EXPECT_EQ(paddedCode("12345"), "12345 ");
    EXPECT_EQ(paddedCode("123456"), "123456");
    EXPECT_EQ(paddedCode("FR0000120271"), "FR0000120271");
    EXPECT_EQ(paddedCode(""), "      ");
}

} // namespace
} // namespace parvane::evaluation
