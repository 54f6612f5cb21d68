#include "core/evaluation/TimeUnits.h"

#include <cstdio>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/TestFiles.h"

namespace parvane::evaluation {
namespace {

// JoursOuvrables as its definition reads: one day at a time.
int workingDaysByLoop(const Date& start, const Date& end)
{
    const auto isWorkingDay = [](std::int64_t day) {
        const int weekday = dayOfWeek(civilFromDays(day));
        return weekday >= 2 && weekday <= 6;
    };
    int count = isWorkingDay(daysFromCivil(start)) ? 1 : 0;
    for (std::int64_t day = daysFromCivil(start); day <= daysFromCivil(end); ++day) {
        if (isWorkingDay(day))
            ++count;
    }
    return count;
}

TEST(TimeUnits, UnitTextsAndWorkingDayCounts)
{
    for (const auto& [code, text] : {std::pair{"1", "DAILY"}, {"0", "WEEK "}, {"-1", "MONTHLY"}})
        EXPECT_EQ(unitTextForCode(code), text);
    for (const char* code : {"2", " 1", "01", ""})
        EXPECT_EQ(unitTextForCode(code), std::nullopt);

    // start, end, JoursOuvrables (a working start counts twice), weekCount (part weeks rounded up)
    const struct
    {
        Date start, end;
        int days, weeks;
    } cases[] = {
        {{2001, 12, 3}, {2001, 12, 7}, 6, 2},   {{2001, 12, 4}, {2001, 12, 10}, 6, 2},
        {{2001, 12, 1}, {2001, 12, 14}, 10, 2}, {{2001, 12, 3}, {2001, 12, 3}, 2, 1},
        {{2001, 12, 1}, {2001, 12, 2}, 0, 0},   {{2001, 12, 10}, {2001, 12, 3}, 1, 1},
        {{2001, 12, 9}, {2001, 12, 3}, 0, 0},   {{2001, 12, 3}, {2001, 12, 28}, 21, 5},
        {{2001, 12, 1}, {2001, 12, 7}, 5, 1},   {{2001, 12, 1}, {2001, 12, 10}, 6, 2},
    };

    for (const auto& c : cases) {
        EXPECT_EQ(JoursOuvrables(c.start, c.end), c.days) << c.start.day << " to " << c.end.day;
        EXPECT_EQ(weekCount(c.start, c.end), c.weeks) << c.start.day << " to " << c.end.day;
    }
    EXPECT_EQ(JoursOuvrables(Date{100, 1, 1}, Date{9999, 12, 31}),
              workingDaysByLoop(Date{100, 1, 1}, Date{9999, 12, 31}));
}

TEST(TimeUnits, JoursOuvrablesAgreesWithTheDayByDayDefinition)
{
    std::mt19937 random(2001);
    const std::int64_t first = daysFromCivil(Date{1890, 1, 1});
    std::uniform_int_distribution<std::int64_t> day(first, first + 80000);
    std::uniform_int_distribution<std::int64_t> length(-20, 12000);
    for (int round = 0; round < 3000; ++round) {
        const Date from = civilFromDays(day(random));
        const Date to = civilFromDays(daysFromCivil(from) + length(random));
        ASSERT_EQ(JoursOuvrables(from, to), workingDaysByLoop(from, to))
            << from.year << "-" << from.month << "-" << from.day;
    }
}

std::string number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.15g", value);
    return text;
}

// The weekly steps, one row per case, from tests/data/dates/weeks.tsv.
TEST(TimeUnits, WeeklyStepsFollowTheCaseTable)
{
    const auto rows = test::dataRows("dates/weeks.tsv");
    ASSERT_GT(rows.size(), 12u);
    for (const auto& row : rows) {
        std::vector<std::string> lookBack;
        std::istringstream lines(row.at(row.size() - 2));
        for (std::string line; std::getline(lines, line, '|');)
            lookBack.push_back(line);
        const Date last = *quotationDate(row.at(1));
        std::string actual = "none";
        if (row[0] == "ecart") {
            const auto week = ecartsemaineprec(lookBack, last, std::stod(row.at(2)), std::stod(row.at(3)),
                                               std::stoi(row.at(4)));
            if (week)
                actual = week->close + " " + number(week->gap);
        } else if (const auto volumes = volumessemaines(lookBack, last, std::stod(row.at(2)))) {
            actual = number(volumes->lastWeek) + " " + number(volumes->previousWeek);
        }
        EXPECT_EQ(actual, row.back()) << row[0] << " " << row[1] << " " << row.at(row.size() - 2);
    }
}

} // namespace
} // namespace parvane::evaluation
