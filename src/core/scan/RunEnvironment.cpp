#include "core/scan/RunEnvironment.h"

#include <clocale>
#include <cstdio>
#include <ctime>

#include <langinfo.h>
#include <locale.h>

namespace parvane::scan {

namespace {

std::tm toTm(const DateTime& moment)
{
    std::tm tm{};
    tm.tm_year = moment.date.year - 1900;
    tm.tm_mon = moment.date.month - 1;
    tm.tm_mday = moment.date.day;
    tm.tm_hour = moment.hour;
    tm.tm_min = moment.minute;
    tm.tm_sec = moment.second;
    tm.tm_wday = evaluation::dayOfWeek(moment.date) - 1;
    return tm;
}

std::string formatTm(const std::string& format, const std::tm& tm)
{
    char buffer[128];
    const std::size_t length = std::strftime(buffer, sizeof buffer, format.c_str(), &tm);
    return std::string(buffer, length);
}

std::string twoDigits(int value)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d", value);
    return buffer;
}

} // namespace

SystemEnvironment::SystemEnvironment()
    : m_dateFormat("%d/%m/%Y")
    , m_timeFormat("%H:%M:%S")
{
    // A locale object of its own, so that the process's global locale (and with it every number
    // conversion of the program) stays "C".
    locale_t numeric = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr));
    if (numeric != static_cast<locale_t>(nullptr)) {
        const char* radix = nl_langinfo_l(RADIXCHAR, numeric);
        if (radix != nullptr && radix[0] != '\0' && radix[1] == '\0')
            m_decimalSeparator = radix[0];
        freelocale(numeric);
    }
    locale_t time = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(nullptr));
    if (time != static_cast<locale_t>(nullptr)) {
        const char* dateFormat = nl_langinfo_l(D_FMT, time);
        const char* timeFormat = nl_langinfo_l(T_FMT, time);
        if (dateFormat != nullptr && dateFormat[0] != '\0')
            m_dateFormat = dateFormat;
        if (timeFormat != nullptr && timeFormat[0] != '\0')
            m_timeFormat = timeFormat;
        freelocale(time);
    }
    // The C locale's short date has a two-digit year; an error log must not be ambiguous.
    if (m_dateFormat == "%m/%d/%y")
        m_dateFormat = "%Y-%m-%d";
}

DateTime SystemEnvironment::now() const
{
    const std::time_t seconds = std::time(nullptr);
    std::tm local{};
    localtime_r(&seconds, &local);
    DateTime moment;
    moment.date = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
    moment.hour = local.tm_hour;
    moment.minute = local.tm_min;
    moment.second = local.tm_sec;
    return moment;
}

std::string SystemEnvironment::dateText(const DateTime& moment) const
{
    return formatTm(m_dateFormat, toTm(moment));
}

std::string SystemEnvironment::timeText(const DateTime& moment) const
{
    return formatTm(m_timeFormat, toTm(moment));
}

std::string FixedEnvironment::dateText(const DateTime& moment) const
{
    return twoDigits(moment.date.day) + "/" + twoDigits(moment.date.month) + "/"
           + std::to_string(moment.date.year);
}

std::string FixedEnvironment::timeText(const DateTime& moment) const
{
    return twoDigits(moment.hour) + ":" + twoDigits(moment.minute) + ":" + twoDigits(moment.second);
}

} // namespace parvane::scan
