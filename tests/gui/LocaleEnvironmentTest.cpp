#include "mainwindow/LocaleEnvironment.h"

#include <string>

#include <QLocale>
#include <QTest>

using parvane::mainwindow::LocaleEnvironment;

namespace {

parvane::scan::DateTime moment()
{
    parvane::scan::DateTime value;
    value.date = parvane::evaluation::Date{2026, 2, 3};
    value.hour = 9;
    value.minute = 5;
    value.second = 7;
    return value;
}

} // namespace

class LocaleEnvironmentTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:

    void frenchFormsUseACommaAndNoTimeZone()
    {
        const LocaleEnvironment environment(QLocale(QLocale::French, QLocale::France));
        QCOMPARE(environment.decimalSeparator(), ',');
        QCOMPARE(environment.dateText(moment()), std::string("03/02/2026"));
        QCOMPARE(environment.timeText(moment()), std::string("09:05:07"));
    }

    void englishFormsUseAPoint()
    {
        const LocaleEnvironment environment(QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(environment.decimalSeparator(), '.');
        const std::string time = environment.timeText(moment());
        QVERIFY2(time.find("9:05:07") != std::string::npos, time.c_str());
        QVERIFY2(time.find("UTC") == std::string::npos && time.find("CET") == std::string::npos,
                 time.c_str());
    }

    void aSeparatorOutsideAsciiFallsBackToAPoint()
    {
        // Arabic writes its own decimal separator (U+066B), which no base file holds.
        const LocaleEnvironment environment(QLocale(QLocale::Arabic, QLocale::Egypt));
        QCOMPARE(environment.decimalSeparator(), '.');
        // Texts of the log are Windows-1252: what it cannot hold becomes "?", never a broken byte.
        for (const char c : environment.dateText(moment()))
            QVERIFY(c != '\0');
    }
};

QTEST_GUILESS_MAIN(LocaleEnvironmentTest)
#include "LocaleEnvironmentTest.moc"
