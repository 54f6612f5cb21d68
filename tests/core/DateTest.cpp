#include "core/evaluation/Date.h"

#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "support/TestFiles.h"

namespace parvane::evaluation {
namespace {

std::string text(const std::optional<Date>& date)
{
    if (!date)
        return "none";
    char day[16];
    std::snprintf(day, sizeof day, "%04d%02d%02d", date->year, date->month, date->day);
    return day;
}

TEST(Date, DayNumbersRoundTripOverCenturies)
{
    EXPECT_EQ(daysFromCivil(Date{1970, 1, 1}), 0);
    EXPECT_EQ(daysFromCivil(Date{2000, 3, 1}), 11017);
    EXPECT_EQ(daysFromCivil(Date{1969, 12, 31}), -1);
    for (std::int64_t days = daysFromCivil(Date{100, 1, 1}); days <= daysFromCivil(Date{9999, 12, 31});
         days += 97)
        ASSERT_EQ(daysFromCivil(civilFromDays(days)), days);
    EXPECT_EQ(civilFromDays(daysFromCivil(Date{2000, 2, 29}) + 1), (Date{2000, 3, 1}));
    EXPECT_EQ(civilFromDays(daysFromCivil(Date{1900, 2, 28}) + 1), (Date{1900, 3, 1}));
}

// Weekdays, week numbers and the date readers, one row per case, from tests/data/dates/dates.tsv.
TEST(Date, FollowsTheCaseTable)
{
    const auto rows = test::dataRows("dates/dates.tsv");
    ASSERT_GT(rows.size(), 60u);
    for (const auto& row : rows) {
        ASSERT_EQ(row.size(), 3u);
        const std::string& fn = row[0];
        const std::string& in = row[1];
        SCOPED_TRACE(fn + " of \"" + in + "\"");
        if (fn == "weekday" || fn == "week") {
            const Date date = *quotationDate(in);
            EXPECT_EQ(std::to_string(fn == "week" ? weekOfYear(date) : dayOfWeek(date)), row[2]);
        } else if (fn == "iso") {
            EXPECT_EQ(isoledate(in), row[2]);
        } else if (fn == "parse") {
            EXPECT_EQ(text(parseIsoledate(in)), row[2]);
        } else {
            ASSERT_EQ(fn, "quote");
            EXPECT_EQ(text(quotationDate(in)), row[2]);
        }
    }
}

} // namespace
} // namespace parvane::evaluation
