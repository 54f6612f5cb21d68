#include "mainwindow/tendancesForm1.h"

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>

#include "core/scan/RunEnvironment.h"
#include "mainwindow/ResultsListSink.h"
#include "support/RecordingMessageBoxes.h"
#include "support/TestBase.h"
#include "support/TestFiles.h"

namespace {

namespace fs = std::filesystem;
using namespace parvane::test;
using parvane::scan::ResultColumn;

// "Énergie" as Wine names a folder on the disk: UTF-8 bytes.
const std::string kUtf8Name = "\xC3\x89nergie";

// A program folder, a Korvix folder and bases "one" and "Énergie" of four stocks each (gaps to the
// line at 10 of 1.01 %, 2.04 %, 0.50 % and 3.09 %), then the window over them with recorded
// boxes, documents and quits, and a fixed clock with "." as the decimal separator.
struct Fixture
{
    Fixture()
    {
        for (const std::string name : {"one", kUtf8Name.c_str()}) {
            TestBase base(dir.path() / name);
            TrendLineFields daily; // unit "1", at 10 with slope 0
            daily.kind = "1";      // no age limit
            const std::string line = trendLineFile({daily});
            for (const auto& [stock, close] : {std::pair{"delta_000004.txt", "9,7"},
                                               {"charlie_000003.txt", "9,95"},
                                               {"Bravo_000002.txt", "9,8"},
                                               {"Alpha_000001.txt", "9,9"}})
                base.addStock(stock, line, dailyHistory(20, close, close));
        }
        writeFile(dir.path() / "korvix" / "korvix.exe", "#!/bin/sh\n");
        writeFile(program() / "zarbel.ini",
                  "[path]\r\nexe=" + (dir.path() / "korvix/").string()
                      + "\r\ndroite=\\base\\droite\\\r\nhisto=\\base\\histo\\\r\nbase1="
                      + (dir.path() / "one").string() + "\r\nbase2=" + (dir.path() / kUtf8Name).string()
                      + "\r\nbase3=\r\n");
        window = std::make_unique<parvane::mainwindow::tendancesForm1>(program(), boxes);
        window->setDocumentOpener([this](const QUrl& url) {
            opened.push_back(url);
            return opens;
        });
        window->setRunEnvironment(std::make_unique<parvane::scan::FixedEnvironment>(
            parvane::scan::DateTime{parvane::evaluation::Date{2026, 2, 3}, 9, 5, 0}, '.'));
    }

    fs::path program() const { return dir.path() / "program"; }

    template <typename T = QWidget>
    T* get(const char* name)
    {
        T* widget = window->findChild<T*>(QString::fromUtf8(name));
        if (widget == nullptr)
            qFatal("no control %s", name);
        return widget;
    }

    void click(const char* name) { QTest::mouseClick(get(name), Qt::LeftButton); }

    void start()
    {
        QVERIFY(window->startUp());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    // Started and shown, proximity in daily unit at 3 % set as a user does.
    void startProximityRun()
    {
        start();
        click("Check2");
        click("Check3");
        QTest::keyClick(get("Text2"), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(get("Text2"), QStringLiteral("3"));
    }

    // The texts of a column, of the shown rows only when `shownOnly`.
    QStringList column(int column, bool shownOnly = false)
    {
        QStringList texts;
        auto* list = get<QTreeWidget>("ListView1");
        for (int row = 0; row < list->topLevelItemCount(); ++row)
            if (!shownOnly || !list->topLevelItem(row)->isHidden())
                texts << list->topLevelItem(row)->text(column).trimmed();
        return texts;
    }

    TempDir dir;
    RecordingMessageBoxes boxes;
    std::unique_ptr<parvane::mainwindow::tendancesForm1> window;
    std::vector<QUrl> opened;
    bool opens = true;
};

QStringList texts(std::initializer_list<const char*> utf8)
{
    QStringList list;
    for (const char* text : utf8)
        list << QString::fromUtf8(text);
    return list;
}

void clickHeader(QTreeWidget* list, int section)
{
    QHeaderView* header = list->header();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
                             header->height() / 2));
}

} // namespace

class tendancesForm1Test : public QObject
{
    Q_OBJECT

private Q_SLOTS:

    void enterInThePercentageBoxRunsTheScanSorted()
    {
        Fixture f;
        f.startProximityRun();
        QTest::keyClick(f.get("Text2"), Qt::Key_Return);
        QTRY_COMPARE(f.column(0), texts({"Alpha", "Bravo", "charlie"}));
        QCOMPARE(f.column(4), texts({"1.01", "2.04", "0.50"}));
        QCOMPARE(f.get<QLabel>("Label8")->text(), QStringLiteral("FIN: 0 erreur(s)"));
        QCOMPARE(f.get<QGroupBox>("Frame1")->title(), QStringLiteral("Resultats: 3 lignes"));
        QVERIFY(f.boxes.boxes.empty());
    }

    void rowsShowDuringTheRunAndFinEndsItAtTheNextStock()
    {
        Fixture f;
        TrendLineFields daily;
        daily.kind = "1";
        const TestBase base(f.dir.path() / "one");
        const int stocks = 3000;
        for (int stock = 0; stock < stocks; ++stock)
            base.addStock("s" + std::to_string(stock) + "_" + std::to_string(100000 + stock) + ".txt",
                          trendLineFile({daily}), dailyHistory(20, "9,9", "9,9"));
        f.startProximityRun();
        f.click("Check7");
        auto* list = f.get<QTreeWidget>("ListView1");
        // A timer of no interval fires at every pass of the event loop, also during the run.
        int rowsWhileRunning = 0;
        bool quitWhileRunning = false;
        QElapsedTimer sinceFin;
        QTimer passes;
        connect(&passes, &QTimer::timeout, [&] {
            if (!f.window->isRunning())
                return;
            rowsWhileRunning = std::max(rowsWhileRunning, list->topLevelItemCount());
            if (rowsWhileRunning > 0 && !sinceFin.isValid()) {
                sinceFin.start();
                f.click("Command5"); // FIN!
            }
        });
        f.window->setQuitHandler(
            [&] { quitWhileRunning = f.window->isRunning() || list->topLevelItemCount() < stocks; });
        passes.start(0);
        f.click("Command1");
        qInfo("%d rows shown during the run; FIN! ended it after %lld ms", rowsWhileRunning,
              sinceFin.elapsed());
        QVERIFY(rowsWhileRunning > 0);
        QVERIFY(sinceFin.isValid() && quitWhileRunning);
        QVERIFY(f.window->isClosing());
        // The run stopped at the next stock: its group file holds fewer lines than the base has
        // stocks, and no end status was shown.
        const std::string group = readFile(base.groupe() / "Parvane.txt");
        QVERIFY(std::count(group.begin(), group.end(), '\n') < stocks);
        QVERIFY(!f.get<QLabel>("Label8")->text().startsWith(QStringLiteral("FIN:")));
    }

    void headerClickSortsNumbersByValueAndTextsInListOrder()
    {
        Fixture f;
        f.startProximityRun();
        f.click("Check7");
        auto* list = f.get<QTreeWidget>("ListView1");
        parvane::mainwindow::ResultsListSink sink(*list);
        sink.clear();
        const char* rows[][3] = {{"Zeta", "10,5", "-0,64"},
                                 {"\xC9lan", "2,47", "-1,18"},
                                 {"alpha", "-3", "0,5"},
                                 {"Eta", "2,47", ""}};
        for (std::size_t row = 1; row <= 4; ++row) {
            sink.addRow({});
            sink.setText(row, ResultColumn::Action, rows[row - 1][0]);
            sink.setText(row, ResultColumn::Dernier, rows[row - 1][1]);
            sink.setText(row, ResultColumn::Var, rows[row - 1][2]);
        }
        sink.flush();
        clickHeader(list, static_cast<int>(ResultColumn::Dernier));
        QCOMPARE(f.column(0), texts({"alpha", "\xC3\x89lan", "Eta", "Zeta"}));
        clickHeader(list, static_cast<int>(ResultColumn::Var));
        QCOMPARE(f.column(2), texts({"2,47", "10,5", "-3", "2,47"}));
        // A first click on the names sorts them in the list's order, a second turns it round; the
        // header marks the column and the direction.
        QHeaderView* header = list->header();
        const auto mark = [header] {
            return header->isSortIndicatorShown()
                       ? header->sortIndicatorSection() * 10 + header->sortIndicatorOrder()
                       : -1;
        };
        QCOMPARE(mark(), static_cast<int>(ResultColumn::Var) * 10 + Qt::AscendingOrder);
        clickHeader(list, static_cast<int>(ResultColumn::Action));
        QCOMPARE(f.column(0), texts({"alpha", "\xC3\x89lan", "Eta", "Zeta"}));
        QCOMPARE(mark(), Qt::AscendingOrder);
        // The row the user chose stays chosen through the sort, wherever it goes.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                          list->visualItemRect(list->topLevelItem(1)).center());
        clickHeader(list, static_cast<int>(ResultColumn::Action));
        QCOMPARE(f.column(0), texts({"Zeta", "Eta", "\xC3\x89lan", "alpha"}));
        QCOMPARE(mark(), Qt::DescendingOrder);
        QCOMPARE(list->currentItem(), list->topLevelItem(2));
        QCOMPARE(list->selectedItems(), QList<QTreeWidgetItem*>{list->topLevelItem(2)});
    }

    void newOnlyHidesTheRowsOfThePreviousRunWithoutChangingWhatTheScanWrites()
    {
        Fixture f;
        f.startProximityRun();
        f.click("Check9"); // the CSV file too
        f.click("Check7");
        auto* newOnly = f.get<QCheckBox>("newOnlyBox");
        QVERIFY(!newOnly->isEnabled() && !newOnly->isChecked());
        const auto shown = [&] { return f.column(0, true); };
        const auto baseFiles = [&] { return snapshotTree(f.dir.path() / "one"); };
        const QStringList all = texts({"Alpha", "Bravo", "charlie", "delta"});

        f.click("Command1");
        QTest::mouseClick(newOnly, Qt::LeftButton);
        QCOMPARE(shown(), all.mid(0, 3)); // a first run: every row is new
        // delta comes within 3 % of its line: the only new row, also after a sort.
        TrendLineFields daily;
        daily.kind = "1";
        TestBase(f.dir.path() / "one")
            .addStock("delta_000004.txt", trendLineFile({daily}), dailyHistory(20, "9,9", "9,9"));
        f.click("Command1");
        QCOMPARE(shown(), texts({"delta"}));
        QCOMPARE(f.get<QGroupBox>("Frame1")->title(), QStringLiteral("Resultats: 4 lignes, 1 affichee"));
        clickHeader(f.get<QTreeWidget>("ListView1"), static_cast<int>(ResultColumn::Ecart));
        QCOMPARE(shown(), texts({"delta"}));
        const auto filteredRun = baseFiles();

        QTest::mouseClick(newOnly, Qt::LeftButton);
        QCOMPARE(shown(), texts({"charlie", "Alpha", "delta", "Bravo"}));
        f.click("Command1");
        QCOMPARE(shown(), all);
        QCOMPARE(baseFiles(), filteredRun);
        QTest::mouseClick(newOnly, Qt::LeftButton);
        QCOMPARE(shown(), QStringList()); // the same four hits again
        QVERIFY(f.boxes.boxes.empty());
    }

    void clickOnACaptionTicksItsBox()
    {
        Fixture f;
        f.start();
        QTest::mouseClick(f.get<QPlainTextEdit>("Text3")->viewport(), Qt::LeftButton);
        QVERIFY(f.get<QCheckBox>("Check2")->isChecked());
        for (const auto& [caption, box] : {std::pair{"Label6", "Check3"}, {"Label12", "Check9"}}) {
            f.click(caption);
            QVERIFY(f.get<QCheckBox>(box)->isChecked());
        }
    }

    void changeOfBaseClearsTheGroupSelection()
    {
        Fixture f;
        f.start();
        const auto chooseGroups = [&] {
            f.window->selection().active = true;
            f.window->setWindowTitle(QStringLiteral("Parvane-Valeurs"));
        };
        chooseGroups();
        QTest::keyClick(f.get("Combo1"), Qt::Key_Down);
        QVERIFY(!f.window->selection().active);
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Parvane"));
        QVERIFY(f.get("Combo1")->toolTip().endsWith(QStringLiteral("/\u00C9nergie")));

        chooseGroups();
        f.click("Command6");
        QVERIFY(!f.window->selection().active);
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Parvane"));
    }

    // The help page of the program folder, else of the installed data folder, else beside the
    // executable, is opened, or the user is told why not.
    void helpIsFoundOrTheUserIsTold()
    {
        const fs::path executable = QCoreApplication::applicationDirPath().toStdString();

        const struct
        {
            const char* pages; // p: program folder, s: ../share/parvane, e: beside the executable
            bool viewer;
            const char* opened;
            const char* message;
        } cases[] = {{"pse", true, "p", ""},
                     {"se", true, "s", ""},
                     {"e", true, "e", ""},
                     {"", true, "", "La page d'aide est introuvable"},
                     {"p", false, "p", "Aucun programme n'a pu ouvrir"}};

        for (const auto& c : cases) {
            Fixture f;
            const std::map<char, fs::path> where = {
                {'p', f.program() / "help-parvane.htm"},
                {'s', executable.parent_path() / "share" / "parvane" / "help-parvane.htm"},
                {'e', executable / "help-parvane.htm"}};
            for (const auto& [key, page] : where)
                fs::remove(page);
            for (const char* key = c.pages; *key != 0; ++key)
                writeFile(where.at(*key), "<html></html>");
            f.opens = c.viewer;
            f.window->show();
            f.click("Command2");
            for (const auto& [key, page] : where)
                if (key != 'p')
                    fs::remove(page);
            QCOMPARE(f.opened.size(), std::size_t{*c.opened == 0 ? 0U : 1U});
            if (*c.opened != 0)
                QCOMPARE(fs::path(f.opened[0].toLocalFile().toStdString()).lexically_normal(),
                         where.at(*c.opened).lexically_normal());
            QCOMPARE(f.boxes.boxes.size(), std::size_t{*c.message == 0 ? 0U : 1U});
            if (*c.message != 0)
                QVERIFY(f.boxes.boxes[0].text.startsWith(QString::fromUtf8(c.message)));
        }
    }
};

QTEST_MAIN(tendancesForm1Test)
#include "tendancesForm1Test.moc"
