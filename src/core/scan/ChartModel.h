#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/evaluation/EvaluationObserver.h"

namespace parvane::scan {

// One bar of a chart: a trading day in daily unit, a week in weekly unit.
struct ChartBar
{
    double position = 0; // in the trend line's unit: the last bar is where the evaluation places it
    double close = 0;
    double volume = 0; // the day's volume, or the week's sum
    std::string date;  // "yyyy/mm/dd" of the bar's last quotation
};

// What the chart of one trend line shows, in numbers: the last bars of the stock in the line's
// unit, the line, its anchors, the last close and its gap, and the marks. Positions and values
// are those of the evaluation, whose account the model is built from.
struct ChartModel
{
    std::vector<ChartBar> bars; // oldest first
    bool weekly = false;
    double slope = 0;
    double intercept = 0;
    double firstAnchor = 0;
    double secondAnchor = 0;
    bool hasLastBar = false; // the evaluation placed the line against the last bar
    double lastBar = 0;
    double lastClose = 0;
    double gapPercent = 0;
    bool crossing = false;    // mark the crossing at the last bar
    bool showVolumes = false; // the crossing asked for a rise of volume

    double lineAt(double position) const { return slope * position + intercept; }

    // The lowest and highest of the closes and of the line over the bars shown.
    double lowest() const;
    double highest() const;
};

// Builds the chart of the line of `account` from the bytes of the stock's history. Daily: the
// line N of the history is at position N + 1, as the evaluation places the last bar. Weekly: the
// quotations are grouped into weeks by week number, as the weekly evaluation finds the previous
// week; a week's close is that of its last quotation, its volume the sum of the days' volumes,
// and the last week is at the history's week count W. Keeps at most `maxBars` bars, more when
// needed to reach the earlier anchor (up to four times as many).
ChartModel buildChartModel(std::string_view history, const evaluation::TrendLineAccount& account,
                           std::size_t maxBars);

// The same from the history file; std::nullopt when it cannot be read.
std::optional<ChartModel> loadChartModel(const std::filesystem::path& history,
                                         const evaluation::TrendLineAccount& account, std::size_t maxBars);

} // namespace parvane::scan
