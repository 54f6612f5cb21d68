#include "core/evaluation/TimeUnits.h"

#include <cstdint>

#include "core/evaluation/HistoryReader.h"
#include "core/evaluation/NumberRules.h"
#include "core/text/TextLines.h"

namespace parvane::evaluation {

namespace {

constexpr std::size_t kSlots = 10;

std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    return (a >= 0 ? a : a - (b - 1)) / b;
}

// Monday to Friday among the days before day number `days` (days since 1970-01-01), counted from
// Monday 29 December 1969; negative before it. Differences of two values count working days.
std::int64_t workingDaysBefore(std::int64_t days)
{
    const std::int64_t sinceMonday = days + 3;
    const std::int64_t weeks = floorDiv(sinceMonday, 7);
    const std::int64_t rest = sinceMonday - weeks * 7;
    return weeks * 5 + (rest < 5 ? rest : 5);
}

bool isWorkingDay(std::int64_t days)
{
    const std::int64_t sinceMonday = days + 3;
    return sinceMonday - floorDiv(sinceMonday, 7) * 7 < 5;
}

} // namespace

std::optional<std::string_view> unitTextForCode(std::string_view code) noexcept
{
    if (code == "1")
        return kUnitDaily;
    if (code == "0")
        return kUnitWeek;
    if (code == "-1")
        return kUnitMonthly;
    return std::nullopt;
}

int JoursOuvrables(const Date& start, const Date& end) noexcept
{
    const std::int64_t first = daysFromCivil(start);
    const std::int64_t last = daysFromCivil(end);
    // The start day counts once more when it is a working day.
    std::int64_t count = isWorkingDay(first) ? 1 : 0;
    if (first <= last)
        count += workingDaysBefore(last + 1) - workingDaysBefore(first);
    return static_cast<int>(count);
}

int weekCount(const Date& firstDate, const Date& lastDate) noexcept
{
    const int days = JoursOuvrables(firstDate, lastDate);
    return days % 5 == 0 ? days / 5 : days / 5 + 1;
}

std::optional<PreviousWeek> ecartsemaineprec(const std::vector<std::string>& lookBack, const Date& lastDate,
                                             double slope, double intercept, int W)
{
    if (lookBack.size() < kSlots)
        return std::nullopt;
    const std::size_t slot1 = lookBack.size() - kSlots;
    const int lastWeek = weekOfYear(lastDate);
    for (std::size_t slot = kSlots; slot >= 1; --slot) {
        const std::string& line = lookBack[slot1 + slot - 1];
        const std::optional<Date> date = quotationDate(line);
        if (!date)
            return std::nullopt;
        if (weekOfYear(*date) != lastWeek) {
            PreviousWeek week;
            week.close = closeText(line);
            week.gap = slope * (W - 1) + intercept - readNumber(week.close);
            return week;
        }
    }
    return std::nullopt;
}

std::optional<WeekVolumes> volumessemaines(const std::vector<std::string>& lookBack, const Date& lastDate,
                                           double lastVolume)
{
    if (lookBack.size() < kSlots)
        return std::nullopt;
    const std::size_t slot1 = lookBack.size() - kSlots;
    const int lastWeek = weekOfYear(lastDate);
    WeekVolumes volumes;
    volumes.lastWeek = lastVolume;
    for (std::size_t slot = kSlots; slot >= 1; --slot) {
        const std::string& line = lookBack[slot1 + slot - 1];
        const std::optional<Date> date = quotationDate(line);
        if (!date)
            return std::nullopt;
        // Week numbers are compared without the year: in the first two weeks of January no slot
        // carries the number two below the last date's, so every slot outside the last week
        // adds to the previous one.
        const int week = weekOfYear(*date);
        // The walk ends at the week before the previous one; nothing else of that slot is read.
        if (week == lastWeek - 2)
            break;
        bool hasVolume = false;
        const double volume = readNumber(text::tabField(line, 5, &hasVolume));
        if (!hasVolume)
            return std::nullopt;
        (week == lastWeek ? volumes.lastWeek : volumes.previousWeek) += volume;
    }
    return volumes;
}

} // namespace parvane::evaluation
