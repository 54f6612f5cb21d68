#include "core/scan/ScanRun.h"

#include "core/scan/CommentsGroup.h"
#include "core/scan/RunCommand.h"

namespace parvane::scan {

RunOutcome runScan(const BaseLayout& layout, ScanOptions& options, const Selection& selection,
                   ResultsSink& results, ScanObserver& observer, ErrorLog& errorLog,
                   const RunEnvironment& environment)
{
    RunOutcome outcome;
    errorLog.resetCount();
    if (options.commentsGroup) {
        results.clear();
        majgroupecomm(layout, observer, errorLog);
    }
    if (runCondition(options)) {
        if (proximityWithoutUnit(options)) {
            options.proximity = false;
            outcome.proximitySwitchedOff = true;
        }
        results.clear();
        outcome.report = lance(layout, options, selection, results, observer, errorLog, environment);
        outcome.scanned = true;
    }
    outcome.errors = errorLog.count();
    outcome.status = finStatusText(outcome.errors);
    outcome.tooltip = finStatusTooltip(outcome.errors);
    return outcome;
}

} // namespace parvane::scan
