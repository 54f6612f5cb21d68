#include "support/TestBase.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <system_error>
#include <tuple>

#include <gtest/gtest.h>

#include "support/TestFiles.h"

namespace parvane::test {

namespace fs = std::filesystem;

namespace {

// A history file: one line per quote on consecutive trading days (Monday to Friday) ending on
// kLastDate, each line ended by CR LF.
struct Quote
{
    std::string close = "10";
    std::string volume = "1000";
};

std::string historyText(const std::vector<Quote>& quotes)
{
    using namespace std::chrono;
    sys_days day = year{2026} / June / 19;
    std::vector<std::string> dates(quotes.size());
    for (std::size_t i = quotes.size(); i > 0; day -= days{1}) {
        const year_month_day date(day);
        char text[16];
        std::snprintf(text, sizeof text, "%04d%02u%02u", static_cast<int>(date.year()),
                      static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
        if (weekday(day) != Saturday && weekday(day) != Sunday)
            dates[--i] = text;
    }
    std::string text;
    for (std::size_t i = 0; i < quotes.size(); ++i)
        text += dates[i] + "\t1\t2\t0,5\t" + quotes[i].close + "\t" + quotes[i].volume + "\r\n";
    return text;
}

// A large file is known by its size, its modification time and a hash of its first MiB, so that
// a snapshot does not read hundreds of megabytes.
std::string bigFileText(const fs::path& file, std::uintmax_t size)
{
    std::ifstream in(file, std::ios::binary);
    std::uint64_t hash = 14695981039346656037ull;
    std::string buffer(std::size_t{1} << 20, '\0');
    in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    for (std::streamsize i = 0; i < in.gcount(); ++i) {
        hash ^= static_cast<unsigned char>(buffer[static_cast<std::size_t>(i)]);
        hash *= 1099511628211ull;
    }
    std::error_code ignored;
    const auto written = fs::last_write_time(file, ignored).time_since_epoch().count();
    return "<big>" + std::to_string(size) + ":" + std::to_string(written) + ":" + std::to_string(hash);
}

} // namespace

std::string dailyHistory(std::size_t count, std::string_view previousClose, std::string_view lastClose,
                         std::string_view previousVolume, std::string_view lastVolume)
{
    std::vector<Quote> quotes(count);
    if (count >= 2)
        quotes[count - 2] = {std::string(previousClose), std::string(previousVolume)};
    quotes[count - 1] = {std::string(lastClose), std::string(lastVolume)};
    return historyText(quotes);
}

std::string weeklyHistory(std::size_t count, std::string_view previousWeekClose, std::string_view lastClose,
                          std::string_view previousWeekVolume, std::string_view lastWeekVolume)
{
    std::vector<Quote> quotes(count);
    for (std::size_t i = count - 10; i < count - 5; ++i)
        quotes[i].volume = previousWeekVolume;
    for (std::size_t i = count - 5; i < count; ++i)
        quotes[i].volume = lastWeekVolume;
    quotes[count - 6].close = previousWeekClose;
    quotes[count - 1].close = lastClose;
    return historyText(quotes);
}

std::string trendLineFile(const std::vector<TrendLineFields>& lines)
{
    std::string text;
    for (const TrendLineFields& line : lines) {
        text += line.unit + "\t" + line.kind + "\t" + line.slope + "#\t" + line.intercept + "#\t"
                + line.firstAnchor + "\t20260105\t" + line.secondAnchor + "\t20260610\t" + line.field8 + "\t"
                + line.field9;
        if (line.extension)
            text += "\t255\t1\t0\t0\t0\t" + *line.extension;
        text += "\r\n";
    }
    return text;
}

TestBase::TestBase(fs::path root)
    : m_root(std::move(root))
{
    // A folder that cannot be made throws, which fails the test.
    for (const fs::path& folder : {droite(), histo(), groupe(), comment()})
        fs::create_directories(folder);
}

void TestBase::addStock(std::string_view fileName, std::string_view trendLines,
                        std::optional<std::string_view> history) const
{
    writeFile(droite() / fileName, trendLines);
    if (history)
        writeFile(histo() / fileName, *history);
}

void TestBase::addGroup(std::string_view groupFileName, std::string_view bytes) const
{
    writeFile(groupe() / groupFileName, bytes);
}

std::map<std::string, std::string> snapshotBaseTree(const fs::path& root)
{
    std::map<std::string, std::string> tree;
    std::error_code error;
    for (fs::recursive_directory_iterator entry(root, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().lexically_relative(root).generic_string();
        std::error_code ignored;
        const fs::file_status status = entry->symlink_status(ignored);
        if (fs::is_symlink(status)) {
            tree[name] = "<link>" + fs::read_symlink(entry->path(), ignored).string();
        } else if (fs::is_directory(status)) {
            tree[name] = "<dir>";
        } else if (!fs::is_regular_file(status)) {
            tree[name] = "<special>";
        } else {
            const std::uintmax_t size = fs::file_size(entry->path(), ignored);
            tree[name] = size > (1u << 20) ? bigFileText(entry->path(), size) : readFile(entry->path());
        }
    }
    if (error)
        ADD_FAILURE() << "cannot walk " << root << ": " << error.message();
    return tree;
}

void writeSparseFile(const fs::path& file, std::uintmax_t bytes)
{
    writeFile(file, "");
    fs::resize_file(file, bytes); // throws on failure, which fails the test
}

void addTraderStocks(const TestBase& base, bool sanofiNear)
{
    TrendLineFields far;
    far.intercept = "20";
    std::vector<TrendLineFields> elan(3);
    elan[1].intercept = "10,02";
    elan[2].intercept = "9,98";
    elan.push_back(far);
    base.addStock("\xC3\x89LAN_123456.txt", trendLineFile(elan), dailyHistory(100, "9,9", "10,05"));
    const std::string line = trendLineFile({TrendLineFields{}});
    for (const auto& [stock, previous, last] :
         {std::tuple{"CAF\xC9_234567.txt", "10,1", "10,01"},
          {"TOTAL_FR0000120271.txt", "10,1", "10,02"},
          {"SANOFI_FR0000120578.txt", sanofiNear ? "9,9" : "15", sanofiNear ? "10,05" : "15"},
          {"SOCIETEGENERALEPARIS_130000.txt", "10,1", "10,03"},
          {"SOCIETEGENERALELYON_130001.txt", "10,1", "10,04"}})
        base.addStock(stock, line, dailyHistory(100, previous, last));
    base.addGroup("S\xE9lection.txt", "123456\t\xC9LAN\r\nFR0000120578\tSANOFI\r\n");
    base.addGroup("Int\xC3\xA9r\xC3\xAAts.txt", "234567\tCAF\xC9\r\nFR0000120271\tTOTAL\r\n");
}

} // namespace parvane::test
