#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace parvane::evaluation {

// A calendar date of the proleptic Gregorian calendar.
struct Date
{
    int year = 0;
    int month = 0;
    int day = 0;

    friend auto operator<=>(const Date&, const Date&) = default;
};

// Days since 1970-01-01 (negative before it).
std::int64_t daysFromCivil(const Date& date) noexcept;
Date civilFromDays(std::int64_t days) noexcept;

// Day of the week: 1 Sunday, 2 Monday, ... 7 Saturday.
int dayOfWeek(const Date& date) noexcept;

// Week of the year where weeks begin on Sunday and week 1 holds 1 January: 1 to 54.
int weekOfYear(const Date& date) noexcept;

// The first 8 characters of a quotation line made "yyyy/mm/dd" (fewer when the line is shorter).
std::string isoledate(std::string_view lignedecours);

// Converts an isoledate text ("yyyy/mm/dd", eight digits) to a date. Returns std::nullopt when the
// text is not a valid date of the years 100 to 9999.
std::optional<Date> parseIsoledate(std::string_view text) noexcept;

// The date of a quotation line: parseIsoledate(isoledate(line)).
std::optional<Date> quotationDate(std::string_view line) noexcept;

} // namespace parvane::evaluation
