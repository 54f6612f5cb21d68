#pragma once

#include <string>

#include <QLocale>

#include "core/scan/RunEnvironment.h"

namespace parvane::mainwindow {

// The environment of a run started from the window: the local clock and the regional forms of
// the system's locale, as the desktop shows them (decimal separator, short date, long time).
class LocaleEnvironment final : public scan::RunEnvironment
{
public:
    explicit LocaleEnvironment(QLocale locale = QLocale::system());

    scan::DateTime now() const override;
    // The locale's decimal point when it is a single ASCII character, else ".".
    char decimalSeparator() const override;
    // The locale's short date, in Windows-1252 like every line of the error log.
    std::string dateText(const scan::DateTime& moment) const override;
    // The locale's long time without the time zone, which the long form of a few locales carries.
    std::string timeText(const scan::DateTime& moment) const override;

private:
    QLocale m_locale;
    QString m_timeFormat;
};

} // namespace parvane::mainwindow
