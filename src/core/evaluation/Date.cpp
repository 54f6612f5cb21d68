#include "core/evaluation/Date.h"

namespace parvane::evaluation {

namespace {

bool isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month)
{
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2 && isLeapYear(year))
        return 29;
    return kDays[month - 1];
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int digitsValue(std::string_view text)
{
    int value = 0;
    for (const char c : text)
        value = value * 10 + (c - '0');
    return value;
}

// The date of the digit texts of a year (four digits), a month and a day, already checked to be
// digits; std::nullopt before the year 100 or for a day that the calendar does not have.
std::optional<Date> dateFromDigits(std::string_view year, std::string_view month, std::string_view day)
{
    const Date date{digitsValue(year), digitsValue(month), digitsValue(day)};
    if (date.year < 100 || date.month < 1 || date.month > 12 || date.day < 1
        || date.day > daysInMonth(date.year, date.month))
        return std::nullopt;
    return date;
}

std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    return (a >= 0 ? a : a - (b - 1)) / b;
}

} // namespace

std::int64_t daysFromCivil(const Date& date) noexcept
{
    // Howard Hinnant's days_from_civil: eras of 400 years starting on 1 March.
    const std::int64_t year = date.month <= 2 ? std::int64_t{date.year} - 1 : date.year;
    const std::int64_t era = floorDiv(year, 400);
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t month = date.month;
    const std::int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + date.day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

Date civilFromDays(std::int64_t days) noexcept
{
    days += 719468;
    const std::int64_t era = floorDiv(days, 146097);
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    const std::int64_t day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    const std::int64_t month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    const std::int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    return Date{static_cast<int>(year), static_cast<int>(month), static_cast<int>(day)};
}

int dayOfWeek(const Date& date) noexcept
{
    // 1 January 1970 was a Thursday (5 when Sunday is 1).
    const std::int64_t days = daysFromCivil(date);
    const std::int64_t sundayBased = ((days + 4) % 7 + 7) % 7;
    return static_cast<int>(sundayBased) + 1;
}

int weekOfYear(const Date& date) noexcept
{
    const Date firstOfYear{date.year, 1, 1};
    const std::int64_t dayOfYear = daysFromCivil(date) - daysFromCivil(firstOfYear);
    const int firstWeekday = dayOfWeek(firstOfYear) - 1;
    return static_cast<int>((dayOfYear + firstWeekday) / 7) + 1;
}

std::string isoledate(std::string_view lignedecours)
{
    const auto part = [&](std::size_t position, std::size_t count) {
        return position < lignedecours.size() ? lignedecours.substr(position, count) : std::string_view{};
    };
    std::string text;
    text.reserve(10);
    text.append(part(0, 4));
    text.push_back('/');
    text.append(part(4, 2));
    text.push_back('/');
    text.append(part(6, 2));
    return text;
}

std::optional<Date> parseIsoledate(std::string_view text) noexcept
{
    if (text.size() != 10 || text[4] != '/' || text[7] != '/')
        return std::nullopt;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i != 4 && i != 7 && !isDigit(text[i]))
            return std::nullopt;
    }
    return dateFromDigits(text.substr(0, 4), text.substr(5, 2), text.substr(8, 2));
}

std::optional<Date> quotationDate(std::string_view line) noexcept
{
    // The same as parseIsoledate(isoledate(line)), without building the text: a "/" among the
    // first eight characters never makes a date there either.
    if (line.size() < 8)
        return std::nullopt;
    for (std::size_t i = 0; i < 8; ++i) {
        if (!isDigit(line[i]))
            return std::nullopt;
    }
    return dateFromDigits(line.substr(0, 4), line.substr(4, 2), line.substr(6, 2));
}

} // namespace parvane::evaluation
