// Reading a quotation history, the step that every stock of a scan goes through, against the
// plain cost of getting the same bytes from the file system.

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include "core/evaluation/HistoryReader.h"

namespace {

namespace fs = std::filesystem;
using parvane::evaluation::civilFromDays;
using parvane::evaluation::Date;
using parvane::evaluation::dayOfWeek;
using parvane::evaluation::daysFromCivil;

constexpr int kHistoryLines = 5000;

fs::path g_history;
std::size_t g_historyBytes = 0;

// A price with two decimals and a decimal comma, as Korvix writes them under French settings.
std::string price(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    std::string result(text);
    if (const auto point = result.find('.'); point != std::string::npos)
        result[point] = ',';
    return result;
}

// Twenty years of trading days (Monday to Friday) of a stock in a random walk, CR LF line ends:
// "yyyymmdd\topen\thigh\tlow\tclose\tvolume".
std::string makeHistory(int lines)
{
    std::mt19937 random(20011212);
    std::normal_distribution<double> move(0.0, 0.015);
    std::uniform_real_distribution<double> spread(0.0, 0.02);
    std::lognormal_distribution<double> volume(11.0, 0.8);
    std::string text;
    std::int64_t day = daysFromCivil(Date{2000, 1, 3});
    double close = 45.0;
    for (int i = 0; i < lines; ++i) {
        while (dayOfWeek(civilFromDays(day)) == 1 || dayOfWeek(civilFromDays(day)) == 7)
            ++day;
        const Date date = civilFromDays(day++);
        const double open = close;
        close = std::max(0.5, open * (1.0 + move(random)));
        const double high = std::max(open, close) * (1.0 + spread(random));
        const double low = std::min(open, close) * (1.0 - spread(random));
        char stamp[16];
        std::snprintf(stamp, sizeof stamp, "%04d%02d%02d", date.year, date.month, date.day);
        text.append(stamp).append("\t").append(price(open)).append("\t").append(price(high));
        text.append("\t").append(price(low)).append("\t").append(price(close)).append("\t");
        text.append(std::to_string(static_cast<long long>(volume(random)))).append("\r\n");
    }
    return text;
}

// The floor: open, read the whole file into a buffer kept from one run to the next, close.
void BM_PlainRead(benchmark::State& state)
{
    std::vector<char> buffer(g_historyBytes + 1);
    for (auto _ : state) {
        const int fd = ::open(g_history.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            state.SkipWithError("cannot open the history");
            break;
        }
        std::size_t length = 0;
        for (;;) {
            const ssize_t got = ::read(fd, buffer.data() + length, buffer.size() - length);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0 || (length += static_cast<std::size_t>(got)) == buffer.size())
                break;
        }
        ::close(fd);
        benchmark::DoNotOptimize(buffer.data());
        benchmark::DoNotOptimize(length);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * g_historyBytes));
}

BENCHMARK(BM_PlainRead);

// The reading step of the reader alone: the same open and read, with fstat's refusal of what is
// not a regular file.
void BM_ReadWholeFileInto(benchmark::State& state)
{
    std::string buffer;
    std::size_t length = 0;
    for (auto _ : state) {
        if (!parvane::text::readWholeFileInto(g_history, buffer, length).ok()) {
            state.SkipWithError("cannot read the history");
            break;
        }
        benchmark::DoNotOptimize(buffer.data());
        benchmark::DoNotOptimize(length);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * g_historyBytes));
}

BENCHMARK(BM_ReadWholeFileInto);

void BM_HistoryReaderRead(benchmark::State& state)
{
    parvane::evaluation::HistoryReader reader;
    parvane::evaluation::HistorySummary summary;
    for (auto _ : state) {
        if (!reader.read(g_history, summary).ok()) {
            state.SkipWithError("cannot read the history");
            break;
        }
        benchmark::DoNotOptimize(summary.lineCount);
        benchmark::DoNotOptimize(summary.lookBack.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * g_historyBytes));
}

BENCHMARK(BM_HistoryReaderRead);

// The summary alone, of bytes already in memory.
void BM_Summarize(benchmark::State& state)
{
    const std::string bytes = makeHistory(kHistoryLines);
    parvane::evaluation::HistorySummary summary;
    for (auto _ : state) {
        parvane::evaluation::HistoryReader::summarize(bytes, summary);
        benchmark::DoNotOptimize(summary.lineCount);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

BENCHMARK(BM_Summarize);

} // namespace

int main(int argc, char** argv)
{
    std::string folder = (fs::temp_directory_path() / "parvane-bench-XXXXXX").string();
    if (::mkdtemp(folder.data()) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    g_history = fs::path(folder) / "ALPHA_120000.txt";
    const std::string history = makeHistory(kHistoryLines);
    g_historyBytes = history.size();
    std::ofstream(g_history, std::ios::binary) << history;

    benchmark::Initialize(&argc, argv);
    benchmark::AddCustomContext("history", std::to_string(kHistoryLines) + " lines, "
                                               + std::to_string(g_historyBytes) + " bytes");
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    std::error_code error;
    fs::remove_all(folder, error);
    return 0;
}
