#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/scan/ResultsSink.h"
#include "core/scan/ScanOptions.h"

namespace parvane::scan {

// One row of the results list: the texts of its seven columns.
using ResultRow = std::array<std::string, kResultColumnCount>;

// How the texts of the rows given to markNewRows are encoded: the window's list holds the
// Windows-1252 texts of the base's files, parvane-scan prints UTF-8.
enum class RowEncoding
{
    Windows1252,
    Utf8,
};

// What is new since the previous scan. The rows of each complete run are kept in the program
// folder, one file per base ("newrows-<hash of the base folder>.txt", Windows-1252, CR LF), each
// line holding the options of its run and one hit; the window and parvane-scan keep them in the
// same file, so that a run of either program is the previous run of the other. Two rows are the
// same hit when the stock, its code, the time unit and the kind of hit (crossing or proximity)
// match; the other columns (close, gap, variation, comment) change from day to day and do not
// count. Runs with other options (another unit, gap, volume rule or group selection) are other
// runs, kept side by side in the file.

// The text that tells the options of one run from another's: the options that change which rows
// a run reports, and the groups scanned (in any order; none for the whole base).
std::string runOptionsKey(const ScanOptions& options, std::vector<std::string> groups);

// The file that keeps the rows of the runs on the base folder `base`, in `programFolder`.
std::filesystem::path keptRowsFile(const std::filesystem::path& programFolder,
                                   const std::filesystem::path& base);

// The kind of hit of a row (crossing rows carry the "X_" mark before the name) and its stock.
bool isCrossing(const ResultRow& row);
std::string_view stockName(const ResultRow& row);

struct NewRowsResult
{
    // Per row of the run, in their order: the previous run of the same options did not have it.
    // Every row is new when there was no previous run, or when the kept file cannot be read.
    std::vector<bool> isNew;
    // What went wrong with the kept file, in French, one message per failure (empty when none).
    std::vector<std::string> problems;
};

// Marks the rows of `rows` that the previous run of `optionsKey` kept in `file` does not hold.
// When `complete` (the run was neither refused nor interrupted), the run's rows then replace
// those of the previous run in `file`: the file is written beside it and renamed over it, so that
// an interrupted write leaves the previous file whole, and the lines of other runs are kept byte
// for byte. A file that exists but cannot be read is left alone.
[[nodiscard]] NewRowsResult markNewRows(const std::filesystem::path& file, const std::string& optionsKey,
                                        const std::vector<ResultRow>& rows, RowEncoding encoding,
                                        bool complete);

} // namespace parvane::scan
