#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace parvane::test {

// Builders of small Korvix bases for the scan tests. They write the files as Korvix does (Tab
// separated fields, CR LF line ends) and compute dates on their own, so that the tests do not
// lean on the readers that they check.

// A daily history of `count` lines closing at 10 with a volume of 1000, but for the last two.
std::string dailyHistory(std::size_t count, std::string_view previousClose, std::string_view lastClose,
                         std::string_view previousVolume = "1000", std::string_view lastVolume = "1000");

// A history of `count` trading days ending on Friday 19 June 2026: the Friday before closes at
// `previousWeekClose`, the last day at `lastClose`, every other day at 10. The five days of the
// last week trade `lastWeekVolume` each, the five days of the week before `previousWeekVolume`.
// With 100 lines the history runs from a Monday to a Friday: 101 working days by Korvix's count,
// so 21 weeks; with 245 lines, 50 weeks. `count` is at least 11.
std::string weeklyHistory(std::size_t count, std::string_view previousWeekClose, std::string_view lastClose,
                          std::string_view previousWeekVolume = "1000",
                          std::string_view lastWeekVolume = "1000");

// The fields of one trend line as Korvix writes them. Slope and intercept are written followed by
// the one character that Korvix puts after them ("#").
struct TrendLineFields
{
    std::string unit = "1"; // "1" daily, "0" weekly, "-1" monthly
    std::string kind = "0"; // "1" no age limit, "3" never evaluated
    std::string slope = "0";
    std::string intercept = "10";
    std::string firstAnchor = "90";
    std::string secondAnchor = "98";
    std::string field8 = "0";
    std::string field9 = "0";
    std::optional<std::string> extension; // field 15; the line has ten fields without it
};

// A trend-line file: each line followed by CR LF.
std::string trendLineFile(const std::vector<TrendLineFields>& lines);

// A base under `root`: root/base with its droite, histo, groupe and comment folders.
class TestBase
{
public:
    explicit TestBase(std::filesystem::path root);

    const std::filesystem::path& root() const { return m_root; }

    std::filesystem::path base() const { return m_root / "base"; }

    std::filesystem::path droite() const { return base() / "droite"; }

    std::filesystem::path histo() const { return base() / "histo"; }

    std::filesystem::path groupe() const { return base() / "groupe"; }

    std::filesystem::path comment() const { return base() / "comment"; }

    // Writes the trend-line file and the history file of a stock (`fileName`: name, "_", code,
    // ".txt"). Without `history` the stock has no history file.
    void addStock(std::string_view fileName, std::string_view trendLines,
                  std::optional<std::string_view> history) const;

    void addGroup(std::string_view groupFileName, std::string_view bytes) const;

private:
    std::filesystem::path m_root;
};

// The names traders have, in one base for the core, parvane-scan and window tests alike. With
// daily proximity at 3 % and crossings:
// - "ÉLAN_123456.txt", UTF-8 on the disk as Wine writes it: three crossings (gaps 0.50, 0.30 and
//   0.70 %) on lines 1 to 3, and a line far from the price on line 4;
// - "CAF\xC9_234567.txt", Windows-1252 on the disk (a copy from Windows): near (0.10 %);
// - "TOTAL_FR0000120271.txt" near (0.20 %) and "SANOFI_FR0000120578.txt" crossing (0.50 %),
//   ISIN codes that share "FR000";
// - "SOCIETEGENERALEPARIS_130000.txt" and "SOCIETEGENERALELYON_130001.txt" near (0.30 and 0.40 %), names
//   that share their first 15 characters;
// - the groups "S\xE9lection.txt" (Windows-1252 on the disk: ÉLAN and SANOFI) and "Intérêts.txt"
//   (UTF-8: CAFÉ and TOTAL), their lines in Windows-1252 as Korvix writes them.
// `sanofiNear` false puts SANOFI's last close far from its line (no row).
void addTraderStocks(const TestBase& base, bool sanofiNear = true);

// Like snapshotTree, but safe on anything a broken base may hold: a FIFO or another special
// file is recorded as "<special>" without being opened, and a file larger than 1 MiB by its size,
// modification time and a hash of its first MiB.
std::map<std::string, std::string> snapshotBaseTree(const std::filesystem::path& root);

// Makes `file` a sparse regular file of `bytes` bytes (nothing is written to disk), for a file
// that exists but is too large to be read.
void writeSparseFile(const std::filesystem::path& file, std::uintmax_t bytes);

} // namespace parvane::test
