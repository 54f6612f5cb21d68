#include "mainwindow/ParvaneProgram.h"

#include <cmath>
#include <filesystem>
#include <memory>

#include <QApplication>
#include <QCheckBox>
#include <QCommandLineParser>
#include <QDir>
#include <QFileDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>

#include "core/scan/GroupSelection.h"
#include "mainwindow/ChartView.h"
#include "mainwindow/ChartWindow.h"
#include "mainwindow/StartOptions.h"
#include "mainwindow/tendancesForm1.h"
#include "support/RecordingMessageBoxes.h"
#include "support/TestBase.h"
#include "support/TestFiles.h"

using parvane::mainwindow::ChartWindow;
using parvane::mainwindow::ParvaneProgram;

namespace {

using namespace parvane::test;

// The program as main() starts it, over a base of two stocks and one without its history, scanned
// by the window with proximity (daily, 3 %) and crossings: by clicks, or by the start options of
// `arguments`. The documents it opens are recorded and it does not quit the test when it ends.
// With `traders`, the base is test::addTraderStocks's, scanned for the groups Intérêts and
// Sélection as the group dialog leaves them, and base 2 is an empty base.
struct ScannedProgram
{
    explicit ScannedProgram(bool traders = false, QStringList arguments = {})
        : base(temp.path() / "base")
    {
        const auto korvix = temp.path() / "korvix";
        writeFile(korvix / "korvix.exe", "#!/bin/sh\n");
        TestBase(temp.path() / "other").addGroup("none.txt", "");
        if (traders)
            addTraderStocks(base);
        TrendLineFields rising; // from 9.05 at bar 91 to 9.75 at bar 98: 10.05 at bar 101
        rising.slope = "0.1";
        rising.intercept = "-0.05";
        rising.firstAnchor = "91";
        rising.secondAnchor = "98";
        TrendLineFields flat; // 9.85: crossed between 9.9 and 9.8
        flat.intercept = "9.85";
        if (!traders) {
            base.addStock("ALPHA_FR0001.txt", trendLineFile({rising}), dailyHistory(100, "9.9", "9.8"));
            base.addStock("BETA_FR0002.txt", trendLineFile({flat}), dailyHistory(100, "9.9", "9.8"));
            base.addStock("LOST_FR0003.txt", trendLineFile({flat}), std::nullopt);
        }
        writeFile(temp.path() / "program" / "zarbel.ini",
                  "[path]\r\nexe=" + korvix.string() + "/\r\ndroite=\\base\\droite\\\r\n"
                      + "histo=\\base\\histo\\\r\nbase1=" + base.root().string()
                      + "\r\nbase2=" + (temp.path() / "other").string() + "\r\nbase3=\r\n");
        program = std::make_unique<ParvaneProgram>(temp.path() / "program", boxes);
        QVERIFY(program->startUp());
        auto& window = program->window();
        window.setDocumentOpener([this](const QUrl& url) {
            opened.push_back(url.toLocalFile());
            return true;
        });
        window.setQuitHandler([this] { ++quits; });
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
        if (traders) {
            window.selection() =
                parvane::scan::buildSelection(parvane::scan::BaseLayout::resolve(base.root(), "", ""),
                                              {"Int\xC3\xA9r\xC3\xAAts", "S\xE9lection"});
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

    void click(const char* name)
    {
        QTest::mouseClick(program->window().findChild<QWidget*>(QString::fromLatin1(name)), Qt::LeftButton);
    }

    QLabel& status() { return *program->window().findChild<QLabel*>(QStringLiteral("Label8")); }

    TempDir temp;
    TestBase base;
    RecordingMessageBoxes boxes;
    std::unique_ptr<ParvaneProgram> program;
    QStringList opened;
    int quits = 0;
};

// Answers every modal message box that Qt shows (the program's own, not recorded ones) with OK,
// keeping its text.
struct BoxAnswerer
{
    BoxAnswerer()
    {
        timer.callOnTimeout([this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                texts << box->text();
                box->accept();
            }
        });
        timer.start(50);
    }

    QTimer timer;
    QStringList texts;
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

    // Every row of the names traders have opens its own line's chart, also once another base is
    // chosen; a row whose stock is gone says so. The "Pourquoi" box finds names as typed.
    void everyRowOpensItsChart()
    {
        ScannedProgram scanned(true);
        const QStringList expected = {QStringLiteral("CAF\u00C9 0.10"), QStringLiteral("TOTAL 0.20"),
                                      QStringLiteral("\u00C9LAN 0.50"), QStringLiteral("\u00C9LAN 0.30"),
                                      QStringLiteral("\u00C9LAN 0.70"), QStringLiteral("SANOFI 0.50")};
        const auto openAll = [&] {
            QStringList shown;
            for (int row = 0; row < scanned.list().topLevelItemCount(); ++row) {
                scanned.clickRow(row);
                const auto& model = scanned.chart().chart().model();
                if (!model)
                    return shown << scanned.chart().chart().emptyText();
                const QString name =
                    scanned.list().topLevelItem(row)->text(0).trimmed().remove(QStringLiteral("X_"));
                shown << name + QStringLiteral(" ") + QString::number(std::fabs(model->gapPercent), 'f', 2);
            }
            return shown;
        };
        QCOMPARE(openAll(), expected);
        // The run is the previous run of parvane-scan --groups S\u00E9lection,Int\u00E9r\u00EAts
        // (tests/data/cli/traders): the same key.
        int keyed = 0;
        for (const auto& entry : std::filesystem::directory_iterator(scanned.temp.path() / "program")) {
            if (entry.path().extension() == ".txt"
                && entry.path().filename().string().starts_with("newrows-"))
                keyed += readFile(entry.path())
                             .find("\nproximity=D max-gap=3 crossing=on "
                                   "groups=Int\xC3\xA9r\xC3\xAAts,S\xC3\xA9lection"
                                   "\tX\tDAILY\t\xC3\x89LAN_123456.txt\r\n")
                         != std::string::npos;
        }
        QCOMPARE(keyed, 1);
        QTest::keyClick(scanned.program->window().findChild<QWidget*>(QStringLiteral("Combo1")),
                        Qt::Key_Down);
        QCOMPARE(openAll(), expected);
        QVERIFY(scanned.chart().accountText().startsWith(QStringLiteral("Ligne de la base ")));
        std::filesystem::remove(scanned.base.droite() / "TOTAL_FR0000120271.txt");
        scanned.clickRow(1);
        QVERIFY(scanned.chart().chart().emptyText().startsWith(
            QStringLiteral("La base a change depuis le scan")));

        QLineEdit& box = scanned.chart().stockBox();
        QTest::keyClick(scanned.program->window().findChild<QWidget*>(QStringLiteral("Combo1")), Qt::Key_Up);
        for (const auto& [typed, found] : {std::pair{"elan", "Action \u00C9LAN_123456"},
                                           {"societegenerale", "Voulez-vous dire SOCIETEGENERALELYON_130001, "
                                                               "SOCIETEGENERALEPARIS_130000 ?"}}) {
            box.clear();
            QTest::keyClicks(&box, QString::fromUtf8(typed));
            QTest::keyClick(&box, Qt::Key_Return);
            QVERIFY2(scanned.chart().accountText().startsWith(QString::fromUtf8(found))
                         || scanned.chart().chart().emptyText().endsWith(QString::fromUtf8(found)),
                     qPrintable(scanned.chart().chart().emptyText()));
        }
    }

    // The command line of a click on parvane-scan's notification: the run shows only its new
    // rows.
    void startOptionsShowTheNewRowsOfANotification()
    {
        ScannedProgram scanned(false,
                               QString::fromLatin1("--proximity --daily --max-gap 3 --crossing --show-new "
                                                   "--new-row X\tDAILY\tBETA_FR0002.txt --new-row "
                                                   "P\tDAILY\tBETA_FR0002.txt")
                                   .split(QLatin1Char(' ')));
        QCOMPARE(scanned.list().topLevelItemCount(), 2);
        QVERIFY(scanned.program->window().findChild<QCheckBox*>(QStringLiteral("newOnlyBox"))->isChecked());
        QVERIFY(scanned.list().topLevelItem(0)->isHidden());
        QCOMPARE(scanned.list().topLevelItem(1)->text(0).trimmed(), QStringLiteral("X_BETA"));
        QVERIFY(!scanned.list().topLevelItem(1)->isHidden());
    }

    // "Enregistrer en PNG..." writes the chart where the file dialog is told.
    void theChartIsSavedAsPng()
    {
        ScannedProgram scanned;
        scanned.clickRow(0);
        const QString png = QString::fromStdString((scanned.temp.path() / "chart.png").string());
        QTimer answer;
        answer.callOnTimeout([&] {
            // The name pasted whole (typed, it opens the completer's list), then Enter.
            if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
                answer.stop();
                auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                name->setText(png);
                QTest::keyClick(name, Qt::Key_Return);
            }
        });
        answer.start(50);
        QTest::mouseClick(scanned.chart().findChild<QPushButton*>(), Qt::LeftButton);
        const QImage image(png, "PNG");
        QCOMPARE(image.size(), scanned.chart().chart().size());
    }

    // "FIN: 1 erreur(s)": a double-click opens the error log that names the stock without history.
    void doubleClickOnTheEndOfRunOpensTheErrorLog()
    {
        ScannedProgram scanned;
        QVERIFY(scanned.status().text().startsWith(QStringLiteral("FIN: 1 erreur(s)")));
        QTest::mouseDClick(&scanned.status(), Qt::LeftButton);
        const auto log = scanned.temp.path() / "program" / "errorlog.txt";
        QCOMPARE(scanned.opened, QStringList{QString::fromStdString(log.string())});
        QVERIFY(readFile(log).find("LOST_FR0003") != std::string::npos);
    }

    // Without any printer, the printer button writes the list as a PDF into the program folder.
    void printerButtonWithoutAPrinterWritesThePdf()
    {
        qputenv("CUPS_SERVER", "/nonexistent/cups.sock");
        ScannedProgram scanned;
        BoxAnswerer answerer;
        scanned.click("Command3");
        const QStringList pdfs = QDir(QString::fromStdString((scanned.temp.path() / "program").string()))
                                     .entryList({QStringLiteral("Parvane_Resultats_*.pdf")});
        QCOMPARE(pdfs.size(), 1);
        // The line is cut to its width; its tooltip holds the whole text.
        QVERIFY(scanned.status().toolTip().startsWith(QStringLiteral("Resultats enregistres dans")));
        const std::string pdf = readFile(scanned.temp.path() / "program" / pdfs[0].toStdString());
        QVERIFY(pdf.starts_with("%PDF") && pdf.size() > 1000);
    }
};

QTEST_MAIN(ParvaneProgramTest)
#include "ParvaneProgramTest.moc"
