#include "core/evaluation/EvaluationObserver.h"

namespace parvane::evaluation {

void TrendLineAccount::begin(std::size_t number, std::string_view lineText, const TrendLine& line,
                             std::string_view unitText)
{
    *this = TrendLineAccount{};
    lineNumber = number;
    text = lineText;
    unitCode = line.unitCode;
    kind = line.kind;
    fields = line;
    fields.unitCode = {};
    fields.kind = {};
    unit = unitText;
}

void TrendLineAccount::noteSelection(bool proximity, bool crossings)
{
    proximitySought = proximity;
    crossingSought = crossings;
}

void TrendLineAccount::noteHistory(std::size_t lines, int weeks)
{
    lineCount = lines;
    weekCount = weeks;
}

void TrendLineAccount::noteAge(bool checked, double anchor, double lineExtension, double bars, int limit)
{
    ageChecked = checked;
    laterAnchor = anchor;
    extension = lineExtension;
    age = bars;
    ageLimit = limit;
}

void TrendLineAccount::noteGaps(const Placing& placing, double maximumGap, bool signsDiffer)
{
    gapsComputed = true;
    lastBar = placing.lastBar;
    previousBar = placing.previousBar;
    lastClose = placing.lastClose;
    previousClose = placing.previousClose;
    lastGap = placing.lastGap;
    previousGap = placing.previousGap;
    gapPercent = placing.gapPercent;
    variation = placing.variation;
    maxGap = maximumGap;
    signChanged = signsDiffer;
}

void TrendLineAccount::noteVolumes(double earlier, double later, double threshold)
{
    volumeChecked = true;
    earlierVolume = earlier;
    laterVolume = later;
    volumeThreshold = threshold;
}

void TrendLineAccount::noteVerdict(bool near, bool crossed)
{
    proximityHit = near;
    crossing = crossed;
}

} // namespace parvane::evaluation
