#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/evaluation/AgeLimits.h"
#include "core/evaluation/EvaluationObserver.h"
#include "core/evaluation/HistoryReader.h"
#include "core/evaluation/TrendLine.h"

namespace parvane::evaluation {

// The options of a run as the evaluation reads them.
struct EvaluationSettings
{
    bool proximity = false;    // Check2
    bool daily = false;        // Check3
    bool weekly = false;       // Check4
    bool crossing = false;     // Check6
    bool volumeFilter = false; // Check8
    bool csvFile = false;      // Check9
    double maxGap = 0;         // percent
    double volumeThreshold = 0;
    int dailyAgeLimit = kDailyAgeLimit;
    int weeklyAgeLimit = kWeeklyAgeLimit;
    char decimalSeparator = '.';
};

// One reported trend line: the texts of a results-list row.
struct ResultRow
{
    std::string action;  // padded marked name
    std::string sicovam; // padded code
    std::string dernier; // padded close text
    std::string ut;      // unit text
    std::string ecart;   // gap text
    std::string var;     // variation text
    std::string commentaires;
    std::size_t lineNumber = 0; // the trend line's line in its file, from 1
    bool crossing = false;      // a crossing ("X_"), else a proximity
};

// Where the evaluation writes. Lines are given without their line end.
class EvaluationOutputs
{
public:
    virtual ~EvaluationOutputs() = default;

    virtual void addRow(const ResultRow& row) = 0;
    virtual void writeCrossingGroupLine(std::string_view line) = 0;
    virtual void writeProximityGroupLine(std::string_view line) = 0;
    virtual void writeCsvLine(std::string_view line) = 0;
    virtual void logError(std::string_view subject, std::string_view message) = 0;

    // The stock whose trend lines come next: its file name as on the disk, and whether its name
    // loses characters in Windows-1252.
    virtual void stockStarted(std::string_view /*fileName*/, bool /*lossyName*/) {}
};

// Files of the stock being evaluated.
struct StockFiles
{
    std::string fileName;          // fichieraction: name, "_", code, ".txt"
    std::string_view name;         // before the first "_", as Windows-1252 text
    std::string_view code;         // after it, without ".txt", likewise
    std::filesystem::path history; // history folder + file name (resolved)
    std::filesystem::path comment; // comment folder + file name (resolved)
    bool hasComment = false;       // a comment file exists
};

// transforme and calculecart: evaluates the trend lines of one stock at a time against its
// history, and writes each reported line to the outputs. Keeps the run's state between stocks
// (the last code written to the proximity group) and reuses its buffers.
class StockEvaluator
{
public:
    StockEvaluator(const EvaluationSettings& settings, EvaluationOutputs& outputs);

    // Starts a run: the last proximity code is emptied.
    void startRun();

    // Attaches `observer` (nullptr detaches): it then receives the account of every trend line
    // handled. It must outlive its attachment. Without one the evaluation keeps no account.
    void setObserver(EvaluationObserver* observer) { m_observer = observer; }

    // transforme: evaluates `lines`, the stock's trend-line file lines (at most 100) in order.
    // `trendLineFile` names the file in error-log lines.
    void transforme(const StockFiles& stock, const std::vector<std::string_view>& lines,
                    std::string_view trendLineFile);

private:
    enum class Outcome
    {
        Next,      // go on with the next trend line
        StopStock, // logged; the stock's remaining trend lines are not evaluated
        BadLine    // the line cannot be evaluated; to be logged, and the stock ends
    };

    Outcome calculecart(const StockFiles& stock, const TrendLine& line, std::string_view unit);
    bool ensureHistory(const StockFiles& stock);
    void writeReport(const StockFiles& stock, bool crossing, bool proximityHit, std::string_view unit,
                     double gapPercent, double variation);

    // Ends the account of the current line at `step`, when an observer is attached.
    void account(Step step, std::string_view message = {});

    EvaluationSettings m_settings;
    EvaluationOutputs& m_outputs;
    HistoryReader m_reader;
    HistorySummary m_summary;
    std::vector<std::string_view> m_fields;
    std::vector<std::string> m_commentLines;
    std::string m_lastProximityCode;
    std::size_t m_lineNumber = 0;
    bool m_historyRead = false;
    bool m_historyFailed = false;
    bool m_commentRead = false;
    EvaluationObserver* m_observer = nullptr;
    TrendLineAccount m_account;
};

} // namespace parvane::evaluation
