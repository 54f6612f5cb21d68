#include "core/evaluation/TimeUnits.h"

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

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

// A quotation line of `date` with the given close and volume texts.
std::string quotation(const Date& date, std::string_view close, std::string_view volume)
{
    char day[9];
    std::snprintf(day, sizeof day, "%04d%02d%02d", date.year, date.month, date.day);
    return std::string(day) + "\t1\t2\t3\t" + std::string(close) + "\t" + std::string(volume);
}

// The ten trading days from Wednesday 28 November to Tuesday 11 December 2001, volumes in
// powers of two so that every sum tells which slots it took.
std::vector<std::string> december2001()
{
    const Date days[] = {{2001, 11, 28}, {2001, 11, 29}, {2001, 11, 30}, {2001, 12, 3},  {2001, 12, 4},
                         {2001, 12, 5},  {2001, 12, 6},  {2001, 12, 7},  {2001, 12, 10}, {2001, 12, 11}};
    std::vector<std::string> lines;
    int volume = 1;
    for (const Date& day : days) {
        lines.push_back(quotation(day, std::to_string(day.day) + ",25", std::to_string(volume)));
        volume *= 2;
    }
    return lines;
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

TEST(TimeUnits, EcartsemaineprecFindsTheLastQuotationOfThePreviousWeek)
{
    const std::vector<std::string> lookBack = december2001();
    const auto week = ecartsemaineprec(lookBack, Date{2001, 12, 12}, 0.5, 10, 4);
    ASSERT_TRUE(week);
    EXPECT_EQ(week->close, "7.25");
    EXPECT_DOUBLE_EQ(week->gap, 0.5 * 3 + 10 - 7.25);
}

TEST(TimeUnits, EcartsemaineprecNeedsTenReadableSlotsInAnotherWeek)
{
    std::vector<std::string> lookBack = december2001();
    const std::vector<std::string> nine(lookBack.begin() + 1, lookBack.end());
    EXPECT_FALSE(ecartsemaineprec(nine, Date{2001, 12, 12}, 0, 10, 4));

    // A slot that is not reached may hold anything.
    lookBack[0] = "garbage";
    EXPECT_TRUE(ecartsemaineprec(lookBack, Date{2001, 12, 12}, 0, 10, 4));
    // A slot reached without a date ends the step.
    lookBack[8] = "2001/12/10\t1\t2\t3\t4\t5";
    EXPECT_FALSE(ecartsemaineprec(lookBack, Date{2001, 12, 12}, 0, 10, 4));

    // Every slot in the last date's week: there is no previous week to place the line against.
    std::vector<std::string> sameWeek(10, quotation(Date{2001, 12, 11}, "5", "1"));
    EXPECT_FALSE(ecartsemaineprec(sameWeek, Date{2001, 12, 12}, 0, 10, 4));
}

TEST(TimeUnits, VolumessemainesSumsTheLastTwoWeeks)
{
    const auto volumes = volumessemaines(december2001(), Date{2001, 12, 12}, 10000);
    ASSERT_TRUE(volumes);
    // 10 and 11 December (slots 10 and 9) with the last volume; 3 to 7 December (slots 4 to 8);
    // Friday 30 November (slot 3) stops the sum.
    EXPECT_EQ(volumes->lastWeek, 10000 + 512 + 256);
    EXPECT_EQ(volumes->previousWeek, 8 + 16 + 32 + 64 + 128);
    std::vector<std::string> lookBack = december2001();
    lookBack[9] = quotation(Date{2001, 12, 11}, "5", "123456789012");
    EXPECT_EQ(volumessemaines(lookBack, Date{2001, 12, 12}, 0)->lastWeek, 123456789012.0 + 256);
}

TEST(TimeUnits, EcartsemaineprecInEarlyJanuary)
{
    // Wednesday 9 January 2002: 7 and 8 January share its week; Friday 4 January closes the
    // previous one.
    const Date days[] = {{2001, 12, 26}, {2001, 12, 27}, {2001, 12, 28}, {2001, 12, 31}, {2002, 1, 1},
                         {2002, 1, 2},   {2002, 1, 3},   {2002, 1, 4},   {2002, 1, 7},   {2002, 1, 8}};
    std::vector<std::string> lookBack;
    for (const Date& day : days)
        lookBack.push_back(quotation(day, std::to_string(day.day) + ",5", "1"));
    auto week = ecartsemaineprec(lookBack, Date{2002, 1, 9}, 1, 0, 10);
    ASSERT_TRUE(week);
    EXPECT_EQ(week->close, "4.5");
    EXPECT_DOUBLE_EQ(week->gap, 9 - 4.5);
    // Volumessemaines never stops in early January: the eight other slots are the week before.
    const auto january = volumessemaines(lookBack, Date{2002, 1, 9}, 5000);
    ASSERT_TRUE(january);
    EXPECT_EQ(january->lastWeek, 5000 + 1 + 1);
    EXPECT_EQ(january->previousWeek, 8);

    // Week numbers carry no year: Monday 31 December 2001 (week 53) counts as another week than
    // Thursday 3 January 2002 (week 1), though the calendar puts them in one week.
    std::vector<std::string> yearEnd;
    const Date before[] = {{2001, 12, 17}, {2001, 12, 18}, {2001, 12, 19}, {2001, 12, 20}, {2001, 12, 21},
                           {2001, 12, 24}, {2001, 12, 26}, {2001, 12, 31}, {2002, 1, 1},   {2002, 1, 2}};
    for (const Date& day : before)
        yearEnd.push_back(quotation(day, std::to_string(day.day), std::to_string(day.day)));
    week = ecartsemaineprec(yearEnd, Date{2002, 1, 3}, 0, 0, 10);
    ASSERT_TRUE(week);
    EXPECT_EQ(week->close, "31");
    const auto volumes = volumessemaines(yearEnd, Date{2002, 1, 3}, 3);
    ASSERT_TRUE(volumes);
    EXPECT_EQ(volumes->lastWeek, 3 + 1 + 2);
    EXPECT_EQ(volumes->previousWeek, 31 + 26 + 24 + 21 + 20 + 19 + 18 + 17);
}

TEST(TimeUnits, VolumessemainesNeedsSixFieldsAndADateInTheSlotsReached)
{
    std::vector<std::string> lookBack = december2001();
    EXPECT_FALSE(volumessemaines({lookBack.begin() + 1, lookBack.end()}, Date{2001, 12, 12}, 0));

    // Slots beyond the stop are not read, and of the stop slot only its date.
    lookBack[0] = "20011128\t1";
    lookBack[1] = "junk";
    lookBack[2] = "20011130";
    EXPECT_TRUE(volumessemaines(lookBack, Date{2001, 12, 12}, 0));

    std::vector<std::string> fiveFields = december2001();
    fiveFields[5] = "20011205\t1\t2\t3\t4";
    EXPECT_FALSE(volumessemaines(fiveFields, Date{2001, 12, 12}, 0));

    std::vector<std::string> badDate = december2001();
    badDate[9] = "2001121x\t1\t2\t3\t4\t5";
    EXPECT_FALSE(volumessemaines(badDate, Date{2001, 12, 12}, 0));
}

} // namespace
} // namespace parvane::evaluation
