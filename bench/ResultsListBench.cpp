// The results list of the main window with many rows: filling it as a run does, sizing its
// columns, the end-of-run sort and a real click on a header. Prints one line of figures per size;
// run it on the offscreen platform (QT_QPA_PLATFORM=offscreen) or on a desktop.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <QApplication>
#include <QHeaderView>
#include <QTest>
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

    std::printf("%8s %10s %10s %10s %14s\n", "rows", "fill ms", "size ms", "sort ms", "header ms");
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
        parvane::mainwindow::sortByColumnOnce(*list, 0, parvane::mainwindow::resultsColumnOrder(0));
        QApplication::processEvents();
        const double sortTime = millisecondsSince(start);

        // A click on "Ecart%", where the user's pointer would be, then the repaint.
        QHeaderView* header = list->header();
        const int column = static_cast<int>(ResultColumn::Ecart);
        const QPoint where(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                           header->height() / 2);
        start = Clock::now();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, where);
        QApplication::processEvents();
        const double clickTime = millisecondsSince(start);

        std::printf("%8d %10.1f %10.1f %10.1f %14.1f\n", rows, fillTime, sizeTime, sortTime, clickTime);
        std::fflush(stdout);
    }
    return EXIT_SUCCESS;
}
