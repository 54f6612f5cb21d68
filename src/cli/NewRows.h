#pragma once

#include <array>
#include <filesystem>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "core/scan/ResultsSink.h"
#include "core/scan/ScanOptions.h"

namespace parvane::cli {

// One row of the results list as parvane-scan prints it: the seven columns, as UTF-8 text.
using PrintedRow = std::array<std::string, scan::kResultColumnCount>;

// What is new since the previous scan. The rows of each complete run are kept in the program
// folder, one file per base ("newrows-<hash of the base folder>.txt", Windows-1252, CR LF), each
// line holding the options of its run and one hit. Two rows are the same hit when the stock, its
// code, the time unit and the kind of hit (crossing or proximity) match; the other columns (close,
// gap, variation, comment) change from day to day and do not count. Runs with other options
// (another unit, gap, volume rule or group selection) are other runs, kept side by side in the
// file.

// The text that tells the options of one run from another's: the options that change which rows
// a run reports, and the groups scanned (in any order; none for the whole base).
std::string runOptionsKey(const scan::ScanOptions& options, std::vector<std::string> groups);

// The file that keeps the rows of the runs on the base folder `base`, in `programFolder`.
std::filesystem::path keptRowsFile(const std::filesystem::path& programFolder,
                                   const std::filesystem::path& base);

// The kind of hit of a row (crossing rows carry the "X_" mark before the name) and its stock.
bool isCrossing(const PrintedRow& row);
std::string_view stockName(const PrintedRow& row);

// The rows of `rows` that the previous run of `optionsKey` kept in `file` does not hold, in their
// order; every row when there was no previous run. When `complete` (the run was neither refused
// nor interrupted), the run's rows then replace those of the previous run in `file`: the file is
// written beside it and renamed over it, so that an interrupted write leaves the previous file
// whole, and the lines of other runs are kept byte for byte. A file that exists but cannot be read
// is reported on `err` and left alone, and every row then counts as new; a failed write is
// reported on `err` too.
std::vector<PrintedRow> newRowsSincePreviousRun(const std::filesystem::path& file,
                                                const std::string& optionsKey,
                                                const std::vector<PrintedRow>& rows, bool complete,
                                                std::ostream& err);

} // namespace parvane::cli
