#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

#include "core/scan/KeptRows.h"

namespace parvane::cli {

// One row of the results list as parvane-scan prints it: the seven columns, as UTF-8 text.
using PrintedRow = scan::ResultRow;

using scan::isCrossing;
using scan::keptRowsFile;
using scan::runOptionsKey;
using scan::stockName;

// The rows of `rows` that the previous run of `optionsKey` kept in `file` does not hold, in their
// order, as scan::markNewRows tells them; when `complete`, the run's rows are kept in `file` for
// the next run. What goes wrong with the file is reported on `err`.
std::vector<PrintedRow> newRowsSincePreviousRun(const std::filesystem::path& file,
                                                const std::string& optionsKey,
                                                const std::vector<PrintedRow>& rows, bool complete,
                                                std::ostream& err);

} // namespace parvane::cli
