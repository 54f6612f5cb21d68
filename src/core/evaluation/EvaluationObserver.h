#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/evaluation/TrendLine.h"

namespace parvane::evaluation {

// The steps of the evaluation of one trend line, in the order the evaluation takes them. A trend
// line's account names the first step that stopped it, or `Reported`.
enum class Step
{
    Read,        // the line cannot be read (too few fields, empty slope, anchor out of range)
    Fields89,    // fields 8 and 9 do not add up to 0
    Kind,        // line kind "3": never evaluated
    Monthly,     // monthly unit: never evaluated
    NotSought,   // neither proximity in this unit nor crossings are sought
    NoUnit,      // no unit code has set a unit yet
    History,     // the stock's history cannot be read
    AgeLimit,    // the later anchor is too old
    Gaps,        // a zero close or a weekly look-back that cannot be done
    WeekVolumes, // the weekly volumes cannot be summed
    Report,      // neither near enough nor crossing
    Reported,    // a row was added
    NotReached,  // the stock's evaluation ended on an earlier line
};

// What the evaluation did with one trend line: its fields as read, its unit, the values of each
// step it reached and the step that stopped it. Filled by StockEvaluator only while an observer
// is attached; the values of a step that was not reached keep their defaults. Owns its texts, so
// that it can be kept after the stock's buffers are gone.
struct TrendLineAccount
{
    std::size_t lineNumber = 0; // 1 for the file's first line
    std::string text;           // the line as read
    std::string unitCode;       // field 0
    std::string kind;           // field 1
    TrendLine fields;           // the numbers read; its text views are not kept (see unitCode, kind)
    std::string unit;           // unit text in force: "DAILY", "WEEK ", "MONTHLY" or empty

    bool proximitySought = false; // proximity on and the unit ticked
    bool crossingSought = false;

    std::size_t lineCount = 0; // N, lines of the history
    int weekCount = 0;         // W, weeks of the history (weekly unit)

    bool ageChecked = false; // false for line kind "1"
    double laterAnchor = 0;  // A
    double extension = 0;    // E
    double age = 0;          // last bar position - A - E
    int ageLimit = 0;

    bool gapsComputed = false;
    double lastBar = 0;       // position of the last bar in the line's unit
    double previousBar = 0;   // and of the bar before it
    double lastClose = 0;     // close of the last bar
    double previousClose = 0; // close of the previous bar (weekly: of the previous week)
    double lastGap = 0;       // line value at the last bar minus the last close
    double previousGap = 0;
    double gapPercent = 0; // 100 * last gap / last close
    double variation = 0;  // percent
    double maxGap = 0;     // the maximum detection percentage of the run

    bool signChanged = false; // the gaps' signs differ (crossing before the volume filter)
    bool volumeChecked = false;
    double earlierVolume = 0;
    double laterVolume = 0;
    double volumeThreshold = 0; // percent
    bool crossing = false;      // after the volume filter
    bool proximityHit = false;

    Step step = Step::Read; // the step that stopped the line, or Step::Reported
    std::string message;    // the error-log message the step wrote, if any

    // Line value at the last and at the previous bar.
    double lineValue() const { return lastGap + lastClose; }

    double previousLineValue() const { return previousGap + previousClose; }

    // Starts the account of a line: clears every value and copies the line's fields.
    void begin(std::size_t number, std::string_view lineText, const TrendLine& line,
               std::string_view unitText);

    // The placing of the line against the last two bars, as the guarded step computed it.
    struct Placing
    {
        double lastBar, previousBar, lastClose, previousClose, lastGap, previousGap, gapPercent, variation;
    };

    // The values of the steps, in the order the evaluation reaches them.
    void noteSelection(bool proximity, bool crossings);
    void noteHistory(std::size_t lines, int weeks);
    void noteAge(bool checked, double anchor, double lineExtension, double bars, int limit);
    void noteGaps(const Placing& placing, double maximumGap, bool signsDiffer);
    void noteVolumes(double earlier, double later, double threshold);
    void noteVerdict(bool near, bool crossed);
};

// Receives the account of each trend line that the evaluation handles, in file order, once the
// line is done with. Lines after one that ended the stock's evaluation get no call.
class EvaluationObserver
{
public:
    virtual ~EvaluationObserver() = default;

    virtual void trendLineDone(const TrendLineAccount& account) = 0;
};

} // namespace parvane::evaluation
