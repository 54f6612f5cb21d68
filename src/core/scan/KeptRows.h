#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/scan/PathMapping.h"
#include "core/scan/RowIdentity.h"
#include "core/scan/ScanOptions.h"
#include "core/scan/Selection.h"

namespace parvane::scan {

// What is new since the previous scan. The hits of each complete run are kept in the program
// folder, one file per base ("newrows-<hash of the base folder>.txt", UTF-8, CR LF), whose first
// line names the base; each further line holds the options of its run and one hit. The window and
// parvane-scan keep them in the same file with the same options key, so that a run of either
// program is the previous run of the other. A hit is a stock file name as on the disk, a time unit
// and a kind (crossing or proximity): the close, gap, variation and comment change from day to day
// and do not count, nor do the texts shown. Runs with other options (another unit, gap, volume rule
// or group selection) are other runs, kept side by side in the file.

// The text that tells the options of one run from another's: the options that change which rows
// a run reports, and the groups scanned as a set of names (none for the whole base or when the
// selection is not active).
std::string runOptionsKey(const ScanOptions& options, const Selection& selection);

// A hit as the kept rows name it: "X" for a crossing or "P" for a proximity, the unit without its
// padding ("DAILY", "WEEK") and the stock's file name in UTF-8, joined by tabs. Rows of the same
// hit are one row for what is new.
std::string hitText(const RowIdentity& row);

// The file that keeps the rows of the runs on the base folder `base`, in `programFolder`.
std::filesystem::path keptRowsFile(const std::filesystem::path& programFolder,
                                   const std::filesystem::path& base);

struct NewRowsResult
{
    // Per row of the run, in their order: the previous run of the same options did not have it.
    // Every row is new when there was no previous run, or when the kept file cannot be read.
    std::vector<bool> isNew;
    // What went wrong with the kept file, in French, one message per failure (empty when none).
    std::vector<std::string> problems;
};

// Marks the rows `rows` of a run on the base of `layout` that the previous run of `optionsKey`
// kept in `file` does not hold. When `complete` (the run was neither refused nor interrupted), the
// run's hits then replace those of the previous run in `file`: the file is written beside it and
// renamed over it, so that an interrupted write leaves the previous file whole, and the lines of
// other runs are kept. The read, the comparison and the write hold an exclusive lock (flock on
// `file` + ".lock"), so that two runs at the same time both count. A file that exists but cannot
// be read is left alone. A file of the earlier form (hits named by the texts shown) is converted
// once, against the base's trend-line and group folders.
[[nodiscard]] NewRowsResult markNewRows(const std::filesystem::path& file, const BaseLayout& layout,
                                        const std::string& optionsKey, const std::vector<RowIdentity>& rows,
                                        bool complete);

} // namespace parvane::scan
