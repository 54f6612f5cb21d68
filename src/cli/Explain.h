#pragma once

#include <iosfwd>
#include <string_view>

#include "core/scan/PathMapping.h"
#include "core/scan/ScanOptions.h"

namespace parvane::cli {

// parvane-scan --explain NAME_CODE: prints why each trend line of the stock was or was not
// reported under `options`, as text or as Tab-separated lines. Writes nothing into the base or
// the program folder. `stock` is what the user typed (see scan::findStock: any case, accents as
// typed or as stored, the code optional when the name is unique). Returns kExitRan, or
// kExitRefused with a message on `err`, and up to five close names, when the base has no such
// stock.
int explainCommand(const scan::BaseLayout& layout, const scan::ScanOptions& options, std::string_view stock,
                   bool tsv, char decimalSeparator, std::ostream& out, std::ostream& err);

} // namespace parvane::cli
