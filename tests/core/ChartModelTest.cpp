#include "core/scan/ChartModel.h"

#include <gtest/gtest.h>

#include "core/evaluation/HistoryReader.h"
#include "core/evaluation/NumberRules.h"
#include "core/evaluation/TimeUnits.h"
#include "support/TestBase.h"

namespace parvane::scan {
namespace {

evaluation::TrendLineAccount lineAccount(std::string_view unit, int weekCount)
{
    evaluation::TrendLineAccount account;
    account.unit = unit;
    account.weekCount = weekCount;
    account.fields.slope = 0.5;
    account.fields.intercept = 1;
    account.fields.firstAnchor = 10;
    account.fields.secondAnchor = 18;
    return account;
}

TEST(ChartModel, WeeksEndWhereTheWeeklyEvaluationFindsThePreviousWeek)
{
    const std::string history = test::weeklyHistory(100, "9.9", "9.8", "1000", "2000");
    const ChartModel model = buildChartModel(history, lineAccount(evaluation::kUnitWeek, 21), 60);

    // 100 trading days from a Monday: 20 whole weeks, the last at W = 21 (the first day counts twice).
    ASSERT_EQ(model.bars.size(), 20u);
    EXPECT_TRUE(model.weekly);
    EXPECT_EQ(model.bars.back().position, 21);
    EXPECT_EQ(model.bars.front().position, 2);
    EXPECT_EQ(model.bars.back().close, 9.8);
    EXPECT_EQ(model.bars.back().volume, 5 * 2000);
    EXPECT_EQ(model.bars[18].volume, 5 * 1000);
    EXPECT_EQ(model.bars.back().date, "2026/06/19");

    // The week before the last closes where the weekly evaluation takes the previous close.
    evaluation::HistorySummary summary;
    evaluation::HistoryReader::summarize(history, summary);
    const auto week = evaluation::ecartsemaineprec(summary.lookBack, *summary.lastDate, 0.5, 1, 21);
    ASSERT_TRUE(week);
    EXPECT_EQ(model.bars[18].close, evaluation::readNumber(week->close));
    EXPECT_EQ(model.bars[18].position, 20);
    EXPECT_DOUBLE_EQ(model.lineAt(20) - model.bars[18].close, week->gap);
}

TEST(ChartModel, DailyBarsSitWhereTheEvaluationPlacesThemAndReachTheEarlierAnchor)
{
    const std::string history = test::dailyHistory(100, "9.9", "9.8");
    const ChartModel shortView = buildChartModel(history, lineAccount(evaluation::kUnitDaily, 0), 40);
    // The earlier anchor (10) lies 91 bars back: the view widens to reach it.
    ASSERT_EQ(shortView.bars.size(), 94u);
    EXPECT_EQ(shortView.bars.front().position, 8);
    EXPECT_EQ(shortView.bars.back().position, 101);
    EXPECT_EQ(shortView.bars.back().close, 9.8);
    EXPECT_EQ(shortView.bars.back().volume, 1000);
    EXPECT_EQ(shortView.lineAt(18), 10);

    const ChartModel tiny = buildChartModel(history, lineAccount(evaluation::kUnitDaily, 0), 10);
    EXPECT_EQ(tiny.bars.size(), 10u); // too far to widen: the last bars only
    EXPECT_TRUE(buildChartModel("", lineAccount(evaluation::kUnitDaily, 0), 10).bars.empty());
}

} // namespace
} // namespace parvane::scan
