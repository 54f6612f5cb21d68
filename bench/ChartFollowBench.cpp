// What the chart window does when the selection moves to another row: find the row's trend line
// (the trend-line folder listed, the stock evaluated with its account), build the chart's model
// from a 5,000-line history, and paint the chart. The sum is the time a trader waits before the
// chart follows an Up or Down key.

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QPixmap>

#include "core/evaluation/Date.h"
#include "core/evaluation/NumberRules.h"
#include "core/scan/ChartModel.h"
#include "core/scan/StockAccount.h"
#include "mainwindow/ChartView.h"

namespace {

namespace fs = std::filesystem;
using namespace parvane;

constexpr int kHistoryLines = 5000;
constexpr int kStocks = 300;

fs::path g_root;

void writeBase()
{
    g_root = fs::temp_directory_path() / ("parvane-chart-bench-" + std::to_string(getpid()));
    fs::create_directories(g_root / "base" / "droite");
    fs::create_directories(g_root / "base" / "histo");
    for (int stock = 0; stock < kStocks; ++stock) {
        const std::string name =
            "STOCK" + std::to_string(stock) + "_" + std::to_string(100000 + stock) + ".txt";
        std::ofstream lines(g_root / "base" / "droite" / name, std::ios::binary);
        lines << "1\t0\t0,0001#\t9,55#\t4990\t0\t4998\t0\t0\t0\r\n0\t0\t0#\t10#\t990\t0\t998\t0\t0\t0\r\n";
        std::ofstream history(g_root / "base" / "histo" / name, std::ios::binary);
        std::int64_t day = evaluation::daysFromCivil({2007, 1, 1});
        for (int line = 0; line < kHistoryLines; ++line, ++day) {
            while (evaluation::dayOfWeek(evaluation::civilFromDays(day)) == 1
                   || evaluation::dayOfWeek(evaluation::civilFromDays(day)) == 7)
                ++day;
            const evaluation::Date date = evaluation::civilFromDays(day);
            char text[96];
            const double close = line == kHistoryLines - 2   ? 10.2
                                 : line == kHistoryLines - 1 ? 9.9
                                                             : 10 + line % 7 * 0.1;
            std::snprintf(text, sizeof text, "%04d%02d%02d\t0\t0\t0\t%.2f\t%d\r\n", date.year, date.month,
                          date.day, close, 1000 + line % 13);
            history << text;
        }
    }
}

// The row of the crossing of STOCK150's first line, as the scan names it.
scan::RowIdentity row()
{
    return {"STOCK150_100150.txt", 1, "DAILY", true, g_root};
}

scan::ScanOptions options()
{
    scan::ScanOptions result;
    result.proximity = true;
    result.daily = true;
    result.crossing = true;
    result.maxGap = 3;
    return result;
}

void BM_FindLineAndBuildModel(benchmark::State& state)
{
    const scan::BaseLayout layout = scan::BaseLayout::resolve(g_root, "", "");
    for (auto _ : state) {
        // The stock is walked again each time, as the window does for each row.
        const auto found = scan::findRowLine(layout, options(), row(), '.');
        if (!found)
            state.SkipWithError("the row's line was not found");
        auto model = scan::loadChartModel(found->stock.historyFile, found->stock.lines[found->index], 120);
        benchmark::DoNotOptimize(model);
    }
}

BENCHMARK(BM_FindLineAndBuildModel)->Unit(benchmark::kMillisecond);

void BM_PaintChart(benchmark::State& state)
{
    const scan::BaseLayout layout = scan::BaseLayout::resolve(g_root, "", "");
    const auto found = scan::findRowLine(layout, options(), row(), '.');
    mainwindow::ChartView view;
    view.resize(740, 330);
    view.setModel(scan::loadChartModel(found->stock.historyFile, found->stock.lines[found->index], 120),
                  QStringLiteral("STOCK150"));
    for (auto _ : state) {
        QPixmap pixmap = view.grab();
        benchmark::DoNotOptimize(pixmap);
    }
}

BENCHMARK(BM_PaintChart)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    writeBase();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    fs::remove_all(g_root);
    return 0;
}
