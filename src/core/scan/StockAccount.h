#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/evaluation/EvaluationObserver.h"
#include "core/scan/PathMapping.h"
#include "core/scan/ScanOptions.h"

namespace parvane::scan {

// Why each trend line of one stock was or was not reported, as the scan evaluates it.
struct StockAccount
{
    std::string fileName;                            // the stock file name as found on the disk
    std::filesystem::path trendLineFile;             // empty when the stock has no trend-line file
    std::filesystem::path historyFile;               // resolved; may not exist
    bool tooManyLines = false;                       // more than 100 lines: the scan ignores the file
    std::vector<evaluation::TrendLineAccount> lines; // one per line of the trend-line file
    std::vector<std::string> messages;               // what the scan would write to the error log
};

// Evaluates the stock `nameCode` (a stock file name without ".txt", matched without regard to
// case) of the base of `layout` under `options`, with the scan's own evaluation, and returns the
// account of each of its trend lines. Writes nothing: no row, no group, no CSV line, no error-log
// line. Returns std::nullopt when the base has neither a trend-line file nor a history of that
// name, or when the name holds a path separator.
std::optional<StockAccount> explainStock(const BaseLayout& layout, const ScanOptions& options,
                                         std::string_view nameCode, char decimalSeparator);

// A row of the results list, as its texts stand (Windows-1252 bytes, padded or not).
struct ResultRowTexts
{
    std::string action;  // marked name: "X_" for a crossing, cut to 15 characters when longer
    std::string sicovam; // code
    std::string ut;      // unit text
    std::string ecart;   // gap text
};

// The trend line behind a row: the account of its stock and the index of the line in it.
struct RowLine
{
    StockAccount stock;
    std::size_t index = 0;
};

// Finds the trend line behind result rows of one run. The trend-line folder is listed once, on
// the first search.
class RowLineFinder
{
public:
    RowLineFinder(BaseLayout layout, ScanOptions options, char decimalSeparator);

    // The stock whose name and code the row shows and, among its reported lines, the first whose
    // unit, gap text and crossing mark are the row's. std::nullopt when no line matches (the base
    // changed since the run).
    std::optional<RowLine> find(const ResultRowTexts& row);

    const BaseLayout& layout() const { return m_layout; }

    const ScanOptions& options() const { return m_options; }

    char decimalSeparator() const { return m_decimalSeparator; }

private:
    BaseLayout m_layout;
    ScanOptions m_options;
    char m_decimalSeparator;
    bool m_listed = false;
    std::vector<std::string> m_files;
};

} // namespace parvane::scan
