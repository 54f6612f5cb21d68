#include "core/scan/ChartModel.h"

#include <algorithm>
#include <cmath>

#include "core/evaluation/Date.h"
#include "core/evaluation/HistoryReader.h"
#include "core/evaluation/NumberRules.h"
#include "core/evaluation/TimeUnits.h"
#include "core/evaluation/TrendLine.h"
#include "core/text/FileRead.h"
#include "core/text/TextLines.h"

namespace parvane::scan {

namespace {

std::size_t barsToKeep(const evaluation::TrendLineAccount& account, double lastPosition, std::size_t maxBars)
{
    const double earlierAnchor = std::min(account.fields.firstAnchor, account.fields.secondAnchor);
    const double reach = lastPosition - earlierAnchor + 3;
    if (reach > static_cast<double>(maxBars) && reach <= 4.0 * static_cast<double>(maxBars))
        return static_cast<std::size_t>(reach);
    return maxBars;
}

// The weekly volume of a quotation line as the weekly evaluation sums it: field 5 whole.
double weekVolumeOf(std::string_view line, std::vector<std::string_view>& fields)
{
    evaluation::splitFields(line, fields);
    return fields.size() > 5 ? evaluation::readNumber(fields[5]) : 0;
}

} // namespace

double ChartModel::lowest() const
{
    double value = bars.empty() ? 0 : bars.front().close;
    for (const ChartBar& bar : bars)
        value = std::min({value, bar.close, lineAt(bar.position)});
    return value;
}

double ChartModel::highest() const
{
    double value = bars.empty() ? 0 : bars.front().close;
    for (const ChartBar& bar : bars)
        value = std::max({value, bar.close, lineAt(bar.position)});
    return value;
}

ChartModel buildChartModel(std::string_view history, const evaluation::TrendLineAccount& account,
                           std::size_t maxBars)
{
    ChartModel model;
    model.weekly = account.unit == evaluation::kUnitWeek;
    model.slope = account.fields.slope;
    model.intercept = account.fields.intercept;
    model.firstAnchor = account.fields.firstAnchor;
    model.secondAnchor = account.fields.secondAnchor;
    model.hasLastBar = account.gapsComputed;
    model.lastBar = account.lastBar;
    model.lastClose = account.lastClose;
    model.gapPercent = account.gapPercent;
    model.crossing = account.crossing;
    model.showVolumes = account.volumeChecked;

    std::vector<std::string_view> lines;
    text::forEachLine(history, [&](std::string_view line) { lines.push_back(line); });
    if (lines.empty())
        return model;

    if (!model.weekly) {
        const double lastPosition = static_cast<double>(lines.size()) + 1;
        const std::size_t keep = std::min(lines.size(), barsToKeep(account, lastPosition, maxBars));
        for (std::size_t index = lines.size() - keep; index < lines.size(); ++index) {
            const std::string_view line = lines[index];
            ChartBar bar;
            bar.position = static_cast<double>(index) + 2;
            bar.close = evaluation::readNumber(evaluation::closeText(line));
            bar.volume = evaluation::dailyVolume(line);
            bar.date = evaluation::isoledate(line);
            model.bars.push_back(std::move(bar));
        }
        return model;
    }

    // Weeks from the newest quotation back: a new week starts where the week number changes.
    const auto firstDate = evaluation::quotationDate(lines.front());
    const auto lastDate = evaluation::quotationDate(lines.back());
    const double lastWeek = account.weekCount > 0   ? account.weekCount
                            : firstDate && lastDate ? evaluation::weekCount(*firstDate, *lastDate)
                                                    : 0;
    const std::size_t keep = barsToKeep(account, lastWeek, maxBars);
    std::vector<std::string_view> fields;
    int currentWeek = -1;
    for (std::size_t index = lines.size(); index-- > 0;) {
        const std::string_view line = lines[index];
        const auto date = evaluation::quotationDate(line);
        if (!date)
            continue;
        const int week = evaluation::weekOfYear(*date);
        if (week != currentWeek) {
            if (model.bars.size() == keep)
                break;
            currentWeek = week;
            ChartBar bar;
            bar.position = lastWeek - static_cast<double>(model.bars.size());
            bar.close = evaluation::readNumber(evaluation::closeText(line));
            bar.date = evaluation::isoledate(line);
            model.bars.push_back(std::move(bar));
        }
        model.bars.back().volume += weekVolumeOf(line, fields);
    }
    std::reverse(model.bars.begin(), model.bars.end());
    return model;
}

std::optional<ChartModel> loadChartModel(const std::filesystem::path& history,
                                         const evaluation::TrendLineAccount& account, std::size_t maxBars)
{
    std::string bytes;
    if (!text::readWholeFile(history, bytes).ok())
        return std::nullopt;
    return buildChartModel(bytes, account, maxBars);
}

} // namespace parvane::scan
