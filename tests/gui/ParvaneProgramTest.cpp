#include "mainwindow/ParvaneProgram.h"

#include <memory>

#include <QCheckBox>
#include <QCommandLineParser>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>

#include "mainwindow/ChartView.h"
#include "mainwindow/ChartWindow.h"
#include "mainwindow/StartOptions.h"
#include "mainwindow/tendancesForm1.h"
#include "support/RecordingMessageBoxes.h"
#include "support/TestBase.h"
#include "support/TestFiles.h"

using parvane::mainwindow::ChartWindow;
using parvane::mainwindow::ParvaneProgram;
using parvane::test::TrendLineFields;

namespace {

// The program as main() starts it, over a base of two stocks scanned by the window with
// proximity (daily, 3 %) and crossings: by clicks, or by the start options of `arguments`.
struct ScannedProgram
{
    explicit ScannedProgram(QStringList arguments = {})
        : base(temp.path() / "base")
    {
        const auto korvix = temp.path() / "korvix";
        parvane::test::writeFile(korvix / "korvix.exe", "#!/bin/sh\n");
        TrendLineFields rising; // from 9.05 at bar 91 to 9.75 at bar 98: 10.05 at bar 101
        rising.slope = "0.1";
        rising.intercept = "-0.05";
        rising.firstAnchor = "91";
        rising.secondAnchor = "98";
        base.addStock("ALPHA_FR0001.txt", parvane::test::trendLineFile({rising}),
                      parvane::test::dailyHistory(100, "9.9", "9.8"));
        TrendLineFields flat; // 9.85: crossed between 9.9 and 9.8
        flat.intercept = "9.85";
        base.addStock("BETA_FR0002.txt", parvane::test::trendLineFile({flat}),
                      parvane::test::dailyHistory(100, "9.9", "9.8"));
        parvane::test::writeFile(temp.path() / "program" / "zarbel.ini",
                                 "[path]\r\nexe=" + korvix.string() + "/\r\ndroite=\\base\\droite\\\r\n"
                                     + "histo=\\base\\histo\\\r\nbase1=" + base.root().string()
                                     + "\r\nbase2=\r\nbase3=\r\n");
        program = std::make_unique<ParvaneProgram>(temp.path() / "program", boxes);
        QVERIFY(program->startUp());
        auto& window = program->window();
        window.show();
        if (!arguments.isEmpty()) {
            QCommandLineParser parser;
            parvane::mainwindow::addStartOptions(parser);
            QVERIFY(parser.parse(QStringList{QStringLiteral("parvane"), QStringLiteral("--base"),
                                             QString::fromStdString(base.root().string())}
                                 + arguments));
            window.applyStartOptions(*parvane::mainwindow::readStartOptions(parser));
            return;
        }
        for (const char* name : {"Check2", "Check3", "Check6", "Check7", "Command1"}) {
            if (name[1] == 'o')
                window.findChild<QLineEdit*>(QStringLiteral("Text2"))->setText(QStringLiteral("3"));
            QTest::mouseClick(window.findChild<QWidget*>(QString::fromLatin1(name)), Qt::LeftButton);
        }
    }

    QTreeWidget& list() { return *program->window().resultsList(); }

    void clickRow(int row)
    {
        QTreeWidgetItem* item = list().topLevelItem(row);
        QTest::mouseClick(list().viewport(), Qt::LeftButton, {}, list().visualItemRect(item).center());
    }

    ChartWindow& chart() { return program->chartWindow(); }

    parvane::test::TempDir temp;
    parvane::test::TestBase base;
    parvane::test::RecordingMessageBoxes boxes;
    std::unique_ptr<ParvaneProgram> program;
};

} // namespace

class ParvaneProgramTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:

    // The chart follows the selection: a click on a row, the arrow keys, Enter.
    void theChartFollowsTheSelection()
    {
        ScannedProgram scanned;
        QCOMPARE(scanned.list().topLevelItemCount(), 2);
        QVERIFY(!scanned.chart().isVisible());
        scanned.clickRow(0);
        QVERIFY(scanned.chart().isVisible());
        const auto& model = scanned.chart().chart().model();
        QVERIFY(model.has_value());
        // 100 quotations: the last at position 101, as the evaluation places it.
        QCOMPARE(model->bars.size(), std::size_t{100});
        QCOMPARE(model->bars.back().position, 101.0);
        QVERIFY(qFuzzyCompare(model->lineAt(101), 10.05));
        QVERIFY(!model->crossing);
        QVERIFY(scanned.chart().accountText().contains(QStringLiteral("=> retenue (proximite)")));

        scanned.list().setFocus();
        // The second row is BETA's crossing of its flat line at 9.85.
        QTest::keyClick(scanned.list().viewport(), Qt::Key_Down);
        QVERIFY(model->crossing);
        QCOMPARE(model->lineAt(10), 9.85);
        QVERIFY(scanned.chart().accountText().contains(QStringLiteral("croisement: oui")));
        QTest::keyClick(scanned.list().viewport(), Qt::Key_Up);
        QVERIFY(!model->crossing);

        scanned.chart().hide();
        scanned.list().setCurrentItem(scanned.list().topLevelItem(1));
        QTest::keyClick(&scanned.list(), Qt::Key_Return);
        QVERIFY(scanned.chart().isVisible());
        QVERIFY(model->crossing);
    }

    // The command line of a click on parvane-scan's notification: the run shows only its new
    // rows, whose chart opens with a click.
    void startOptionsShowTheNewRowsOfANotification()
    {
        ScannedProgram scanned(QString::fromLatin1("--proximity --daily --max-gap 3 --crossing --show-new "
                                                   "--new-row X_BETA\tFR0002\tDAILY")
                                   .split(QLatin1Char(' ')));
        QCOMPARE(scanned.list().topLevelItemCount(), 2);
        QVERIFY(scanned.program->window().findChild<QCheckBox*>(QStringLiteral("newOnlyBox"))->isChecked());
        QVERIFY(scanned.list().topLevelItem(0)->isHidden());
        QCOMPARE(scanned.list().topLevelItem(1)->text(0).trimmed(), QStringLiteral("X_BETA"));
        QVERIFY(!scanned.list().topLevelItem(1)->isHidden());
        scanned.clickRow(1);
        QVERIFY(scanned.chart().isVisible());
        QVERIFY(scanned.chart().chart().model()->crossing);
    }
};

QTEST_MAIN(ParvaneProgramTest)
#include "ParvaneProgramTest.moc"
