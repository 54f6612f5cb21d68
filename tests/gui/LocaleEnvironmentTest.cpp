#include "mainwindow/LocaleEnvironment.h"

#include <QLocale>
#include <QTest>

using parvane::mainwindow::LocaleEnvironment;

class LocaleEnvironmentTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:

    void formsFollowTheLocale_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<char>("separator");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("time");
        QTest::newRow("French") << QLocale(QLocale::French, QLocale::France) << ','
                                << QStringLiteral("03/02/2026") << QStringLiteral("09:05:07");
        QTest::newRow("English, no time zone") << QLocale(QLocale::English, QLocale::UnitedStates) << '.'
                                               << QStringLiteral("2/3/26") << QStringLiteral("9:05:07");
        // Arabic writes its own decimal separator (U+066B), which no base file holds.
        QTest::newRow("Arabic") << QLocale(QLocale::Arabic, QLocale::Egypt) << '.' << QString() << QString();
    }

    void formsFollowTheLocale()
    {
        QFETCH(QLocale, locale);
        QFETCH(char, separator);
        QFETCH(QString, date);
        QFETCH(QString, time);
        const LocaleEnvironment environment(locale);
        const parvane::scan::DateTime moment{parvane::evaluation::Date{2026, 2, 3}, 9, 5, 7};
        QCOMPARE(environment.decimalSeparator(), separator);
        if (!date.isEmpty())
            QCOMPARE(QString::fromStdString(environment.dateText(moment)), date);
        if (!time.isEmpty())
            QVERIFY(QString::fromStdString(environment.timeText(moment)).startsWith(time));
    }
};

QTEST_GUILESS_MAIN(LocaleEnvironmentTest)
#include "LocaleEnvironmentTest.moc"
