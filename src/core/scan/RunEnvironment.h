#pragma once

#include <string>

#include "core/evaluation/Date.h"

namespace parvane::scan {

// A moment of the local clock.
struct DateTime
{
    evaluation::Date date;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// What a run takes from the system besides files: the clock and the regional forms. Tests fix
// them; the window takes them from the system's locale.
class RunEnvironment
{
public:
    virtual ~RunEnvironment() = default;

    virtual DateTime now() const = 0;
    // The decimal separator of numbers shown and written ("," under French settings).
    virtual char decimalSeparator() const = 0;
    // The system's short date and long time, as written at the start of an error-log line.
    virtual std::string dateText(const DateTime& moment) const = 0;
    virtual std::string timeText(const DateTime& moment) const = 0;
};

// The environment of the process: local time, and the forms of the locale that the environment
// variables (LC_ALL, LC_NUMERIC, LC_TIME, LANG) name. The global C locale is left untouched.
class SystemEnvironment final : public RunEnvironment
{
public:
    SystemEnvironment();

    DateTime now() const override;

    char decimalSeparator() const override { return m_decimalSeparator; }

    std::string dateText(const DateTime& moment) const override;
    std::string timeText(const DateTime& moment) const override;

private:
    char m_decimalSeparator = '.';
    std::string m_dateFormat; // strftime form, e.g. "%d/%m/%Y"
    std::string m_timeFormat; // e.g. "%H:%M:%S"
};

// A fixed environment for tests and scripted runs.
class FixedEnvironment final : public RunEnvironment
{
public:
    FixedEnvironment(DateTime moment, char decimalSeparator)
        : m_moment(moment)
        , m_decimalSeparator(decimalSeparator)
    {}

    DateTime now() const override { return m_moment; }

    char decimalSeparator() const override { return m_decimalSeparator; }

    // "dd/mm/yyyy" and "hh:mm:ss".
    std::string dateText(const DateTime& moment) const override;
    std::string timeText(const DateTime& moment) const override;

private:
    DateTime m_moment;
    char m_decimalSeparator;
};

} // namespace parvane::scan
