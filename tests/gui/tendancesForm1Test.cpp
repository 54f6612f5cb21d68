#include "mainwindow/tendancesForm1.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>

#include "core/scan/RunEnvironment.h"
#include "support/RecordingMessageBoxes.h"

namespace {

namespace fs = std::filesystem;
using parvane::mainwindow::tendancesForm1;
using parvane::test::RecordingMessageBoxes;

void writeBytes(const fs::path& file, const std::string& bytes)
{
    fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string readBytes(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Every file under `root` with its bytes, to show that a refused run touches nothing.
std::map<std::string, std::string> snapshot(const fs::path& root)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        files[entry.path().lexically_relative(root).generic_string()] =
            entry.is_regular_file() ? readBytes(entry.path()) : std::string("<dir>");
    return files;
}

QString q(const std::string& text)
{
    return QString::fromStdString(text);
}

// One stock of a test base: a daily trend line at 10 (slope 0, anchors ignored), and a history
// whose last two closes are `previousClose` and `lastClose` (texts, as Korvix writes them).
struct Stock
{
    std::string name;
    std::string code;
    std::string previousClose;
    std::string lastClose;
    bool withHistory = true;
};

std::string fileName(const Stock& stock)
{
    return stock.name + "_" + stock.code + ".txt";
}

void writeStock(const fs::path& root, const Stock& stock)
{
    // Unit "1" (daily), kind "1" (no age limit), slope "0#", intercept "10#", fields 8 and 9 at 0.
    writeBytes(root / "base" / "droite" / fileName(stock), "1\t1\t0#\t10#\t1\t0\t2\t0\t0\t0\r\n");
    if (!stock.withHistory)
        return;
    std::string history;
    for (int day = 1; day <= 18; ++day)
        history +=
            "202401" + std::string(day < 10 ? "0" : "") + std::to_string(day) + "\t0\t0\t0\t10\t1000\r\n";
    history += "20240119\t0\t0\t0\t" + stock.previousClose + "\t1000\r\n";
    history += "20240122\t0\t0\t0\t" + stock.lastClose + "\t1200\r\n";
    writeBytes(root / "base" / "histo" / fileName(stock), history);
}

void makeBase(const fs::path& root, const std::vector<Stock>& stocks)
{
    fs::create_directories(root / "base" / "droite");
    fs::create_directories(root / "base" / "histo");
    fs::create_directories(root / "base" / "groupe");
    fs::create_directories(root / "base" / "comment");
    for (const Stock& stock : stocks)
        writeStock(root, stock);
}

// Gaps to the line at 10, in percent of the last close: Alpha 1.01, Bravo 2.04, charlie 0.50,
// delta 3.09. Listed in an order that is not the sorted one, with both cases.
const std::vector<Stock> kStocks = {
    {"delta", "000004", "9,7", "9,7"},
    {"charlie", "000003", "9,95", "9,95"},
    {"Bravo", "000002", "9,8", "9,8"},
    {"Alpha", "000001", "9,9", "9,9"},
};

// A program folder with zarbel.ini and a Korvix folder holding korvix.exe, in a temporary folder.
struct Sandbox
{
    Sandbox()
    {
        root = fs::path(dir.path().toStdString());
        program = root / "program";
        korvix = root / "korvix";
        fs::create_directories(program);
        writeBytes(korvix / "korvix.exe", "#!/bin/sh\n");
    }

    fs::path base(const std::string& name) const { return root / name; }

    void writeSettings(const std::string& base1, const std::string& base2 = {},
                       const std::string& base3 = {}) const
    {
        writeBytes(program / "zarbel.ini", "[path]\r\nexe=" + korvix.string()
                                               + "/\r\ndroite=\\base\\droite\\\r\n"
                                               + "histo=\\base\\histo\\\r\nbase1=" + base1
                                               + "\r\nbase2=" + base2 + "\r\nbase3=" + base3 + "\r\n");
    }

    QTemporaryDir dir;
    fs::path root;
    fs::path program;
    fs::path korvix;
};

// The window over a sandbox, with recorded message boxes, documents and quit, and a fixed clock
// with "." as the decimal separator.
struct Harness
{
    explicit Harness(const Sandbox& sandbox)
        : window(sandbox.program, boxes)
    {
        window.setDocumentOpener([this](const QUrl& url) {
            opened.push_back(url);
            return true;
        });
        window.setQuitHandler([this] { ++quits; });
        parvane::scan::DateTime moment;
        moment.date = parvane::evaluation::Date{2026, 2, 3};
        moment.hour = 9;
        moment.minute = 5;
        window.setRunEnvironment(std::make_unique<parvane::scan::FixedEnvironment>(moment, '.'));
    }

    template <typename T>
    T* child(const char* name)
    {
        T* widget = window.findChild<T*>(QString::fromUtf8(name));
        if (widget == nullptr)
            qFatal("no control %s", name);
        return widget;
    }

    QCheckBox* check(const char* name) { return child<QCheckBox>(name); }

    QPushButton* button(const char* name) { return child<QPushButton>(name); }

    QLabel* label(const char* name) { return child<QLabel>(name); }

    QTreeWidget* list() { return child<QTreeWidget>("ListView1"); }

    // The texts of column `column`, in list order.
    QStringList column(int column)
    {
        QStringList texts;
        for (int row = 0; row < list()->topLevelItemCount(); ++row)
            texts << list()->topLevelItem(row)->text(column).trimmed();
        return texts;
    }

    // Runs `probe` from inside the next run, at its first stock.
    void duringRun(std::function<void()> probe) { QTimer::singleShot(0, &window, std::move(probe)); }

    RecordingMessageBoxes boxes;
    tendancesForm1 window;
    std::vector<QUrl> opened;
    int quits = 0;
};

QStringList sortedNames()
{
    return {QStringLiteral("Alpha"), QStringLiteral("Bravo"), QStringLiteral("charlie")};
}

} // namespace

class tendancesForm1Test : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void controlsStartInTheirInitialStates();
    void startUpDeletesTheOldLogAndLoadsTheFirstBase();
    void startUpWithoutKorvixShowsTheMessageAndFails();
    void startUpWithoutSettingsOpensThePathDialogFirst();
    void startUpFindsKorvixThroughAWindowsPath();
    void baseChooserMovesBase3IntoAnEmptyBase2();
    void baseChooserIsHiddenWithOneBase();
    void runFillsTheListSortedWithoutRegardToCase();
    void runWithErrorsPointsToTheLog();
    void runShowsTheCsvFileInPlaceOfTheBar();
    void runScansOnlyTheChosenStocksWhileASelectionIsActive();
    void boxesAreLockedDuringARunAndGuardedCommandsDoNothing();
    void refusalsTouchNothing_data();
    void refusalsTouchNothing();
    void typedThresholdStopsAtADecimalComma();
    void proximityWithoutUnitIsSwitchedOffWhenCrossingsAreSought();
    void noRunConditionMeansNoScanAndNoMessage();
    void checkBoxesShowAndHideTheirControls();
    void resultsBoxMaximisesAndRestores();
    void resizeKeepsTheDesignSizesAsMinimum();
    void columnsAreSizedAfterARun();
    void headerClickSortsOnceWithoutToggling();
    void linksOpenThroughTheDesktop();
    void basesCommandRereadsTheBases();
    void groupCommandClearsTheSelectionAroundTheDialog();
    void printAndKorvixCommandsCallTheirHooks();
    void closingDuringARunEndsItAndQuits();
    void closingWhenIdleQuitsAtOnce();
};

void tendancesForm1Test::controlsStartInTheirInitialStates()
{
    Sandbox sandbox;
    Harness h(sandbox);
    QCOMPARE(h.window.windowTitle(), QStringLiteral("Parvane"));
    QCOMPARE(h.window.size(), QSize(260, 560));

    for (const char* name :
         {"Check1", "Check2", "Check3", "Check4", "Check5", "Check6", "Check7", "Check8", "Check9"})
        QVERIFY2(!h.check(name)->isChecked(), name);
    QVERIFY(h.child<QRadioButton>("Option2")->isChecked());
    QVERIFY(!h.child<QRadioButton>("Option1")->isChecked());
    QCOMPARE(h.child<QLineEdit>("Text2")->text(), QStringLiteral("1"));
    QCOMPARE(h.child<QLineEdit>("Text4")->text(), QStringLiteral("20"));
    QVERIFY(!h.child<QLineEdit>("Text4")->isEnabled());

    h.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&h.window));
    for (const char* name : {"Frame1", "ListView1", "frame3", "Text2", "Frame2", "Text4", "Label2", "Check8",
                             "ProgressBar1", "Label8", "Label5", "Label14", "Combo1", "Label11"})
        QVERIFY2(!h.child<QWidget>(name)->isVisible(), name);
    for (const char* name :
         {"Command1", "Command2", "Command3", "Command4", "Command5", "Command6", "Command7", "Check2",
          "Check6", "Check7", "Check5", "Check9", "Text1", "Text3", "Frame4"})
        QVERIFY2(h.child<QWidget>(name)->isVisible(), name);

    QCOMPARE(h.button("Command1")->text(), QStringLiteral("OK!"));
    QCOMPARE(h.button("Command1")->toolTip(), QStringLiteral("Execution"));
    QCOMPARE(h.button("Command5")->text(), QStringLiteral("FIN!"));
    QCOMPARE(h.button("Command5")->toolTip(), QStringLiteral("Bye!"));
    QCOMPARE(h.button("Command6")->text(), QStringLiteral("Base(s)"));
    QCOMPARE(h.button("Command7")->text(), QStringLiteral("Selection Groupe(s) a scanner"));
    QCOMPARE(h.button("Command2")->toolTip(), QStringLiteral("Au Secours"));
    QCOMPARE(h.button("Command3")->toolTip(), QStringLiteral("Rapport ecris"));
    QVERIFY(!h.button("Command3")->icon().isNull());
    QCOMPARE(h.check("Check8")->text(), QString::fromUtf8(" Superieur \xc3\xa0"));
    QCOMPARE(h.label("Label1")->text(), QStringLiteral("Parvane v1.4"));
    QCOMPARE(h.label("Label13")->text(), QStringLiteral("Resultats:"));
    QCOMPARE(h.child<QPlainTextEdit>("Text3")->toPlainText(),
             QStringLiteral("Proximite cours/droites de tendance.Creer groupe Parvane\n"));
    QVERIFY(h.child<QPlainTextEdit>("Text1")->isReadOnly());
    QCOMPARE(h.child<QGroupBox>("Frame4")->title(), QStringLiteral("- Lancer- Basculer sur -"));
    QCOMPARE(h.child<QGroupBox>("Frame1")->geometry(), QRect(262, 4, 537, 563));
    QCOMPARE(h.list()->geometry(), QRect(10, 16, 519, 541));
}

void tendancesForm1Test::startUpDeletesTheOldLogAndLoadsTheFirstBase()
{
    Sandbox sandbox;
    makeBase(sandbox.base("one"), kStocks);
    sandbox.writeSettings(sandbox.base("one").string());
    writeBytes(sandbox.program / "errorlog.txt", "old\r\n");
    Harness h(sandbox);
    QVERIFY(h.window.startUp());
    QVERIFY(!fs::exists(sandbox.program / "errorlog.txt"));
    QCOMPARE(h.window.activeBase(), sandbox.base("one").string());
    QCOMPARE(h.window.activeBaseFolder(), sandbox.base("one"));
    QVERIFY(h.boxes.boxes.empty());
}

void tendancesForm1Test::startUpWithoutKorvixShowsTheMessageAndFails()
{
    Sandbox sandbox;
    sandbox.writeSettings(sandbox.base("one").string());
    fs::remove(sandbox.korvix / "korvix.exe");
    Harness h(sandbox);
    QVERIFY(!h.window.startUp());
    QCOMPARE(h.boxes.boxes.size(), std::size_t{1});
    QCOMPARE(h.boxes.boxes[0].title, QStringLiteral("Parvane"));
    QCOMPARE(h.boxes.boxes[0].text,
             QStringLiteral("Korvix n'est pas a la position indiquee\ndans le fichier Zarbel.ini"));
}

void tendancesForm1Test::startUpWithoutSettingsOpensThePathDialogFirst()
{
    {
        // Without a dialog the empty settings name no Korvix, even with a korvix.exe in the
        // current folder.
        Sandbox sandbox;
        const fs::path previous = fs::current_path();
        fs::current_path(sandbox.korvix);
        Harness h(sandbox);
        const bool started = h.window.startUp();
        fs::current_path(previous);
        QVERIFY(!started);
        QCOMPARE(h.boxes.boxes.size(), std::size_t{1});
    }
    Sandbox sandbox;
    makeBase(sandbox.base("one"), kStocks);
    Harness h(sandbox);
    int dialogs = 0;
    h.window.setPathDialog([&] {
        ++dialogs;
        sandbox.writeSettings(sandbox.base("one").string());
    });
    QVERIFY(h.window.startUp());
    QCOMPARE(dialogs, 1);
    QCOMPARE(h.window.activeBase(), sandbox.base("one").string());
    QVERIFY(!h.window.isBaseSelection());

    // With the settings present the dialog is not opened again.
    Harness again(sandbox);
    again.window.setPathDialog([&] { ++dialogs; });
    QVERIFY(again.window.startUp());
    QCOMPARE(dialogs, 1);
}

void tendancesForm1Test::startUpFindsKorvixThroughAWindowsPath()
{
    // A zarbel.ini written on Windows: drive C: lies in the Wine prefix, and Korvix's folder is
    // spelled with another case than on disk.
    Sandbox sandbox;
    const fs::path prefix = sandbox.root / "wine";
    writeBytes(prefix / "drive_c" / "Program Files" / "Korvix 2.0" / "korvix.exe", "MZ");
    fs::create_directories(prefix / "dosdevices");
    fs::create_directory_symlink("../drive_c", prefix / "dosdevices" / "c:");
    makeBase(prefix / "drive_c" / "bourse", kStocks);
    writeBytes(sandbox.program / "zarbel.ini", "[path]\r\nexe=C:\\program files\\Korvix 2.0\\\r\n"
                                               "droite=\\base\\droite\\\r\nhisto=\\base\\histo\\\r\n"
                                               "base1=c:\\Bourse\r\n");
    const QByteArray previous = qgetenv("WINEPREFIX");
    qputenv("WINEPREFIX", QByteArray::fromStdString(prefix.string()));
    Harness h(sandbox);
    if (previous.isNull())
        qunsetenv("WINEPREFIX");
    else
        qputenv("WINEPREFIX", previous);
    QVERIFY(h.window.startUp());
    QCOMPARE(h.window.activeBase(), std::string("c:\\Bourse"));
    QCOMPARE(fs::canonical(h.window.activeBaseFolder()), fs::canonical(prefix / "drive_c" / "bourse"));

    h.check("Check2")->click();
    h.check("Check3")->click();
    h.child<QLineEdit>("Text2")->setText(QStringLiteral("3"));
    h.button("Command1")->click();
    QVERIFY(h.boxes.boxes.empty());
    QCOMPARE(h.column(0), sortedNames());
}

void tendancesForm1Test::baseChooserMovesBase3IntoAnEmptyBase2()
{
    Sandbox sandbox;
    makeBase(sandbox.base("one"), kStocks);
    makeBase(sandbox.base("three"), {kStocks[3]});
    sandbox.writeSettings(sandbox.base("one").string(), "", sandbox.base("three").string());
    Harness h(sandbox);
    QVERIFY(h.window.startUp());
    h.window.show();
    auto* combo = h.child<QComboBox>("Combo1");
    QVERIFY(combo->isVisible());
    QVERIFY(h.label("Label11")->isVisible());
    QCOMPARE(h.label("Label11")->text(), QStringLiteral("Base active:"));
    QCOMPARE(combo->count(), 3);
    QCOMPARE(combo->currentIndex(), 0);
    QCOMPARE(combo->toolTip(), q(sandbox.base("one").string()));
    QCOMPARE(h.window.settings().base2, sandbox.base("three").string());
    QCOMPARE(h.window.activeBase(), sandbox.base("one").string());

    Q_EMIT combo->activated(1);
    QCOMPARE(h.window.activeBase(), sandbox.base("three").string());
    QCOMPARE(combo->toolTip(), q(sandbox.base("three").string()));
    Q_EMIT combo->activated(0);
    QCOMPARE(h.window.activeBase(), sandbox.base("one").string());
    Q_EMIT combo->activated(2);
    QCOMPARE(h.window.activeBase(), sandbox.base("three").string());
    Q_EMIT combo->activated(5);
    QCOMPARE(h.window.activeBase(), sandbox.base("three").string());

    // The run goes over the chosen base.
    h.check("Check2")->click();
    h.check("Check3")->click();
    h.child<QLineEdit>("Text2")->setText(QStringLiteral("3"));
    h.button("Command1")->click();
    QCOMPARE(h.column(0), QStringList{QStringLiteral("Alpha")});
    QVERIFY(fs::exists(sandbox.base("three") / "base" / "groupe" / "Parvane.txt"));
    QVERIFY(!fs::exists(sandbox.base("one") / "base" / "groupe" / "Parvane.txt"));
}

void tendancesForm1Test::baseChooserIsHiddenWithOneBase()
{
    Sandbox sandbox;
    makeBase(sandbox.base("one"), kStocks);
    sandbox.writeSettings(sandbox.base("one").string());
    Harness h(sandbox);
    QVERIFY(h.window.startUp());
    h.window.show();
    QVERIFY(!h.child<QComboBox>("Combo1")->isVisible());
    QVERIFY(!h.label("Label11")->isVisible());
}

void tendancesForm1Test::runFillsTheListSortedWithoutRegardToCase()
{
    Sandbox sandbox;
    makeBase(sandbox.base("one"), kStocks);
    sandbox.writeSettings(sandbox.base("one").string());
    Harness h(sandbox);
    QVERIFY(h.window.startUp());
    h.window.show();
    h.check("Check2")->click();
    h.check("Check3")->click();
    h.child<QLineEdit>("Text2")->setText(QStringLiteral("3"));
    h.button("Command1")->click();

    QVERIFY(h.boxes.boxes.empty());
    QVERIFY(!h.window.isRunning());
    QCOMPARE(h.list()->columnCount(), 7);
    const QStringList headers = {QStringLiteral("Action"),      QStringLiteral("Sicovam"),
                                 QStringLiteral("Dernier"),     QStringLiteral("UT"),
                                 QStringLiteral("Ecart%"),      QStringLiteral("Var%"),
                                 QStringLiteral("Commentaires")};
    for (int column = 0; column < 7; ++column)
        QCOMPARE(h.list()->headerItem()->text(column), headers[column]);
    QCOMPARE(h.column(0), sortedNames());
    QCOMPARE(h.column(1),
             (QStringList{QStringLiteral("000001"), QStringLiteral("000002"), QStringLiteral("000003")}));
    QCOMPARE(h.column(3),
             (QStringList{QStringLiteral("DAILY"), QStringLiteral("DAILY"), QStringLiteral("DAILY")}));
    QCOMPARE(h.column(4),
             (QStringList{QStringLiteral("1.01"), QStringLiteral("2.04"), QStringLiteral("0.50")}));
    QCOMPARE(h.list()->topLevelItem(0)->text(0), QStringLiteral("Alpha           "));

    QCOMPARE(h.label("Label8")->text(), QStringLiteral("FIN: 0 erreur(s)"));
    QCOMPARE(h.label("Label8")->toolTip(), QStringLiteral("nothing to declare"));
    QVERIFY(h.label("Label8")->isVisible());
    QVERIFY(h.label("Label5")->isVisible());
    auto* bar = h.child<QProgressBar>("ProgressBar1");
    QVERIFY(bar->isVisible());
    QVERIFY(!h.label("Label14")->isVisible());
    // The maximum is one more than the number of stocks; the bar ends at 0.1 again.
    QCOMPARE(bar->maximum(), 500);
    QCOMPARE(bar->value(), 10);
    for (const char* name : {"Check2", "Check3", "Check4", "Check5", "Check6", "Check8", "Check9", "Combo1"})
        QVERIFY2(h.child<QWidget>(name)->isEnabled(), name);
    const std::string group = readBytes(sandbox.base("one") / "base" / "groupe" / "Parvane.txt");
    QVERIFY(group.find("000001\tAlpha\r\n") != std::string::npos);
    QVERIFY(group.find("delta") == std::string::npos);
}

void tendancesForm1Test::runWithErrorsPointsToTheLog()
{
    Sandbox sandbox;
    std::vector<Stock> stocks = kStocks;
    stocks.push_back({"echo", "000005", "9,9", "9,9", false});
    makeBase(sandbox.base("one"), stocks);
    sandbox.writeSettings(sandbox.base("one").string());
    Harness h(sandbox);
    QVERIFY(h.window.startUp());
    h.check("Check2")->click();
    h.check("Check3")->click();
    h.child<QLineEdit>("Text2")->setText(QStringLiteral("3"));
    h.button("Command1")->click();

    QCOMPARE(h.label("Label8")->text(), QStringLiteral("FIN: 1 erreur(s)\nvoir errorlog.txt"));
    QCOMPARE(h.label("Label8")->toolTip(), QStringLiteral("Double-Cliquez pour voir le fichier log"));
    const std::string log = readBytes(sandbox.program / "errorlog.txt");
    QVERIFY2(log.find("echo_000005.txt: fichier introuvable") != std::string::npos, log.c_str());
    QVERIFY(log.rfind("03/02/2026 09:05:00 | ", 0) == 0);
    QCOMPARE(h.column(0), sortedNames());

    // A second run counts its own errors only; the log keeps growing.
    h.button("Command1")->click();
    QCOMPARE(h.label("Label8")->text(), QStringLiteral("FIN: 1 erreur(s)\nvoir errorlog.txt"));
    QCOMPARE(h.list()->topLevelItemCount(), 3);
    QVERIFY(readBytes(sandbox.program / "errorlog.txt").size() == 2 * log.size());
}

void tendancesForm1Test::runShowsTheCsvFileInPlaceOfTheBar()
{
    Sandbox sandbox;
    makeBase(sandbox.base("one"), kStocks);
    sandbox.writeSettings(sandbox.base("one").string());
    Harness h(sandbox);
    QVERIFY(h.window.startUp());
    h.window.show();
    h.check("Check2")->click();
    h.check("Check3")->click();
    h.check("Check9")->click();
    h.child<QLineEdit>("Text2")->setText(QStringLiteral("3"));
    h.button("Command1")->click();

    const fs::path csv = sandbox.base("one") / "base" / "result_03022026_0905.csv";
    QVERIFY(fs::exists(csv));
    QVERIFY(h.label("Label14")->isVisible());
    QVERIFY(!h.child<QProgressBar>("ProgressBar1")->isVisible());
    QCOMPARE(fs::path(h.label("Label14")->text().toStdString()), csv);
}

void tendancesForm1Test::runScansOnlyTheChosenStocksWhileASelectionIsActive()
{
    Sandbox sandbox;
    makeBase(sandbox.base("one"), kStocks);
    sandbox.writeSettings(sandbox.base("one").string());
    Harness h(sandbox);
    QVERIFY(h.window.startUp());
    h.window.selection().active = true;
    h.window.selection().files = {"Bravo_000002.txt"};
    h.check("Check2")->click();
    h.check("Check3")->click();
    h.child<QLineEdit>("Text2")->setText(QStringLiteral("3"));
    h.button("Command1")->click();
    QCOMPARE(h.column(0), QStringList{QStringLiteral("Bravo")});
    // The choice stays in force for the next run.
    h.button("Command1")->click();
    QCOMPARE(h.column(0), QStringList{QStringLiteral("Bravo")});
}

void tendancesForm1Test::boxesAreLockedDuringARunAndGuardedCommandsDoNothing()
{
    Sandbox sandbox;
    makeBase(sandbox.base("one"), kStocks);
    makeBase(sandbox.base("two"), kStocks);
    sandbox.writeSettings(sandbox.base("one").string(), sandbox.base("two").string());
    Harness h(sandbox);
    QVERIFY(h.window.startUp());
    h.window.show();
    int hooks = 0;
    h.window.setPathDialog([&] { ++hooks; });
    h.window.setGroupDialog([&] { ++hooks; });
    h.window.setPrintCommand([&] { ++hooks; });
    h.window.setKorvixCommand([&] { ++hooks; });
    h.check("Check2")->click();
    h.check("Check3")->click();
    h.child<QLineEdit>("Text2")->setText(QStringLiteral("3"));

    bool probed = false;
    std::map<std::string, bool> enabled;
    QStringList orderDuringRun;
    h.duringRun([&] {
        probed = true;
        QVERIFY(h.window.isRunning());
        for (const char* name : {"Check2", "Check3", "Check4", "Check5", "Check6", "Check8", "Check9",
                                 "Combo1", "Check7", "Command1"})
            enabled[name] = h.child<QWidget>(name)->isEnabled();
        QVERIFY(h.label("Label8")->isVisible());
        QCOMPARE(h.label("Label8")->text(), QStringLiteral("EXECUTION"));
        QVERIFY(h.child<QProgressBar>("ProgressBar1")->isVisible());
        QVERIFY(h.label("Label5")->isVisible());

        h.button("Command1")->click();
        h.button("Command2")->click();
        h.button("Command3")->click();
        h.button("Command4")->click();
        h.button("Command7")->click();
        h.button("Command6")->click();
        Q_EMIT h.child<QComboBox>("Combo1")->activated(1);
        Q_EMIT h.list()->header()->sectionClicked(1);
        QTest::mouseDClick(h.label("Label8"), Qt::LeftButton);
        QTest::mouseClick(h.label("Label3"), Qt::LeftButton);
        // Check7 still works during a run.
        h.check("Check7")->click();
        QVERIFY(h.list()->isVisible());
    });
    h.button("Command1")->click();

    QVERIFY(probed);
    for (const char* name : {"Check2", "Check3", "Check4", "Check5", "Check6", "Check8", "Check9", "Combo1"})
        QVERIFY2(!enabled[name], name);
    QVERIFY(enabled["Check7"]);
    QCOMPARE(hooks, 0);
    QVERIFY(h.opened.empty());
    QVERIFY(h.boxes.boxes.empty());
    QCOMPARE(h.window.activeBase(), sandbox.base("one").string());
    QVERIFY(!h.window.isRunning());
    QCOMPARE(h.column(0), sortedNames());
    for (const char* name : {"Check2", "Check3", "Check4", "Check5", "Check6", "Check8", "Check9", "Combo1"})
        QVERIFY2(h.child<QWidget>(name)->isEnabled(), name);
}

void tendancesForm1Test::refusalsTouchNothing_data()
{
    QTest::addColumn<bool>("withBase");
    QTest::addColumn<QStringList>("boxesOn");
    QTest::addColumn<QString>("text2");
    QTest::addColumn<QString>("text4");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("message");

    const QString base = QStringLiteral("Parvane - Erreur Chemin(s)");
    QTest::newRow("no base folder") << false << QStringList{QStringLiteral("Check6")} << QStringLiteral("1")
                                    << QStringLiteral("20") << base << QString();
    QTest::newRow("gap 0") << true << QStringList{QStringLiteral("Check2"), QStringLiteral("Check6")}
                           << QStringLiteral("0") << QStringLiteral("20") << QStringLiteral("Parvane")
                           << QStringLiteral("ECART COURS/DROITES NON VALIDE");
    QTest::newRow("gap letters") << true << QStringList{QStringLiteral("Check2"), QStringLiteral("Check3")}
                                 << QStringLiteral("abc") << QStringLiteral("20") << QStringLiteral("Parvane")
                                 << QStringLiteral("ECART COURS/DROITES NON VALIDE");
    QTest::newRow("volume 0") << true << QStringList{QStringLiteral("Check6"), QStringLiteral("Check8")}
                              << QStringLiteral("0") << QStringLiteral("0") << QStringLiteral("Parvane")
                              << QStringLiteral("ECART DETECTION CROISEMENT\nAVEC VOLUME NON VALIDE");
}

void tendancesForm1Test::refusalsTouchNothing()
{
    QFETCH(bool, withBase);
    QFETCH(QStringList, boxesOn);
    QFETCH(QString, text2);
    QFETCH(QString, text4);
    QFETCH(QString, title);
    QFETCH(QString, message);

    Sandbox sandbox;
    const fs::path root = sandbox.base("one");
    if (withBase)
        makeBase(root, kStocks);
    else
        writeBytes(root / "other.txt", "x");
    writeBytes(root / "base" / "groupe" / "Parvane.txt", "old\r\n");
    if (!withBase)
        fs::remove_all(root / "base");
    sandbox.writeSettings(root.string());
    Harness h(sandbox);
    QVERIFY(h.window.startUp());
    h.window.show();
    for (const QString& name : boxesOn)
        h.check(name.toUtf8().constData())->click();
    h.child<QLineEdit>("Text2")->setText(text2);
    h.child<QLineEdit>("Text4")->setText(text4);
    const auto before = snapshot(sandbox.root);
    h.button("Command1")->click();

    QCOMPARE(h.boxes.boxes.size(), std::size_t{1});
    QCOMPARE(h.boxes.boxes[0].title, title);
    if (message.isEmpty())
        message = QStringLiteral("Repertoire base: ") + q(root.string())
                  + QStringLiteral(" Incorrect.\nVeuillez modifier le chemin de votre (vos) base(s)");
    QCOMPARE(h.boxes.boxes[0].text, message);
    QVERIFY(!h.boxes.boxes[0].withCancel);
    QVERIFY(before == snapshot(sandbox.root));
    QVERIFY(!h.window.isRunning());
    QVERIFY(!h.child<QProgressBar>("ProgressBar1")->isVisible());
    QVERIFY(!h.label("Label8")->isVisible());
    QCOMPARE(h.list()->columnCount(), 1);
    for (const char* name : {"Check2", "Check3", "Check5", "Check6", "Check9", "Combo1"})
        QVERIFY2(h.child<QWidget>(name)->isEnabled(), name);
}

void tendancesForm1Test::typedThresholdStopsAtADecimalComma()
{
    Sandbox sandbox;
    makeBase(sandbox.base("one"), kStocks);
    sandbox.writeSettings(sandbox.base("one").string());
    Harness h(sandbox);
    QVERIFY(h.window.startUp());
    h.check("Check2")->click();
    h.check("Check3")->click();
    // "2,5" reads as 2: Bravo's 2.04 is out; "2.5" keeps it.
    h.child<QLineEdit>("Text2")->setText(QStringLiteral("2,5"));
    h.button("Command1")->click();
    QCOMPARE(h.column(0), (QStringList{QStringLiteral("Alpha"), QStringLiteral("charlie")}));
    h.child<QLineEdit>("Text2")->setText(QStringLiteral("2.5"));
    h.button("Command1")->click();
    QCOMPARE(h.column(0), sortedNames());
}

void tendancesForm1Test::proximityWithoutUnitIsSwitchedOffWhenCrossingsAreSought()
{
    Sandbox sandbox;
    makeBase(sandbox.base("one"), kStocks);
    sandbox.writeSettings(sandbox.base("one").string());
    Harness h(sandbox);
    QVERIFY(h.window.startUp());
    h.window.show();
    h.check("Check2")->click();
    h.check("Check6")->click();
    QVERIFY(h.child<QGroupBox>("frame3")->isVisible());
    bool hiddenDuringRun = false;
    h.duringRun([&] {
        hiddenDuringRun = !h.check("Check2")->isChecked() && !h.child<QWidget>("frame3")->isVisible()
                          && !h.child<QWidget>("Text2")->isVisible();
    });
    h.button("Command1")->click();
    QVERIFY(hiddenDuringRun);
    QVERIFY(!h.check("Check2")->isChecked());
    QVERIFY(!h.child<QGroupBox>("frame3")->isVisible());
    QVERIFY(!h.child<QLineEdit>("Text2")->isVisible());
    QCOMPARE(h.label("Label8")->text(), QStringLiteral("FIN: 0 erreur(s)"));
    QVERIFY(fs::exists(sandbox.base("one") / "base" / "groupe" / "Melvor.txt"));
    QVERIFY(!fs::exists(sandbox.base("one") / "base" / "groupe" / "Parvane.txt"));
}

void tendancesForm1Test::noRunConditionMeansNoScanAndNoMessage()
{
    Sandbox sandbox;
    makeBase(sandbox.base("one"), kStocks);
    sandbox.writeSettings(sandbox.base("one").string());
    Harness h(sandbox);
    QVERIFY(h.window.startUp());
    h.window.show();
    h.check("Check2")->click();
    h.button("Command1")->click();
    QVERIFY(h.boxes.boxes.empty());
    QVERIFY(h.check("Check2")->isChecked());
    QCOMPARE(h.label("Label8")->text(), QString());
    QCOMPARE(h.list()->columnCount(), 1);
    QVERIFY(!fs::exists(sandbox.base("one") / "base" / "groupe" / "Parvane.txt"));
    for (const char* name : {"Check2", "Check3", "Check4", "Check5", "Check6", "Check8", "Check9", "Combo1"})
        QVERIFY2(h.child<QWidget>(name)->isEnabled(), name);
}

void tendancesForm1Test::checkBoxesShowAndHideTheirControls()
{
    Sandbox sandbox;
    Harness h(sandbox);
    h.window.show();
    h.check("Check2")->click();
    QVERIFY(h.child<QWidget>("frame3")->isVisible());
    QVERIFY(h.child<QWidget>("Text2")->isVisible());
    h.check("Check2")->click();
    QVERIFY(!h.child<QWidget>("frame3")->isVisible());
    QVERIFY(!h.child<QWidget>("Text2")->isVisible());

    h.check("Check6")->click();
    for (const char* name : {"Frame2", "Text4", "Label2", "Check8"})
        QVERIFY2(h.child<QWidget>(name)->isVisible(), name);
    QVERIFY(!h.child<QWidget>("Text4")->isEnabled());
    h.check("Check8")->click();
    QVERIFY(h.child<QWidget>("Text4")->isEnabled());
    h.check("Check8")->click();
    QVERIFY(!h.child<QWidget>("Text4")->isEnabled());
    h.check("Check6")->click();
    for (const char* name : {"Frame2", "Text4", "Label2", "Check8"})
        QVERIFY2(!h.child<QWidget>(name)->isVisible(), name);
}

void tendancesForm1Test::resultsBoxMaximisesAndRestores()
{
    Sandbox sandbox;
    Harness h(sandbox);
    h.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&h.window));
    h.check("Check7")->click();
    QVERIFY(h.child<QWidget>("Frame1")->isVisible());
    QVERIFY(h.list()->isVisible());
    QVERIFY(h.window.windowState() & Qt::WindowMaximized);
    h.check("Check7")->click();
    QVERIFY(!h.child<QWidget>("Frame1")->isVisible());
    QVERIFY(!h.list()->isVisible());
    QVERIFY(!(h.window.windowState() & Qt::WindowMaximized));
    QTRY_COMPARE(h.window.size(), QSize(260, 560));
}

void tendancesForm1Test::resizeKeepsTheDesignSizesAsMinimum()
{
    Sandbox sandbox;
    Harness h(sandbox);
    auto* frame = h.child<QGroupBox>("Frame1");
    h.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&h.window));
    h.window.resize(400, 300);
    QCOMPARE(frame->size(), QSize(537, 563));
    QCOMPARE(h.list()->size(), QSize(519, 541));

    h.window.resize(900, 700);
    const QSize frameSize = frame->size();
    const QSize listSize = h.list()->size();
    QVERIFY(frameSize.width() > 537 && frameSize.height() > 563);
    QVERIFY(listSize.width() > 519 && listSize.height() > 541);
    QCOMPARE(frame->pos(), QPoint(262, 4));
    h.window.resize(1000, 800);
    QCOMPARE(frame->size(), frameSize + QSize(100, 100));
    QCOMPARE(h.list()->size(), listSize + QSize(100, 100));
    // The list keeps its margins inside the frame.
    QCOMPARE(frame->width() - h.list()->width(), 20);
    QCOMPARE(frame->height() - h.list()->height(), 25);
    QVERIFY(frame->geometry().right() < h.window.width());
    QVERIFY(frame->geometry().bottom() < h.window.height());
}

void tendancesForm1Test::columnsAreSizedAfterARun()
{
    Sandbox sandbox;
    std::vector<Stock> stocks = kStocks;
    stocks.push_back({"AVERYLONGSTOCKNAMEINDEED", "123456789012", "9,9", "9,9"});
    makeBase(sandbox.base("one"), stocks);
    sandbox.writeSettings(sandbox.base("one").string());
    Harness h(sandbox);
    QVERIFY(h.window.startUp());
    h.window.show();
    h.check("Check2")->click();
    h.check("Check3")->click();
    h.child<QLineEdit>("Text2")->setText(QStringLiteral("3"));
    h.button("Command1")->click();

    const QFontMetrics metrics(h.window.font());
    QTreeWidget* list = h.list();
    for (int column = 0; column < list->columnCount(); ++column) {
        const int caption = metrics.horizontalAdvance(list->headerItem()->text(column));
        QVERIFY2(list->columnWidth(column) >= caption + 10, qPrintable(list->headerItem()->text(column)));
    }
    // "Commentaires" is empty: exactly its caption plus 10 pixels.
    QCOMPARE(list->columnWidth(6), metrics.horizontalAdvance(QStringLiteral("Commentaires")) + 10);
    // "Action" holds a 16-character name, wider than its caption.
    QVERIFY(list->columnWidth(0) >= list->fontMetrics().horizontalAdvance(QStringLiteral("AVERYLONGSTOCKN")));
    QVERIFY(list->columnWidth(0) > metrics.horizontalAdvance(QStringLiteral("Action")) + 10);
}

void tendancesForm1Test::headerClickSortsOnceWithoutToggling()
{
    Sandbox sandbox;
    makeBase(sandbox.base("one"), kStocks);
    sandbox.writeSettings(sandbox.base("one").string());
    Harness h(sandbox);
    QVERIFY(h.window.startUp());
    h.check("Check2")->click();
    h.check("Check3")->click();
    h.child<QLineEdit>("Text2")->setText(QStringLiteral("3"));
    h.button("Command1")->click();

    const QStringList byGap = {QStringLiteral("charlie"), QStringLiteral("Alpha"), QStringLiteral("Bravo")};
    Q_EMIT h.list()->header()->sectionClicked(4);
    QCOMPARE(h.column(0), byGap);
    Q_EMIT h.list()->header()->sectionClicked(4);
    QCOMPARE(h.column(0), byGap);
    QVERIFY(!h.list()->isSortingEnabled());

    // A row added later is not put in order.
    auto* row = new QTreeWidgetItem(QStringList{QStringLiteral("aaa")});
    h.list()->addTopLevelItem(row);
    QCOMPARE(h.column(0).last(), QStringLiteral("aaa"));
    Q_EMIT h.list()->header()->sectionClicked(0);
    QCOMPARE(h.column(0), (QStringList{QStringLiteral("aaa")} + sortedNames()));
    // Equal texts keep their order.
    Q_EMIT h.list()->header()->sectionClicked(3);
    QCOMPARE(h.column(0).mid(0, 4), (QStringList{QStringLiteral("aaa")} + sortedNames()));
}

void tendancesForm1Test::linksOpenThroughTheDesktop()
{
    Sandbox sandbox;
    Harness h(sandbox);
    writeBytes(sandbox.program / "help-parvane.htm", "<html></html>");
    h.window.show();
    h.button("Command2")->click();
    QTest::mouseDClick(h.label("Label8"), Qt::LeftButton);
    QCOMPARE(h.opened.size(), std::size_t{2});
    QCOMPARE(fs::path(h.opened[0].toLocalFile().toStdString()), sandbox.program / "help-parvane.htm");
    QCOMPARE(fs::path(h.opened[1].toLocalFile().toStdString()), sandbox.program / "errorlog.txt");
}

void tendancesForm1Test::basesCommandRereadsTheBases()
{
    Sandbox sandbox;
    makeBase(sandbox.base("one"), kStocks);
    makeBase(sandbox.base("two"), kStocks);
    sandbox.writeSettings(sandbox.base("one").string(), sandbox.base("two").string());
    Harness h(sandbox);
    QVERIFY(h.window.startUp());
    h.window.show();
    Q_EMIT h.child<QComboBox>("Combo1")->activated(1);
    QCOMPARE(h.window.activeBase(), sandbox.base("two").string());

    int dialogs = 0;
    bool selbaseInDialog = false;
    h.window.setPathDialog([&] {
        ++dialogs;
        selbaseInDialog = h.window.isBaseSelection();
        sandbox.writeSettings(sandbox.base("two").string());
    });
    // Cancel: nothing happens.
    h.boxes.answers = {false};
    h.button("Command6")->click();
    QCOMPARE(dialogs, 0);
    QVERIFY(!h.window.isBaseSelection());
    QCOMPARE(h.boxes.boxes.size(), std::size_t{1});
    QCOMPARE(h.boxes.boxes[0].title, QStringLiteral("Parvane - Base(s)"));
    QCOMPARE(h.boxes.boxes[0].text,
             QStringLiteral("Fonction utilisee pour mettre a jour / Modifier / ajouter\n"
                            "la (les) base(s) de travaille de Korvix"));
    QVERIFY(h.boxes.boxes[0].withCancel);

    h.boxes.answers = {true};
    h.button("Command6")->click();
    QCOMPARE(dialogs, 1);
    QVERIFY(selbaseInDialog);
    QVERIFY(h.window.isBaseSelection());
    QCOMPARE(h.window.settings().base1, sandbox.base("two").string());
    QCOMPARE(h.window.settings().base2, std::string());
    QCOMPARE(h.window.activeBase(), sandbox.base("two").string());
    QVERIFY(!h.child<QComboBox>("Combo1")->isVisible());
    QVERIFY(!h.label("Label11")->isVisible());
    QCOMPARE(h.child<QComboBox>("Combo1")->currentIndex(), 0);
    // Korvix's folder is not read again.
    QCOMPARE(h.window.settings().pathkvx, sandbox.korvix.string() + "/");

    // Base 3 alone is not moved into base 2 by this command, and the chooser shows.
    h.window.setPathDialog(
        [&] { sandbox.writeSettings(sandbox.base("one").string(), "", sandbox.base("two").string()); });
    h.button("Command6")->click();
    QVERIFY(h.child<QComboBox>("Combo1")->isVisible());
    QCOMPARE(h.window.settings().base2, std::string());
    QCOMPARE(h.window.activeBase(), sandbox.base("one").string());
    QCOMPARE(h.child<QComboBox>("Combo1")->toolTip(), q(sandbox.base("one").string()));
}

void tendancesForm1Test::groupCommandClearsTheSelectionAroundTheDialog()
{
    Sandbox sandbox;
    Harness h(sandbox);
    h.window.setWindowTitle(QStringLiteral("Parvane - Groupe(s): CAC40"));
    h.window.selection().active = true;
    bool activeInDialog = true;
    bool enabledInDialog = true;
    QString captionInDialog;
    h.window.setGroupDialog([&] {
        activeInDialog = h.window.selection().active;
        enabledInDialog = h.button("Command7")->isEnabled();
        captionInDialog = h.window.windowTitle();
        h.window.selection().active = true;
    });
    h.button("Command7")->click();
    QVERIFY(!activeInDialog);
    QVERIFY(!enabledInDialog);
    QCOMPARE(captionInDialog, QStringLiteral("Parvane"));
    QVERIFY(h.button("Command7")->isEnabled());
    QVERIFY(h.window.selection().active);
}

void tendancesForm1Test::printAndKorvixCommandsCallTheirHooks()
{
    Sandbox sandbox;
    Harness h(sandbox);
    int prints = 0;
    int korvix = 0;
    h.window.setPrintCommand([&] { ++prints; });
    h.window.setKorvixCommand([&] { ++korvix; });
    h.button("Command3")->click();
    h.button("Command4")->click();
    h.button("Command4")->click();
    QCOMPARE(prints, 1);
    QCOMPARE(korvix, 2);
    QVERIFY(!h.window.isGroupPreselection());
    QVERIFY(!h.window.isWithComments());
    h.check("Check1")->click();
    h.child<QRadioButton>("Option1")->click();
    QVERIFY(h.window.isGroupPreselection());
    QVERIFY(h.window.isWithComments());
    QVERIFY(!h.child<QRadioButton>("Option2")->isChecked());
}

void tendancesForm1Test::closingDuringARunEndsItAndQuits()
{
    Sandbox sandbox;
    std::vector<Stock> stocks;
    for (int i = 0; i < 40; ++i)
        stocks.push_back({"S" + std::to_string(100 + i), std::to_string(100000 + i), "9,9", "9,9"});
    makeBase(sandbox.base("one"), stocks);
    sandbox.writeSettings(sandbox.base("one").string());
    Harness h(sandbox);
    QVERIFY(h.window.startUp());
    h.window.show();
    h.check("Check2")->click();
    h.check("Check3")->click();
    h.check("Check9")->click();
    h.child<QLineEdit>("Text2")->setText(QStringLiteral("3"));
    int quitsDuringRun = -1;
    h.duringRun([&] {
        h.button("Command5")->click();
        quitsDuringRun = h.quits;
    });
    h.button("Command1")->click();

    QCOMPARE(quitsDuringRun, 0);
    QCOMPARE(h.quits, 1);
    QVERIFY(h.window.isClosing());
    QVERIFY(!h.window.isVisible());
    QVERIFY(!h.window.isRunning());
    // The run stopped after the stock it was on; what it wrote is in the files, complete lines.
    QVERIFY(h.list()->topLevelItemCount() >= 1);
    QVERIFY(h.list()->topLevelItemCount() < 40);
    const std::string group = readBytes(sandbox.base("one") / "base" / "groupe" / "Parvane.txt");
    QVERIFY(!group.empty());
    QVERIFY(group.size() >= 2 && group.compare(group.size() - 2, 2, "\r\n") == 0);
    const std::string csv = readBytes(sandbox.base("one") / "base" / "result_03022026_0905.csv");
    QVERIFY(!csv.empty());
}

void tendancesForm1Test::closingWhenIdleQuitsAtOnce()
{
    Sandbox sandbox;
    Harness h(sandbox);
    h.window.show();
    h.window.close();
    QCOMPARE(h.quits, 1);
    QVERIFY(!h.window.isVisible());
}

QTEST_MAIN(tendancesForm1Test)
#include "tendancesForm1Test.moc"
