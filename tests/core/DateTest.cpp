#include "core/evaluation/Date.h"

#include <cstdio>

#include <gtest/gtest.h>

namespace parvane::evaluation {
namespace {

TEST(Date, DayNumbersRoundTripOverCenturies)
{
    EXPECT_EQ(daysFromCivil(Date{1970, 1, 1}), 0);
    EXPECT_EQ(daysFromCivil(Date{2000, 3, 1}), 11017);
    EXPECT_EQ(daysFromCivil(Date{1969, 12, 31}), -1);
    for (std::int64_t days = daysFromCivil(Date{100, 1, 1}); days <= daysFromCivil(Date{9999, 12, 31});
         days += 97) {
        const Date date = civilFromDays(days);
        ASSERT_EQ(daysFromCivil(date), days);
    }
    EXPECT_EQ(civilFromDays(daysFromCivil(Date{2000, 2, 29}) + 1), (Date{2000, 3, 1}));
    EXPECT_EQ(civilFromDays(daysFromCivil(Date{1900, 2, 28}) + 1), (Date{1900, 3, 1}));
}

TEST(Date, DayOfWeekCountsFromSunday)
{
    EXPECT_EQ(dayOfWeek(Date{2001, 12, 2}), 1); // Sunday
    EXPECT_EQ(dayOfWeek(Date{2001, 12, 3}), 2); // Monday
    EXPECT_EQ(dayOfWeek(Date{2001, 12, 8}), 7); // Saturday
    EXPECT_EQ(dayOfWeek(Date{1970, 1, 1}), 5);  // Thursday
    EXPECT_EQ(dayOfWeek(Date{1969, 12, 28}), 1);
}

TEST(Date, WeekOfYearStartsOnSundayWithTheWeekOfFirstJanuary)
{
    // 1 January 2001 was a Monday: Sunday 7 January starts week 2.
    EXPECT_EQ(weekOfYear(Date{2001, 1, 1}), 1);
    EXPECT_EQ(weekOfYear(Date{2001, 1, 6}), 1);
    EXPECT_EQ(weekOfYear(Date{2001, 1, 7}), 2);
    EXPECT_EQ(weekOfYear(Date{2001, 12, 12}), 50);
    EXPECT_EQ(weekOfYear(Date{2001, 12, 8}), 49);
    EXPECT_EQ(weekOfYear(Date{2001, 12, 31}), 53);
    // A leap year starting on Saturday reaches week 54.
    EXPECT_EQ(weekOfYear(Date{2000, 1, 1}), 1);
    EXPECT_EQ(weekOfYear(Date{2000, 1, 2}), 2);
    EXPECT_EQ(weekOfYear(Date{2000, 12, 31}), 54);
}

TEST(Date, IsoledateTakesTheFirstEightCharacters)
{
    EXPECT_EQ(isoledate("20011231\t1\t2\t3\t4\t5"), "2001/12/31");
    EXPECT_EQ(isoledate("20011231xyz"), "2001/12/31");
    EXPECT_EQ(isoledate("200112"), "2001/12/");
    EXPECT_EQ(isoledate("20"), "20//");
    EXPECT_EQ(isoledate(""), "//");
}

TEST(Date, ParsesOnlyValidDatesOfTheYears100To9999)
{
    EXPECT_EQ(parseIsoledate("2001/12/31"), (Date{2001, 12, 31}));
    EXPECT_EQ(parseIsoledate("2000/02/29"), (Date{2000, 2, 29}));
    EXPECT_EQ(parseIsoledate("0100/01/01"), (Date{100, 1, 1}));
    EXPECT_EQ(parseIsoledate("9999/12/31"), (Date{9999, 12, 31}));
    EXPECT_EQ(parseIsoledate("1900/02/29"), std::nullopt);
    EXPECT_EQ(parseIsoledate("2001/02/29"), std::nullopt);
    EXPECT_EQ(parseIsoledate("2001/13/01"), std::nullopt);
    EXPECT_EQ(parseIsoledate("2001/00/10"), std::nullopt);
    EXPECT_EQ(parseIsoledate("2001/04/31"), std::nullopt);
    EXPECT_EQ(parseIsoledate("2001/04/00"), std::nullopt);
    EXPECT_EQ(parseIsoledate("0099/12/31"), std::nullopt);
    EXPECT_EQ(parseIsoledate("2001/1a/01"), std::nullopt);
    EXPECT_EQ(parseIsoledate("2001/-1/01"), std::nullopt);
    EXPECT_EQ(parseIsoledate("2001/12/3"), std::nullopt);
    EXPECT_EQ(parseIsoledate("2001-12-31"), std::nullopt);
    EXPECT_EQ(parseIsoledate(""), std::nullopt);
}

TEST(Date, QuotationDateReadsOnlyTheFirstEightCharacters)
{
    EXPECT_EQ(quotationDate("20011231"), (Date{2001, 12, 31}));
    EXPECT_EQ(quotationDate("20011231999\tjunk"), (Date{2001, 12, 31}));
    EXPECT_EQ(quotationDate("2001123"), std::nullopt);
    EXPECT_EQ(quotationDate("2001/12/31"), std::nullopt);
    EXPECT_EQ(quotationDate(" 20011231"), std::nullopt);
    EXPECT_EQ(quotationDate("20010229"), std::nullopt);
    EXPECT_EQ(quotationDate(std::string_view("\0\0\0\0\0\0\0\0", 8)), std::nullopt);
    // The last day of each month of 2001 is a date, the day after it is none.
    constexpr int kLastDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int month = 1; month <= 12; ++month) {
        char text[40];
        const int last = kLastDays[month - 1];
        std::snprintf(text, sizeof text, "2001%02d%02d", month, last);
        EXPECT_EQ(quotationDate(text), (Date{2001, month, last})) << text;
        std::snprintf(text, sizeof text, "2001%02d%02d", month, last + 1);
        EXPECT_EQ(quotationDate(text), std::nullopt) << text;
    }
}

} // namespace
} // namespace parvane::evaluation
