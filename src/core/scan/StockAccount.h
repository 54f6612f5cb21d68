#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/evaluation/EvaluationObserver.h"
#include "core/scan/PathMapping.h"
#include "core/scan/RowIdentity.h"
#include "core/scan/ScanOptions.h"
#include "core/scan/StockFinder.h"

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

// Evaluates the stock whose file name is `fileName` (as on the disk; a different case is found
// too) in the base of `layout` under `options`, with the scan's own per-stock step, and returns
// the account of each of its trend lines. Writes nothing: no row, no group, no CSV line, no
// error-log line. Returns std::nullopt when the base has neither a trend-line file nor a history
// of that name, or when the name would lead out of the base's folders.
std::optional<StockAccount> explainStock(const BaseLayout& layout, const ScanOptions& options,
                                         std::string_view fileName, char decimalSeparator);

// Finds the stock that a person typed (see findStock) among the trend-line files of the base,
// then among its histories (a stock without trend lines).
StockSearch findStockInBase(const BaseLayout& layout, std::string_view typed);

// The trend line behind a row: the account of its stock and the index of the line in it.
struct RowLine
{
    StockAccount stock;
    std::size_t index = 0;
};

// The trend line of the row `identity`, evaluated again under `options` in the base of `layout`
// (the base the row came from). std::nullopt when the stock or its line is no longer there.
std::optional<RowLine> findRowLine(const BaseLayout& layout, const ScanOptions& options,
                                   const RowIdentity& identity, char decimalSeparator);

} // namespace parvane::scan
