#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "core/evaluation/Evaluation.h"
#include "core/scan/ErrorLog.h"
#include "core/scan/PathMapping.h"
#include "core/scan/ResultsSink.h"
#include "core/scan/RunEnvironment.h"
#include "core/scan/ScanObserver.h"
#include "core/scan/ScanOptions.h"
#include "core/scan/Selection.h"

namespace parvane::scan {

// What `lance` reports of one run.
struct ScanReport
{
    std::size_t stocks = 0;        // stocks handed to `change`
    std::size_t rows = 0;          // rows added to the results list
    std::filesystem::path csvFile; // the CSV file's path when the option was on
    bool cancelled = false;        // the observer ended the run
};

// How `change` ended with a stock.
enum class StockWalk
{
    Evaluated,    // its trend lines went to the evaluation
    BadName,      // the file name holds no "_": logged
    Unreadable,   // the trend-line file cannot be read: logged
    TooManyLines, // more than 100 lines: logged, not evaluated
};

// The per-stock step of a run (`change`) for one stock alone, as the account of a stock (--explain,
// the chart) needs it: reads the trend-line file `fileName` (as it lies in the trend-line folder,
// at most 100 lines) and hands its lines to `evaluator`, which writes to `outputs`; failures go to
// outputs.logError. `lines` receives the lines read.
StockWalk walkStock(const BaseLayout& layout, evaluation::StockEvaluator& evaluator,
                    evaluation::EvaluationOutputs& outputs, const std::string& fileName,
                    std::vector<std::string>* lines = nullptr);

// lance: one whole run over the base of `layout`. Opens the result files whose options are on
// (the CSV file, "Melvor.txt", "Parvane.txt"), walks the chosen stocks (`selection` while active)
// or every trend-line file in walk order, hands each to `change`, and closes the files. A bad
// stock is one error-log line and the walk goes on; nothing is ever written into the trend-line,
// history or comment folders.
ScanReport lance(const BaseLayout& layout, const ScanOptions& options, const Selection& selection,
                 ResultsSink& results, ScanObserver& observer, ErrorLog& errorLog,
                 const RunEnvironment& environment);

// The evaluation's settings for a run with `options`.
evaluation::EvaluationSettings evaluationSettings(const ScanOptions& options, char decimalSeparator);

// The CSV file's name for a run started at `moment`: "result_ddmmyyyy_hhmm.csv".
std::string csvFileName(const DateTime& moment);

} // namespace parvane::scan
