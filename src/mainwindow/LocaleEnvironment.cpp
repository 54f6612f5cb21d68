#include "mainwindow/LocaleEnvironment.h"

#include <utility>

#include <QDate>
#include <QDateTime>
#include <QTime>

#include "qt/TextConversion.h"

namespace parvane::mainwindow {

using qt::toWindows1252;

namespace {

// `format` without its time-zone fields ("t", "tt" ...) and the blanks around them; quoted text
// stays as it is.
QString withoutTimeZone(const QString& format)
{
    QString result;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('t'))
            continue;
        result.append(c);
    }
    return result.simplified();
}

} // namespace

LocaleEnvironment::LocaleEnvironment(QLocale locale)
    : m_locale(std::move(locale))
    , m_timeFormat(withoutTimeZone(m_locale.timeFormat(QLocale::LongFormat)))
{}

scan::DateTime LocaleEnvironment::now() const
{
    const QDateTime current = QDateTime::currentDateTime();
    const QDate date = current.date();
    const QTime time = current.time();
    scan::DateTime moment;
    moment.date = evaluation::Date{date.year(), date.month(), date.day()};
    moment.hour = time.hour();
    moment.minute = time.minute();
    moment.second = time.second();
    return moment;
}

char LocaleEnvironment::decimalSeparator() const
{
    const QString point = m_locale.decimalPoint();
    if (point.size() == 1 && point.at(0).unicode() > 0x20 && point.at(0).unicode() < 0x7F)
        return static_cast<char>(point.at(0).unicode());
    return '.';
}

std::string LocaleEnvironment::dateText(const scan::DateTime& moment) const
{
    const QDate date(moment.date.year, moment.date.month, moment.date.day);
    return toWindows1252(m_locale.toString(date, QLocale::ShortFormat));
}

std::string LocaleEnvironment::timeText(const scan::DateTime& moment) const
{
    const QTime time(moment.hour, moment.minute, moment.second);
    return toWindows1252(m_locale.toString(time, m_timeFormat));
}

} // namespace parvane::mainwindow
