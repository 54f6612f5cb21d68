#include "mainwindow/ChartWindow.h"

#include <memory>

#include <QCheckBox>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "mainwindow/ChartView.h"
#include "mainwindow/ParvaneProgram.h"
#include "mainwindow/tendancesForm1.h"
#include "support/RecordingHostWindows.h"
#include "support/RecordingMessageBoxes.h"
#include "support/TestBase.h"
#include "support/TestFiles.h"

using parvane::mainwindow::ChartView;
using parvane::mainwindow::ChartWindow;
using parvane::mainwindow::ParvaneProgram;
using parvane::test::TrendLineFields;

namespace {

// A base of three stocks scanned by the window with proximity (daily, 3 %) and crossings.
struct ScannedProgram
{
    ScannedProgram()
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
        TrendLineFields far;
        far.intercept = "20";
        base.addStock("GAMMA_FR0003.txt", parvane::test::trendLineFile({far}),
                      parvane::test::dailyHistory(100, "9.9", "9.8"));
        parvane::test::writeFile(temp.path() / "program" / "zarbel.ini",
                                 "[path]\r\nexe=" + korvix.string() + "/\r\ndroite=\\base\\droite\\\r\n"
                                     + "histo=\\base\\histo\\\r\nbase1=" + base.root().string()
                                     + "\r\nbase2=\r\nbase3=\r\n");
        program = std::make_unique<ParvaneProgram>(temp.path() / "program", boxes,
                                                   std::make_unique<parvane::test::RecordingHostWindows>());
        QVERIFY(program->startUp());
        auto& window = program->window();
        window.show();
        for (const char* box : {"Check2", "Check3", "Check6", "Check7"})
            window.findChild<QCheckBox*>(QString::fromLatin1(box))->click();
        window.findChild<QLineEdit*>(QStringLiteral("Text2"))->setText(QStringLiteral("3"));
        window.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
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

class ChartWindowTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:

    void clickingARowShowsItsLineOverTheDailyCloses()
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
        QCOMPARE(model->bars.front().position, 2.0);
        QCOMPARE(model->bars.back().position, 101.0);
        QCOMPARE(model->bars.back().close, 9.8);
        QCOMPARE(model->bars[98].close, 9.9);
        QCOMPARE(model->bars[50].close, 10.0);
        QCOMPARE(model->firstAnchor, 91.0);
        QCOMPARE(model->secondAnchor, 98.0);
        QVERIFY(qFuzzyCompare(model->lineAt(91), 9.05));
        QVERIFY(qFuzzyCompare(model->lineAt(101), 10.05));
        QCOMPARE(model->lastBar, 101.0);
        QVERIFY(qFuzzyCompare(model->gapPercent, 100 * 0.25 / 9.8));
        QVERIFY(!model->crossing);
        QVERIFY(!model->showVolumes);
        QVERIFY(scanned.chart().accountText().contains(QStringLiteral("=> retenue (proximite)")));
    }

    void upAndDownMoveTheChartWithTheSelection()
    {
        ScannedProgram scanned;
        scanned.clickRow(0);
        scanned.list().setFocus();
        QTest::keyClick(scanned.list().viewport(), Qt::Key_Down);
        const auto& model = scanned.chart().chart().model();
        QVERIFY(model.has_value());
        // The second row is BETA's crossing of its flat line at 9.85.
        QVERIFY(model->crossing);
        QCOMPARE(model->lineAt(10), 9.85);
        QVERIFY(scanned.chart().accountText().contains(QStringLiteral("croisement: oui")));
        QTest::keyClick(scanned.list().viewport(), Qt::Key_Up);
        QVERIFY(!scanned.chart().chart().model()->crossing);
    }

    void enterOpensTheChartOfTheCurrentRow()
    {
        ScannedProgram scanned;
        scanned.list().setCurrentItem(scanned.list().topLevelItem(1));
        QVERIFY(!scanned.chart().isVisible());
        QTest::keyClick(&scanned.list(), Qt::Key_Return);
        QVERIFY(scanned.chart().isVisible());
        QVERIFY(scanned.chart().chart().model()->crossing);
    }

    void theRenderingShowsTheLineTheAnchorsAndTheBackground()
    {
        ScannedProgram scanned;
        scanned.clickRow(0);
        ChartView& view = scanned.chart().chart();
        view.resize(640, 360);
        const QImage image = view.grab().toImage();
        const auto colourAt = [&](double position, double price) {
            return image.pixel(view.toPixel(position, price).toPoint()) | 0xff000000;
        };
        // The line is drawn smoothed: one pixel near the point holds its colour, or nearly.
        const auto lineNear = [&](double position, double price) {
            const QPoint at = view.toPixel(position, price).toPoint();
            for (int dx = -2; dx <= 2; ++dx) {
                for (int dy = -2; dy <= 2; ++dy) {
                    const QRgb pixel = image.pixel(at + QPoint(dx, dy));
                    if (qRed(pixel) > 180 && qGreen(pixel) < 80 && qBlue(pixel) < 80)
                        return true;
                }
            }
            return false;
        };
        QCOMPARE(colourAt(91, 9.05), ChartView::kAnchorColour);
        QCOMPARE(colourAt(98, 9.75), ChartView::kAnchorColour);
        // Between the anchors the line lies below the closes (10): only the line is drawn there.
        QVERIFY(lineNear(94.5, 9.4));
        QVERIFY(!lineNear(94.5, 9.9));
        // Between the closes (10) and the line (4.95 at bar 50) lies the background.
        QCOMPARE(colourAt(50, 7.5), ChartView::kBackground);

        const QString file = QString::fromStdString((scanned.temp.path() / "chart.png").string());
        QVERIFY(scanned.chart().savePng(file));
        QCOMPARE(QImage(file).size(), QSize(640, 360));
    }

    void theBoxExplainsAStockThatWasNotReported()
    {
        ScannedProgram scanned;
        QLineEdit& box = scanned.chart().stockBox();
        QTest::keyClicks(&box, QStringLiteral("gamma_fr0003"));
        QTest::keyClick(&box, Qt::Key_Return);
        const QString text = scanned.chart().accountText();
        QVERIFY2(text.contains(QStringLiteral("=> non retenue: ecart 104")), qPrintable(text));
        QVERIFY(scanned.chart().chart().model().has_value());

        box.clear();
        QTest::keyClicks(&box, QStringLiteral("OMEGA_1"));
        QTest::keyClick(&box, Qt::Key_Return);
        QVERIFY(scanned.chart().accountText().isEmpty());
        QVERIFY(!scanned.chart().chart().model().has_value());
    }
};

QTEST_MAIN(ChartWindowTest)
#include "ChartWindowTest.moc"
