#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/evaluation/Date.h"

namespace parvane::evaluation {

inline constexpr std::string_view kUnitDaily = "DAILY";
inline constexpr std::string_view kUnitWeek = "WEEK "; // five characters, the last a blank
inline constexpr std::string_view kUnitMonthly = "MONTHLY";

// Unit text of a trend line's unit code (field 0, compared as text): "1" DAILY, "0" WEEK,
// "-1" MONTHLY. Any other code gives std::nullopt: the unit of the line before stays in force.
std::optional<std::string_view> unitTextForCode(std::string_view code) noexcept;

// Working days from `start` to `end`, both included (Monday to Friday; holidays count), plus 1
// when `start` itself is a working day. A start after the end gives 1 or 0.
int JoursOuvrables(const Date& start, const Date& end) noexcept;

// Week count W of a history: J / 5 when J is a multiple of 5, else the whole part of J / 5 plus 1,
// J being JoursOuvrables(first date, last date).
int weekCount(const Date& firstDate, const Date& lastDate) noexcept;

// The previous week as ecartsemaineprec finds it in the ten look-back lines.
struct PreviousWeek
{
    std::string close; // field 4 of the slot, first "," made "."
    double gap = 0;    // slope * (W - 1) + intercept - close
};

// ecartsemaineprec: looks in the look-back lines (oldest first; all ten are needed) from the
// newest down for the first whose date lies in another week number than `lastDate`, and places
// the line at W - 1 against that line's close. Returns std::nullopt when there are fewer than ten
// look-back lines, when a slot's date is not a date, or when no slot lies in another week: the
// evaluation reports each as its guarded-step failure.
std::optional<PreviousWeek> ecartsemaineprec(const std::vector<std::string>& lookBack, const Date& lastDate,
                                             double slope, double intercept, int W);

struct WeekVolumes
{
    double lastWeek = 0;
    double previousWeek = 0;
};

// volumessemaines: sums field 5 (whole field, number rule) of the look-back slots, newest first,
// into the last date's week (starting from `lastVolume`) or the previous week, and stops at a
// slot whose week number is that of `lastDate` minus 2, of which only the date is read. Returns
// std::nullopt when fewer than ten look-back lines are given, when a slot reached has no valid
// date, or when a slot whose volume is added has fewer than six fields.
std::optional<WeekVolumes> volumessemaines(const std::vector<std::string>& lookBack, const Date& lastDate,
                                           double lastVolume);

} // namespace parvane::evaluation
