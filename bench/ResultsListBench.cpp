// The results list of the main window with many rows: filling it as a run does, sizing its
// columns, the end-of-run sort and a real click on a header. Prints one line of figures per size;
// run it on the offscreen platform (QT_QPA_PLATFORM=offscreen) or on a desktop.
//
// With a base (parvane_results_list_bench ROOT [PARVANE_SCAN]), first a real run of that base in
// the window through clicks, proximity 5 % daily and weekly with crossings: the longest time
// between two passes of the event loop, when the first rows showed, and the run's time beside
// parvane-scan's on the same base and options (the better of two runs of each).

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "dialogs/ColumnSizing.h"
#include "dialogs/MessageBoxes.h"
#include "mainwindow/ListSorting.h"
#include "mainwindow/ResultsListSink.h"
#include "mainwindow/tendancesForm1.h"

namespace {

using Clock = std::chrono::steady_clock;
using parvane::scan::ResultColumn;

class SilentBoxes final : public parvane::dialogs::MessageBoxes
{
public:
    void information(QWidget*, const QString&, const QString&) override {}

    bool confirm(QWidget*, const QString&, const QString&) override { return true; }
};

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Rows as a scan writes them: stock names in no order, French decimals, a comment now and then.
void fill(parvane::scan::ResultsSink& sink, int rows)
{
    sink.clear();
    unsigned state = 12345;
    const auto next = [&state] { return state = state * 1103515245U + 12345U; };
    for (int row = 1; row <= rows; ++row) {
        sink.addRow({});
        const auto index = static_cast<std::size_t>(row);
        const std::string name = "Soci\xE9t\xE9 " + std::to_string(next() % 100000U) + " SA";
        sink.setText(index, ResultColumn::Action, name);
        sink.setText(index, ResultColumn::Sicovam, "FR000" + std::to_string(100000U + next() % 900000U));
        sink.setText(index, ResultColumn::Dernier,
                     std::to_string(next() % 500U) + "," + std::to_string(next() % 100U));
        sink.setText(index, ResultColumn::UT, (next() & 1U) != 0 ? "DAILY" : "WEEKLY");
        sink.setText(index, ResultColumn::Ecart, "-0," + std::to_string(next() % 100U));
        sink.setText(index, ResultColumn::Var,
                     std::to_string(next() % 20U) + "," + std::to_string(next() % 100U));
        if (row % 7 == 0)
            sink.setText(index, ResultColumn::Commentaires, "Support long terme, \xE0 surveiller de pr\xE8s");
    }
}

// zarbel.ini in `program` for the base `root`, with a Korvix executable that only has to exist.
void writeProgramFolder(const std::filesystem::path& program, const std::filesystem::path& root)
{
    std::filesystem::create_directories(program / "korvix");
    std::FILE* korvix = std::fopen((program / "korvix" / "korvix.exe").c_str(), "wb");
    std::FILE* ini = std::fopen((program / "zarbel.ini").c_str(), "wb");
    if (korvix == nullptr || ini == nullptr)
        std::exit(EXIT_FAILURE);
    std::fclose(korvix);
    std::fprintf(ini, "[path]\r\nexe=%s/\r\ndroite=\\base\\droite\\\r\nhisto=\\base\\histo\\\r\nbase1=%s\r\n",
                 (program / "korvix").c_str(), root.c_str());
    std::fclose(ini);
}

double scanTime(const QString& scan, const std::filesystem::path& program)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    const auto start = Clock::now();
    process.start(scan, {QStringLiteral("--home"), QString::fromStdString(program.string()),
                         QStringLiteral("--proximity"), QStringLiteral("--daily"), QStringLiteral("--weekly"),
                         QStringLiteral("--max-gap"), QStringLiteral("5"), QStringLiteral("--crossing")});
    if (!process.waitForFinished(600000))
        return -1;
    return millisecondsSince(start);
}

// One run of the base in the window, by clicks; prints its figures and returns its time.
double windowRun(parvane::mainwindow::tendancesForm1& window)
{
    QTreeWidget* list = window.resultsList();
    QElapsedTimer sinceStart;
    double longestGap = 0;
    double longestGapEnd = 0;
    double lastPass = 0;
    double firstRows = -1;
    int rowsAtFirst = 0;
    // A timer of no interval fires at every pass of the event loop.
    QTimer passes;
    QObject::connect(&passes, &QTimer::timeout, [&] {
        const double now = static_cast<double>(sinceStart.nsecsElapsed()) / 1e6;
        if (now - lastPass > longestGap) {
            longestGap = now - lastPass;
            longestGapEnd = now;
        }
        lastPass = now;
        if (firstRows < 0 && list->topLevelItemCount() > 0) {
            firstRows = now;
            rowsAtFirst = list->topLevelItemCount();
        }
    });
    passes.start(0);
    sinceStart.start();
    QTest::mouseClick(window.findChild<QWidget*>(QStringLiteral("Command1")), Qt::LeftButton);
    const double runTime = static_cast<double>(sinceStart.nsecsElapsed()) / 1e6;
    QApplication::processEvents();
    passes.stop();
    std::printf("window run %.0f ms, %d rows, longest gap between event-loop passes %.1f ms (the end "
                "included; it ended at %.0f ms), first %d rows shown at %.0f ms, status \"%s\"\n",
                runTime, list->topLevelItemCount(), longestGap, longestGapEnd, rowsAtFirst, firstRows,
                window.findChild<QLabel*>(QStringLiteral("Label8"))->text().toUtf8().constData());
    return runTime;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    SilentBoxes boxes;
    parvane::mainwindow::tendancesForm1 window(std::filesystem::temp_directory_path(), boxes);
    QTreeWidget* list = window.resultsList();
    list->show();
    window.resize(1200, 800);
    window.show();
    QApplication::processEvents();

    if (argc > 1) {
        const std::filesystem::path program = std::filesystem::temp_directory_path() / "parvane-window-bench";
        writeProgramFolder(program, std::filesystem::absolute(argv[1]));
        const QString scan = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("parvane-scan");
        parvane::mainwindow::tendancesForm1 runWindow(program, boxes);
        if (!runWindow.startUp())
            return EXIT_FAILURE;
        runWindow.show();
        for (const char* box : {"Check2", "Check3", "Check4", "Check6", "Check7"})
            QTest::mouseClick(runWindow.findChild<QWidget*>(QString::fromLatin1(box)), Qt::LeftButton);
        auto* gap = runWindow.findChild<QLineEdit*>(QStringLiteral("Text2"));
        gap->selectAll();
        QTest::keyClicks(gap, QStringLiteral("5"));
        QApplication::processEvents();
        double bestScan = 1e30;
        double bestWindow = 1e30;
        for (int round = 0; round < 2; ++round) {
            const double scanned = scanTime(scan, program);
            std::printf("parvane-scan %.0f ms\n", scanned);
            bestScan = std::min(bestScan, scanned);
            bestWindow = std::min(bestWindow, windowRun(runWindow));
        }
        std::printf("window / parvane-scan: %.2f (%.0f ms / %.0f ms)\n\n", bestWindow / bestScan, bestWindow,
                    bestScan);
        std::fflush(stdout);
    }

    std::printf("%8s %10s %10s %10s %10s %14s\n", "rows", "fill ms", "size ms", "sort ms", "layout ms",
                "header ms");
    for (const int rows : {10000, 30000, 100000}) {
        parvane::mainwindow::ResultsListSink sink(*list);
        auto start = Clock::now();
        fill(sink, rows);
        sink.flush();
        QApplication::processEvents();
        const double fillTime = millisecondsSince(start);

        start = Clock::now();
        parvane::dialogs::ajustecolonnes(list, &window, sink.widestItems());
        QApplication::processEvents();
        const double sizeTime = millisecondsSince(start);

        start = Clock::now();
        parvane::mainwindow::sortResultsList(*list, 0, parvane::scan::SortDirection::Ascending);
        const double sortTime = millisecondsSince(start);
        start = Clock::now();
        QApplication::processEvents();
        const double layoutTime = millisecondsSince(start);

        // A click on "Ecart%", where the user's pointer would be, then the repaint.
        QHeaderView* header = list->header();
        const int column = static_cast<int>(ResultColumn::Ecart);
        const QPoint where(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                           header->height() / 2);
        start = Clock::now();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, where);
        QApplication::processEvents();
        const double clickTime = millisecondsSince(start);

        std::printf("%8d %10.1f %10.1f %10.1f %10.1f %14.1f\n", rows, fillTime, sizeTime, sortTime,
                    layoutTime, clickTime);
        std::fflush(stdout);
    }
    return EXIT_SUCCESS;
}
