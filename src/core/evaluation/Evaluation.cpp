#include "core/evaluation/Evaluation.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "core/evaluation/CommentFile.h"
#include "core/evaluation/LogMessages.h"
#include "core/evaluation/NumberRules.h"
#include "core/evaluation/TimeUnits.h"

namespace parvane::evaluation {

namespace {

std::string openFailure(const text::FileStatus& status)
{
    return failureMessage(status.code, status.isMissing());
}

int sign(double value)
{
    return (value > 0) - (value < 0);
}

// The gaps of one trend line against the last two bars, or nothing when the guarded step fails
// (a zero close, too short a history, a week that cannot be found).
struct Gaps
{
    double lastBar = 0; // positions of the two bars in the line's unit
    double previousBar = 0;
    double previousClose = 0; // weekly: the previous week's close
    double last = 0;
    double previous = 0;
    double percent = 0;
    double variation = 0;
};

bool usable(double value)
{
    return std::isfinite(value);
}

} // namespace

StockEvaluator::StockEvaluator(const EvaluationSettings& settings, EvaluationOutputs& outputs)
    : m_settings(settings)
    , m_outputs(outputs)
{}

inline void StockEvaluator::account(Step step, std::string_view message)
{
    if (!m_observer)
        return;
    m_account.step = step;
    m_account.message = message;
    m_observer->trendLineDone(m_account);
}

void StockEvaluator::startRun()
{
    m_lastProximityCode.clear();
}

void StockEvaluator::transforme(const StockFiles& stock, const std::vector<std::string_view>& lines,
                                std::string_view trendLineFile)
{
    m_historyRead = false;
    m_historyFailed = false;
    m_commentRead = false;
    m_summary = HistorySummary{};
    // A unit code outside the table keeps the unit of the line before; a stock starts without one,
    // so that no unit carries over from the stock scanned before.
    std::string_view unit;

    std::size_t lineNumber = 0;
    for (const std::string_view text : lines) {
        ++lineNumber;
        TrendLine line;
        if (!parseTrendLine(text, m_fields, line)) {
            // An empty line ends the stock as any unreadable line does, but it is no error:
            // editors and exporters leave one after the last line end.
            if (text.empty())
                return;
            if (m_observer)
                m_account.begin(lineNumber, text, line, unit);
            account(Step::Read, kMessageBadTrendLine);
            m_outputs.logError(trendLineFile, std::string(kMessageBadTrendLine) + std::to_string(lineNumber));
            return;
        }
        if (const auto code = unitTextForCode(line.unitCode))
            unit = *code;
        if (m_observer)
            m_account.begin(lineNumber, text, line, unit);
        if (line.field9 + line.field8 != 0) {
            account(Step::Fields89);
            continue;
        }
        if (line.kind == "3" || unit == kUnitMonthly) {
            account(line.kind == "3" ? Step::Kind : Step::Monthly);
            continue;
        }
        const bool proximityUnit =
            (unit == kUnitDaily && m_settings.daily) || (unit == kUnitWeek && m_settings.weekly);
        if (m_observer)
            m_account.noteSelection(proximityUnit && m_settings.proximity, m_settings.crossing);
        if (!((proximityUnit && m_settings.proximity) || m_settings.crossing)) {
            account(Step::NotSought);
            continue;
        }
        // A line whose unit was never set has no bar to be placed on.
        if (unit != kUnitDaily && unit != kUnitWeek) {
            account(Step::NoUnit);
            continue;
        }
        m_lineNumber = lineNumber;
        const Outcome outcome = calculecart(stock, line, unit);
        if (outcome == Outcome::BadLine)
            m_outputs.logError(trendLineFile, std::string(kMessageBadTrendLine) + std::to_string(lineNumber));
        if (outcome != Outcome::Next)
            return;
    }
}

bool StockEvaluator::ensureHistory(const StockFiles& stock)
{
    if (!m_historyRead) {
        m_historyRead = true;
        const text::FileStatus status = m_reader.read(stock.history, m_summary);
        if (!status.ok()) {
            m_historyFailed = true;
            m_outputs.logError(stock.history.string(), openFailure(status));
        }
    }
    return !m_historyFailed;
}

StockEvaluator::Outcome StockEvaluator::calculecart(const StockFiles& stock, const TrendLine& line,
                                                    std::string_view unit)
{
    bool crossing = false;
    if (!ensureHistory(stock)) {
        account(Step::History, stock.history.string());
        return Outcome::StopStock;
    }

    const bool daily = unit == kUnitDaily;
    const bool datesKnown = m_summary.firstDate && m_summary.lastDate;
    const int W = datesKnown ? weekCount(*m_summary.firstDate, *m_summary.lastDate) : 0;
    if (m_observer)
        m_account.noteHistory(m_summary.lineCount, W);

    if (line.kind != "1") {
        const auto anchor = toInt16(std::max(line.firstAnchor, line.secondAnchor));
        const auto extension = toInt16(line.extension);
        if (!anchor || !extension) {
            account(Step::Read, kMessageBadTrendLine);
            return Outcome::BadLine;
        }
        const double age = daily ? static_cast<double>(m_summary.lastBarPosition()) - *anchor - *extension
                                 : static_cast<double>(W) - *anchor - *extension;
        const int limit = daily ? m_settings.dailyAgeLimit : m_settings.weeklyAgeLimit;
        if (m_observer)
            m_account.noteAge(daily || datesKnown, *anchor, *extension, age, limit);
        // A weekly line of a history without dates cannot be aged; its guarded step fails below.
        if ((daily || datesKnown) && age > limit) {
            account(Step::AgeLimit);
            return Outcome::Next;
        }
    }

    // The guarded step: the gaps and the variation.
    std::optional<Gaps> gaps;
    const double lastClose = readNumber(m_summary.lastClose);
    const double previousClose = readNumber(m_summary.previousClose);
    if (m_summary.hasPreviousLine() && lastClose != 0 && previousClose != 0) {
        Gaps g;
        if (daily) {
            const auto n = static_cast<double>(m_summary.lineCount);
            g.lastBar = n + 1;
            g.previousBar = n;
            g.previousClose = previousClose;
            g.last = line.slope * g.lastBar + line.intercept - lastClose;
            g.previous = line.slope * g.previousBar + line.intercept - previousClose;
            g.variation = (lastClose - previousClose) * 100 / previousClose;
            gaps = g;
        } else if (datesKnown) {
            g.lastBar = W;
            g.previousBar = W - 1;
            g.last = line.slope * g.lastBar + line.intercept - lastClose;
            if (const auto week = ecartsemaineprec(m_summary.lookBack, *m_summary.lastDate, line.slope,
                                                   line.intercept, W)) {
                const double weekClose = readNumber(week->close);
                if (weekClose != 0) {
                    g.previousClose = weekClose;
                    g.previous = week->gap;
                    g.variation = (lastClose - weekClose) * 100 / weekClose;
                    gaps = g;
                }
            }
        }
        if (gaps)
            gaps->percent = 100 * gaps->last / lastClose;
    }
    if (!gaps || !usable(gaps->last) || !usable(gaps->previous) || !usable(gaps->percent)
        || !usable(gaps->variation)) {
        account(Step::Gaps, kMessageZeroClose);
        m_outputs.logError(stock.fileName, kMessageZeroClose);
        return Outcome::Next;
    }

    if (m_settings.crossing)
        crossing = sign(gaps->previous) != sign(gaps->last);
    if (m_observer) {
        m_account.noteGaps({gaps->lastBar, gaps->previousBar, lastClose, gaps->previousClose, gaps->last,
                            gaps->previous, gaps->percent, gaps->variation},
                           m_settings.maxGap, crossing);
    }

    if (m_settings.crossing && m_settings.volumeFilter && crossing) {
        double earlier = m_summary.previousVolume;
        double later = m_summary.lastVolume;
        if (!daily) {
            const auto volumes =
                volumessemaines(m_summary.lookBack, *m_summary.lastDate, m_summary.lastVolume);
            if (!volumes) {
                account(Step::WeekVolumes, kMessageBadWeekVolumes);
                m_outputs.logError(stock.history.string(), kMessageBadWeekVolumes);
                return Outcome::StopStock;
            }
            earlier = volumes->previousWeek;
            later = volumes->lastWeek;
        }
        crossing = earlier != 0 && (later - earlier) * 100 / earlier > m_settings.volumeThreshold;
        if (m_observer)
            m_account.noteVolumes(earlier, later, m_settings.volumeThreshold);
    }

    const bool proximityUnit = (daily && m_settings.daily) || (unit == kUnitWeek && m_settings.weekly);
    const bool proximityHit =
        m_settings.proximity && std::fabs(gaps->percent) < m_settings.maxGap && proximityUnit;
    if (m_observer)
        m_account.noteVerdict(proximityHit, crossing);
    if (!proximityHit && !crossing) {
        account(Step::Report);
        return Outcome::Next;
    }

    writeReport(stock, crossing, proximityHit, unit, gaps->percent, gaps->variation);
    account(Step::Reported);
    return Outcome::Next;
}

void StockEvaluator::writeReport(const StockFiles& stock, bool crossing, bool proximityHit,
                                 std::string_view unit, double gapPercent, double variation)
{
    const char separator = m_settings.decimalSeparator;
    std::string markedName = crossing ? "X_" : "";
    markedName += stock.name;

    ResultRow row;
    row.action = outputx(markedName, 16);
    row.sicovam = paddedCode(stock.code);
    row.dernier = outputx(m_summary.lastClose, 5);
    row.ut = unit;
    row.ecart = formatFixed2(std::fabs(gapPercent), separator);
    row.var = formatFixed2(variation, separator);
    row.lineNumber = m_lineNumber;
    row.crossing = crossing;

    std::string csvLine =
        row.action + ";" + row.sicovam + ";" + row.dernier + ";" + row.ut + ";" + row.ecart + "%;" + row.var;

    // Only the first reported line of a stock carries its comment. A comment that cannot be read
    // is logged, and the line is still reported without it: a comment never costs a result.
    if (stock.hasComment && !m_commentRead) {
        const text::FileStatus status = readCommentLines(stock.comment, m_commentLines);
        if (status.ok()) {
            for (const std::string& commentLine : m_commentLines) {
                row.commentaires += commentLine;
                row.commentaires += " - ";
                csvLine += ';';
                csvLine += commentLine;
            }
            m_commentRead = true;
        } else {
            m_outputs.logError(stock.comment.string(), openFailure(status));
        }
    }

    m_outputs.addRow(row);

    const std::string groupLine = row.sicovam + "\t" + markedName;
    if (m_settings.crossing && crossing)
        m_outputs.writeCrossingGroupLine(groupLine);
    if (m_settings.proximity && row.sicovam != m_lastProximityCode && proximityHit) {
        m_outputs.writeProximityGroupLine(groupLine);
        m_lastProximityCode = row.sicovam;
        if (m_settings.csvFile)
            m_outputs.writeCsvLine(csvLine);
    }
    if (m_settings.crossing && crossing && row.sicovam != m_lastProximityCode && m_settings.csvFile)
        m_outputs.writeCsvLine(csvLine);
}

} // namespace parvane::evaluation
