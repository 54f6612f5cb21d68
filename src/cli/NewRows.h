#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

#include "core/scan/KeptRows.h"
#include "core/scan/ResultsOrder.h"
#include "core/scan/RowIdentity.h"

namespace parvane::cli {

// One row of the results list as parvane-scan prints it: the seven columns as UTF-8 text, and
// the trend line it is about.
struct PrintedRow
{
    scan::ResultTexts texts;
    scan::RowIdentity identity;
};

// The rows of `rows` that the previous run of `optionsKey` on the base of `layout` kept in `file`
// does not hold, in their order, as scan::markNewRows tells them; when `complete`, the run's rows
// are kept in `file` for the next run. What goes wrong with the file is reported on `err`.
std::vector<PrintedRow> newRowsSincePreviousRun(const std::filesystem::path& file,
                                                const scan::BaseLayout& layout, const std::string& optionsKey,
                                                const std::vector<PrintedRow>& rows, bool complete,
                                                std::ostream& err);

} // namespace parvane::cli
