#pragma once

#include <cstddef>
#include <string>

#include "core/scan/ErrorLog.h"
#include "core/scan/PathMapping.h"
#include "core/scan/ResultsSink.h"
#include "core/scan/RunEnvironment.h"
#include "core/scan/ScanDriver.h"
#include "core/scan/ScanObserver.h"
#include "core/scan/ScanOptions.h"
#include "core/scan/Selection.h"

namespace parvane::scan {

// What a run command ends with.
struct RunOutcome
{
    bool scanned = false;              // the run condition held and `lance` ran
    bool proximitySwitchedOff = false; // Check2 was on without a unit: switched off, frame hidden
    ScanReport report;
    std::size_t errors = 0; // nberreurs
    std::string status;     // Label8
    std::string tooltip;    // Label8's tooltip
};

// The run command after its checks have passed and the window has locked its boxes: the comments
// group when asked, the run condition, the results list emptied, `lance`, and the status texts.
// `options` may be changed (proximity switched off). The error count starts at 0.
RunOutcome runScan(const BaseLayout& layout, ScanOptions& options, const Selection& selection,
                   ResultsSink& results, ScanObserver& observer, ErrorLog& errorLog,
                   const RunEnvironment& environment);

} // namespace parvane::scan
