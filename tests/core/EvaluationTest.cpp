#include "core/evaluation/Evaluation.h"

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/support/ScanRecorders.h"
#include "support/TestBase.h"
#include "support/TestFiles.h"

namespace parvane::evaluation {
namespace {

namespace fs = std::filesystem;
using test::dailyHistory;
using test::RecordingOutputs;
using test::TrendLineSpec;
using test::weeklyHistory;

constexpr std::string_view kZeroClose = ": dernier cours ou avant dernier cours de cloture a zero!";
constexpr std::string_view kMissing = ": fichier introuvable, verifiez sa presence ou son integrite ";

EvaluationSettings proximitySettings(double maxGap = 3)
{
    EvaluationSettings settings;
    settings.proximity = true;
    settings.daily = true;
    settings.csvFile = true;
    settings.maxGap = maxGap;
    settings.decimalSeparator = ',';
    return settings;
}

EvaluationSettings crossingSettings()
{
    EvaluationSettings settings;
    settings.crossing = true;
    settings.csvFile = true;
    settings.decimalSeparator = ',';
    return settings;
}

TrendLineSpec weekly(TrendLineSpec line = {})
{
    line.unit = "0";
    return line;
}

class EvaluationTest : public ::testing::Test
{
protected:
    // Evaluates the trend lines `lines` of the stock `fileName`, whose history file holds
    // `history` (no history file without it), as transforme does for one stock of a run.
    RecordingOutputs evaluate(const EvaluationSettings& settings, const std::vector<TrendLineSpec>& lines,
                              const std::optional<std::string>& history,
                              const std::string& fileName = "ALPHA_120000.txt")
    {
        m_fileName = fileName;
        const std::string_view view(m_fileName);
        const std::size_t underscore = view.find('_');
        StockFiles stock;
        stock.fileName = m_fileName;
        stock.name = view.substr(0, underscore);
        stock.code = view.substr(underscore + 1, view.size() - underscore - 5);
        stock.history = historyPath();
        if (history)
            test::writeFile(stock.history, *history);
        if (m_comment) {
            stock.hasComment = true;
            stock.comment = *m_comment;
        }

        std::vector<std::string> texts;
        for (const TrendLineSpec& line : lines)
            texts.push_back(test::trendLineText(line));
        const std::vector<std::string_view> views(texts.begin(), texts.end());

        RecordingOutputs outputs;
        StockEvaluator evaluator(settings, outputs);
        evaluator.startRun();
        evaluator.transforme(stock, views, "droite/" + m_fileName);
        return outputs;
    }

    fs::path historyPath() const { return m_dir.path() / "histo" / m_fileName; }

    void setComment(std::string_view bytes)
    {
        m_comment = m_dir.path() / "comment" / "stock.txt";
        test::writeFile(*m_comment, bytes);
    }

    test::TempDir m_dir;
    std::string m_fileName = "ALPHA_120000.txt";
    std::optional<fs::path> m_comment;
};

TEST_F(EvaluationTest, DailyGapAndVariationFollowTheWorkedExample)
{
    // N = 100, line at 10: last gap 10 - 9.8 = 0.2, 2.04 % of the close; variation -1.01 %.
    const RecordingOutputs out =
        evaluate(proximitySettings(3), {TrendLineSpec{}}, dailyHistory(100, "9.9", "9.8"));

    ASSERT_EQ(out.rows.size(), 1u);
    const ResultRow& row = out.rows[0];
    EXPECT_EQ(row.action, "ALPHA           ");
    EXPECT_EQ(row.sicovam, "120000");
    EXPECT_EQ(row.dernier, "9.8  ");
    EXPECT_EQ(row.ut, "DAILY");
    EXPECT_EQ(row.ecart, "2,04");
    EXPECT_EQ(row.var, "-1,01");
    EXPECT_EQ(row.commentaires, "");
    EXPECT_EQ(out.proximityLines, std::vector<std::string>{"120000\tALPHA"});
    EXPECT_EQ(out.csvLines, std::vector<std::string>{"ALPHA           ;120000;9.8  ;DAILY;2,04%;-1,01"});
    EXPECT_TRUE(out.crossingLines.empty());
    EXPECT_TRUE(out.errors.empty());
}

TEST_F(EvaluationTest, GapAtOrAboveTheMaximumIsNotReported)
{
    EXPECT_TRUE(
        evaluate(proximitySettings(2), {TrendLineSpec{}}, dailyHistory(100, "9.9", "9.8")).rows.empty());
    EXPECT_TRUE(
        evaluate(proximitySettings(2.04), {TrendLineSpec{}}, dailyHistory(100, "9.9", "9.8")).rows.empty());
    EXPECT_EQ(
        evaluate(proximitySettings(2.05), {TrendLineSpec{}}, dailyHistory(100, "9.9", "9.8")).rows.size(),
        1u);
}

TEST_F(EvaluationTest, CrossingMarksTheNameAndWritesTheCrossingGroup)
{
    // Previous gap 10 - 10.2 = -0.2, last gap 10 - 9.9 = 0.1: the price fell through the line.
    const RecordingOutputs out =
        evaluate(crossingSettings(), {TrendLineSpec{}}, dailyHistory(100, "10.2", "9.9"));

    ASSERT_EQ(out.rows.size(), 1u);
    EXPECT_EQ(out.rows[0].action, "X_ALPHA         ");
    EXPECT_EQ(out.rows[0].ecart, "1,01");
    EXPECT_EQ(out.rows[0].var, "-2,94");
    EXPECT_EQ(out.crossingLines, std::vector<std::string>{"120000\tX_ALPHA"});
    EXPECT_EQ(out.csvLines, std::vector<std::string>{"X_ALPHA         ;120000;9.9  ;DAILY;1,01%;-2,94"});
    EXPECT_TRUE(out.proximityLines.empty());
}

TEST_F(EvaluationTest, CrossingComparesTheSignsOfBothGaps)
{
    // Previous close on the line (gap 0), last close below it: the signs differ.
    EXPECT_EQ(evaluate(crossingSettings(), {TrendLineSpec{}}, dailyHistory(100, "10", "9.9")).crossingLines,
              std::vector<std::string>{"120000\tX_ALPHA"});
    // Both closes on the line: no crossing and nothing reported.
    const RecordingOutputs onLine =
        evaluate(crossingSettings(), {TrendLineSpec{}}, dailyHistory(100, "10", "10"));
    EXPECT_TRUE(onLine.rows.empty());
    EXPECT_TRUE(onLine.crossingLines.empty());
    // Both closes below the line.
    EXPECT_TRUE(
        evaluate(crossingSettings(), {TrendLineSpec{}}, dailyHistory(100, "9.8", "9.9")).rows.empty());
}

TEST_F(EvaluationTest, DailyVolumeFilterNeedsARiseAboveTheThreshold)
{
    EvaluationSettings settings = crossingSettings();
    settings.volumeFilter = true;
    const std::string rise = dailyHistory(100, "10.2", "9.9", "1000", "1500");

    settings.volumeThreshold = 40;
    EXPECT_EQ(evaluate(settings, {TrendLineSpec{}}, rise).crossingLines.size(), 1u);
    settings.volumeThreshold = 50; // a rise of exactly 50 % is not above 50
    EXPECT_TRUE(evaluate(settings, {TrendLineSpec{}}, rise).rows.empty());
    settings.volumeThreshold = 40;
    EXPECT_TRUE(
        evaluate(settings, {TrendLineSpec{}}, dailyHistory(100, "10.2", "9.9", "0", "1500")).rows.empty());
}

TEST_F(EvaluationTest, WeeklyVolumeFilterComparesTheVolumesOfTheLastTwoWeeks)
{
    EvaluationSettings settings = crossingSettings();
    settings.volumeFilter = true;
    // Five days at 200 the week before, five at 300 in the last week: 1000 against 1500. The day
    // volumes alone (300 against 300) would show no rise at all.
    const std::string rise = weeklyHistory(100, "10.2", "9.9", "200", "300");

    settings.volumeThreshold = 40;
    const RecordingOutputs kept = evaluate(settings, {weekly()}, rise);
    ASSERT_EQ(kept.rows.size(), 1u);
    EXPECT_EQ(kept.rows[0].action, "X_ALPHA         ");
    EXPECT_EQ(kept.rows[0].ut, "WEEK ");
    EXPECT_EQ(kept.crossingLines, std::vector<std::string>{"120000\tX_ALPHA"});
    settings.volumeThreshold = 50;
    EXPECT_TRUE(evaluate(settings, {weekly()}, rise).rows.empty());
    settings.volumeThreshold = 40;
    EXPECT_TRUE(evaluate(settings, {weekly()}, weeklyHistory(100, "10.2", "9.9", "0", "300")).rows.empty());
}

TEST_F(EvaluationTest, WeeklyVolumesThatCannotBeReadEndTheStock)
{
    EvaluationSettings settings = crossingSettings();
    settings.volumeFilter = true;
    settings.volumeThreshold = 10;
    // The Tuesday of the last week lost its volume field: the closes still give a crossing, but
    // the week's volume cannot be summed.
    std::string history = weeklyHistory(100, "10.2", "9.9");
    const std::string tuesday = test::quotationLine("20260616", "10", "1000");
    const std::size_t at = history.find(tuesday);
    ASSERT_NE(at, std::string::npos);
    history.replace(at, tuesday.size(), "20260616\t1\t2\t0,5\t10");
    // The daily line after it would be reported: its volume rose fivefold on the last day.
    const std::string friday = test::quotationLine(test::kLastDate, "9.9", "1000");
    ASSERT_EQ(history.rfind(friday), history.size() - friday.size() - 2);
    history.replace(history.size() - friday.size() - 2, friday.size(),
                    test::quotationLine(test::kLastDate, "9.9", "5000"));

    const RecordingOutputs out = evaluate(settings, {weekly(), TrendLineSpec{}}, history);
    EXPECT_TRUE(out.rows.empty());
    EXPECT_EQ(out.errors, std::vector<std::string>{historyPath().string()
                                                   + ": volumes hebdomadaires illisibles, action ignoree"});
}

TEST_F(EvaluationTest, WeeklyGapsUseTheWeekCountAndThePreviousWeeksClose)
{
    // W = 21: the line 0.5 * 21 - 0.6 = 9.9 lies 0.1 above the last close (1.02 %); at W - 1 it is
    // 9.4, under the previous Friday's close of 10.2: a crossing. Variation against that close:
    // -3.92 %. At any other W the line would lie under both closes.
    EvaluationSettings settings = crossingSettings();
    TrendLineSpec line = weekly();
    line.slope = "0,5";
    line.intercept = "-0,6";
    const RecordingOutputs out = evaluate(settings, {line}, weeklyHistory(100, "10.2", "9.8"));
    ASSERT_EQ(out.rows.size(), 1u);
    EXPECT_EQ(out.rows[0].ecart, "1,02");
    EXPECT_EQ(out.rows[0].var, "-3,92");
    EXPECT_EQ(out.rows[0].ut, "WEEK ");
}

TEST_F(EvaluationTest, DailyAgeLimitCountsFromTheLaterAnchor)
{
    const std::string history = dailyHistory(100, "9.9", "9.8");
    const auto reported = [&](TrendLineSpec line) {
        return evaluate(proximitySettings(), {line}, history).rows.size() == 1;
    };
    TrendLineSpec line;
    line.firstAnchor = "90";
    line.secondAnchor = "95"; // 101 - 95 = 6 > 5
    EXPECT_FALSE(reported(line));
    line.secondAnchor = "96"; // 5: equality does not stop
    EXPECT_TRUE(reported(line));
    line.firstAnchor = "96";
    line.secondAnchor = "90"; // the larger anchor counts, whichever field holds it
    EXPECT_TRUE(reported(line));
    line.firstAnchor = "90";
    line.secondAnchor = "95";
    line.kind = "1"; // no age limit
    EXPECT_TRUE(reported(line));
    line.kind = "0";
    line.extension = "1"; // 101 - 95 - 1 = 5
    EXPECT_TRUE(reported(line));
    // Anchors are taken to the nearest whole bar, a half to the even one.
    line.extension.reset();
    line.secondAnchor = "95,5"; // a comma ends an anchor: 95
    EXPECT_FALSE(reported(line));
    line.secondAnchor = "96.5"; // 96
    EXPECT_TRUE(reported(line));
    line.secondAnchor = "95.4"; // 95
    EXPECT_FALSE(reported(line));
}

TEST_F(EvaluationTest, WeeklyAgeLimitCountsWeeks)
{
    // 245 trading days from Monday to Friday: JoursOuvrables 246, W = 50.
    const std::string history = weeklyHistory(245, "10", "9.9");
    EvaluationSettings settings = proximitySettings();
    settings.daily = false;
    settings.weekly = true;
    TrendLineSpec line = weekly();
    line.firstAnchor = "10";
    line.secondAnchor = "46"; // 50 - 46 = 4 > 3
    EXPECT_TRUE(evaluate(settings, {line}, history).rows.empty());
    line.secondAnchor = "47";
    EXPECT_EQ(evaluate(settings, {line}, history).rows.size(), 1u);
}

TEST_F(EvaluationTest, OnlyLinesWhoseFields8And9AddUpToZeroAreEvaluated)
{
    const std::string history = dailyHistory(100, "9.9", "9.8");
    TrendLineSpec line;
    line.field8 = "1";
    EXPECT_TRUE(evaluate(proximitySettings(), {line}, history).rows.empty());
    line.field9 = "-1";
    EXPECT_EQ(evaluate(proximitySettings(), {line}, history).rows.size(), 1u);
}

TEST_F(EvaluationTest, KindThreeAndMonthlyLinesAreNeverEvaluated)
{
    EvaluationSettings settings = proximitySettings();
    settings.weekly = true;
    settings.crossing = true;
    TrendLineSpec hidden;
    hidden.kind = "3";
    TrendLineSpec monthly;
    monthly.unit = "-1";
    monthly.kind = "1";
    TrendLineSpec afterMonthly; // an unknown unit code keeps the monthly unit of the line before
    afterMonthly.unit = "7";
    // Zero closes: a line that got as far as the gaps would log.
    const RecordingOutputs out =
        evaluate(settings, {hidden, monthly, afterMonthly}, dailyHistory(100, "0", "0"));
    EXPECT_TRUE(out.rows.empty());
    EXPECT_TRUE(out.errors.empty());
}

TEST_F(EvaluationTest, UnknownUnitCodeKeepsTheUnitOfTheLineBefore)
{
    TrendLineSpec weekLine = weekly();
    weekLine.field8 = "1"; // skipped, but it sets the unit
    TrendLineSpec unknown;
    unknown.unit = "x";
    EvaluationSettings settings = proximitySettings();
    settings.weekly = true;
    const RecordingOutputs out = evaluate(settings, {weekLine, unknown}, weeklyHistory(100, "9.9", "9.9"));
    ASSERT_EQ(out.rows.size(), 1u);
    EXPECT_EQ(out.rows[0].ut, "WEEK ");
    // A stock whose first line has an unknown code has no unit: nothing is evaluated.
    EXPECT_TRUE(evaluate(settings, {unknown}, weeklyHistory(100, "9.9", "9.9")).rows.empty());
}

TEST_F(EvaluationTest, CrossingsAloneAreSoughtInBothUnitsWithoutProximity)
{
    EvaluationSettings settings = crossingSettings();
    settings.daily = true; // the unit boxes and the percentage play no part without proximity
    settings.weekly = true;
    settings.maxGap = 50;
    TrendLineSpec near; // 9.5 stays under both closes: no crossing
    near.intercept = "9.5";
    std::vector<test::Quote> quotes = test::flatQuotes(100, "10.2");
    quotes[99].close = "9.9";
    const RecordingOutputs out =
        evaluate(settings, {near, TrendLineSpec{}, weekly(), weekly(near)}, test::historyText(quotes));

    ASSERT_EQ(out.rows.size(), 2u);
    EXPECT_EQ(out.rows[0].action, "X_ALPHA         ");
    EXPECT_EQ(out.rows[0].ut, "DAILY");
    EXPECT_EQ(out.rows[1].action, "X_ALPHA         ");
    EXPECT_EQ(out.rows[1].ut, "WEEK ");
    EXPECT_EQ(out.crossingLines, (std::vector<std::string>{"120000\tX_ALPHA", "120000\tX_ALPHA"}));
    EXPECT_EQ(out.csvLines, (std::vector<std::string>{"X_ALPHA         ;120000;9.9  ;DAILY;1,01%;-2,94",
                                                      "X_ALPHA         ;120000;9.9  ;WEEK ;1,01%;-2,94"}));
    EXPECT_TRUE(out.proximityLines.empty());
}

TEST_F(EvaluationTest, CrossingThatIsAlsoNearWritesOneCsvLine)
{
    EvaluationSettings settings = proximitySettings(5);
    settings.crossing = true;
    const RecordingOutputs out = evaluate(settings, {TrendLineSpec{}}, dailyHistory(100, "10.2", "9.9"));
    ASSERT_EQ(out.rows.size(), 1u);
    EXPECT_EQ(out.proximityLines, std::vector<std::string>{"120000\tX_ALPHA"});
    EXPECT_EQ(out.crossingLines, std::vector<std::string>{"120000\tX_ALPHA"});
    EXPECT_EQ(out.csvLines.size(), 1u);
}

TEST_F(EvaluationTest, TwoNearLinesGiveTwoRowsButOneGroupAndCsvLineAndOneComment)
{
    setComment("premiere ligne\r\n\r\nsoutien a 9\r\n");
    TrendLineSpec second;
    second.intercept = "9.9";
    const RecordingOutputs out =
        evaluate(proximitySettings(), {TrendLineSpec{}, second}, dailyHistory(100, "9.9", "9.8"));

    ASSERT_EQ(out.rows.size(), 2u);
    EXPECT_EQ(out.rows[0].commentaires, "premiere ligne -  - soutien a 9 - ");
    EXPECT_EQ(out.rows[0].ecart, "2,04");
    EXPECT_EQ(out.rows[1].commentaires, "");
    EXPECT_EQ(out.rows[1].ecart, "1,02");
    EXPECT_EQ(out.proximityLines, std::vector<std::string>{"120000\tALPHA"});
    EXPECT_EQ(out.csvLines,
              std::vector<std::string>{
                  "ALPHA           ;120000;9.8  ;DAILY;2,04%;-1,01;premiere ligne;;soutien a 9"});
}

TEST_F(EvaluationTest, EmptyCommentFileAddsNothing)
{
    setComment("");
    const RecordingOutputs out =
        evaluate(proximitySettings(), {TrendLineSpec{}}, dailyHistory(100, "9.9", "9.8"));
    ASSERT_EQ(out.rows.size(), 1u);
    EXPECT_EQ(out.rows[0].commentaires, "");
    EXPECT_EQ(out.csvLines, std::vector<std::string>{"ALPHA           ;120000;9.8  ;DAILY;2,04%;-1,01"});
    EXPECT_TRUE(out.errors.empty());
}

TEST_F(EvaluationTest, UnreadableCommentIsLoggedAndTheLineStillReported)
{
    // A folder stands in for a comment file that cannot be read (EISDIR, 21).
    m_comment = m_dir.path() / "comment" / "ALPHA_120000.txt";
    fs::create_directories(*m_comment);
    TrendLineSpec second;
    second.intercept = "9.9";
    const RecordingOutputs out =
        evaluate(proximitySettings(), {TrendLineSpec{}, second}, dailyHistory(100, "9.9", "9.8"));

    ASSERT_EQ(out.rows.size(), 2u);
    EXPECT_EQ(out.rows[0].commentaires, "");
    EXPECT_EQ(out.proximityLines, std::vector<std::string>{"120000\tALPHA"});
    EXPECT_EQ(out.csvLines, std::vector<std::string>{"ALPHA           ;120000;9.8  ;DAILY;2,04%;-1,01"});
    // The comment-read flag stays clear: the stock's second reported line tries again.
    const std::string error = m_comment->string() + ": erreur indeterminee no:  21";
    EXPECT_EQ(out.errors, (std::vector<std::string>{error, error}));
}

TEST_F(EvaluationTest, NamesAreCutAndClosesShownAsTheirText)
{
    // A 20-character name keeps 15 characters; with the crossing mark too.
    RecordingOutputs out = evaluate(proximitySettings(), {TrendLineSpec{}}, dailyHistory(100, "9.9", "9.8"),
                                    "ABCDEFGHIJKLMNOPQRST_120000.txt");
    ASSERT_EQ(out.rows.size(), 1u);
    EXPECT_EQ(out.rows[0].action, "ABCDEFGHIJKLMNO");
    EXPECT_EQ(out.proximityLines, std::vector<std::string>{"120000\tABCDEFGHIJKLMNOPQRST"});
    out = evaluate(crossingSettings(), {TrendLineSpec{}}, dailyHistory(100, "10.2", "9.9"),
                   "ABCDEFGHIJKLMNOPQRST_120000.txt");
    ASSERT_EQ(out.rows.size(), 1u);
    EXPECT_EQ(out.rows[0].action, "X_ABCDEFGHIJKLM");
    EXPECT_EQ(out.crossingLines, std::vector<std::string>{"120000\tX_ABCDEFGHIJKLMNOPQRST"});

    // A close longer than five characters keeps four, in the row and in the CSV line.
    TrendLineSpec high;
    high.intercept = "124";
    out = evaluate(proximitySettings(), {high}, dailyHistory(100, "123", "123.45"));
    ASSERT_EQ(out.rows.size(), 1u);
    EXPECT_EQ(out.rows[0].dernier, "123.");
    EXPECT_EQ(out.csvLines, std::vector<std::string>{"ALPHA           ;120000;123.;DAILY;0,45%;0,37"});

    // A decimal comma shows as a point under "Dernier"; the computed texts use the separator.
    TrendLineSpec low;
    low.intercept = "12";
    out = evaluate(proximitySettings(), {low}, dailyHistory(100, "12", "12,34"));
    ASSERT_EQ(out.rows.size(), 1u);
    EXPECT_EQ(out.rows[0].dernier, "12.34");
    EXPECT_EQ(out.rows[0].ecart, "2,76");
    EXPECT_EQ(out.rows[0].var, "2,83");
}

TEST_F(EvaluationTest, CodesArePaddedToSixAndNeverCut)
{
    RecordingOutputs out = evaluate(proximitySettings(), {TrendLineSpec{}}, dailyHistory(100, "9.9", "9.8"),
                                    "TOTAL_FR0000120271.txt");
    ASSERT_EQ(out.rows.size(), 1u);
    EXPECT_EQ(out.rows[0].sicovam, "FR0000120271");
    EXPECT_EQ(out.proximityLines, std::vector<std::string>{"FR0000120271\tTOTAL"});
    EXPECT_EQ(out.csvLines,
              std::vector<std::string>{"TOTAL           ;FR0000120271;9.8  ;DAILY;2,04%;-1,01"});

    out = evaluate(proximitySettings(), {TrendLineSpec{}}, dailyHistory(100, "9.9", "9.8"), "MINI_12.txt");
    ASSERT_EQ(out.rows.size(), 1u);
    EXPECT_EQ(out.rows[0].sicovam, "12    ");
    EXPECT_EQ(out.proximityLines, std::vector<std::string>{"12    \tMINI"});
}

TEST_F(EvaluationTest, ZeroCloseIsLoggedOncePerLineThatPassesSelectionAndAge)
{
    TrendLineSpec unlimited;
    unlimited.kind = "1";
    unlimited.firstAnchor = "10";
    unlimited.secondAnchor = "20";
    TrendLineSpec tooOld;
    tooOld.firstAnchor = "10";
    tooOld.secondAnchor = "20";
    TrendLineSpec skipped;
    skipped.field8 = "2";
    const std::vector<TrendLineSpec> lines = {TrendLineSpec{}, tooOld, unlimited, skipped};
    const std::string expected = "ALPHA_120000.txt" + std::string(kZeroClose);

    RecordingOutputs out = evaluate(proximitySettings(), lines, dailyHistory(100, "9.9", "0"));
    EXPECT_TRUE(out.rows.empty());
    EXPECT_EQ(out.errors, (std::vector<std::string>{expected, expected}));
    out = evaluate(proximitySettings(), lines, dailyHistory(100, "0", "9.8"));
    EXPECT_TRUE(out.rows.empty());
    EXPECT_EQ(out.errors, (std::vector<std::string>{expected, expected}));
}

TEST_F(EvaluationTest, MissingHistoryIsLoggedOnceForTheStock)
{
    const RecordingOutputs out =
        evaluate(proximitySettings(), {TrendLineSpec{}, TrendLineSpec{}, TrendLineSpec{}}, std::nullopt);
    EXPECT_TRUE(out.rows.empty());
    EXPECT_EQ(out.errors, std::vector<std::string>{historyPath().string() + std::string(kMissing)});
}

TEST_F(EvaluationTest, HistoryThatCannotBeReadGivesItsErrorNumber)
{
    fs::create_directories(historyPath());
    const RecordingOutputs out =
        evaluate(proximitySettings(), {TrendLineSpec{}, TrendLineSpec{}}, std::nullopt);
    EXPECT_TRUE(out.rows.empty());
    EXPECT_EQ(out.errors, std::vector<std::string>{historyPath().string() + ": erreur indeterminee no:  21"});
}

TEST_F(EvaluationTest, HistoryOfFewerThanTwoLinesGivesAZeroCloseLinePerLine)
{
    TrendLineSpec future; // with one line the last bar is at 2: an anchor at 20 is ahead of it
    future.firstAnchor = "10";
    future.secondAnchor = "20";
    const std::string expected = "ALPHA_120000.txt" + std::string(kZeroClose);
    for (const std::string& history : {test::historyText(test::flatQuotes(1, "9.8")), std::string()}) {
        const RecordingOutputs out = evaluate(proximitySettings(), {TrendLineSpec{}, future}, history);
        EXPECT_TRUE(out.rows.empty());
        EXPECT_EQ(out.errors, (std::vector<std::string>{expected, expected}));
    }
}

TEST_F(EvaluationTest, WeeklyLineWithoutAPreviousWeekGivesAZeroCloseLine)
{
    EvaluationSettings settings = proximitySettings();
    settings.weekly = true;
    TrendLineSpec line = weekly();
    line.kind = "1";
    const std::string expected = "ALPHA_120000.txt" + std::string(kZeroClose);

    // The last eleven quotations share one day: no look-back line lies in another week.
    std::string history = test::historyText(test::flatQuotes(20, "9.9"), "20260612");
    for (int i = 0; i < 11; ++i)
        history += test::quotationLine(test::kLastDate, "9.9", "1000") + "\r\n";
    RecordingOutputs out = evaluate(settings, {line}, history);
    EXPECT_TRUE(out.rows.empty());
    EXPECT_EQ(out.errors, std::vector<std::string>{expected});

    // Eleven lines: only nine look-back lines, one short of the ten that are searched.
    out = evaluate(settings, {line}, test::historyText(test::flatQuotes(11, "9.9")));
    EXPECT_TRUE(out.rows.empty());
    EXPECT_EQ(out.errors, std::vector<std::string>{expected});
    // Twelve lines are enough.
    EXPECT_EQ(evaluate(settings, {line}, test::historyText(test::flatQuotes(12, "9.9"))).rows.size(), 1u);
}

TEST_F(EvaluationTest, UnreadableTrendLineEndsTheStockAndOnlyANonEmptyOneIsLogged)
{
    test::writeFile(historyPath(), dailyHistory(100, "9.9", "9.8"));
    StockFiles stock;
    stock.fileName = m_fileName;
    stock.name = std::string_view(m_fileName).substr(0, 5);
    stock.code = std::string_view(m_fileName).substr(6, 6);
    stock.history = historyPath();
    const std::string good = test::trendLineText(TrendLineSpec{});
    for (const std::string bad : {"1\t0\t0#\t10#", ""}) {
        const std::vector<std::string_view> views = {good, bad, good};
        RecordingOutputs out;
        StockEvaluator evaluator(proximitySettings(), out);
        evaluator.startRun();
        evaluator.transforme(stock, views, "droite/ALPHA_120000.txt");
        EXPECT_EQ(out.rows.size(), 1u);
        EXPECT_EQ(out.errors,
                  bad.empty() ? std::vector<std::string>{}
                              : std::vector<std::string>{"droite/ALPHA_120000.txt: ligne de tendance "
                                                         "illisible, lignes suivantes ignorees, ligne 2"});
    }
}

TEST_F(EvaluationTest, LastProximityCodeIsKeptAcrossStocksOfARun)
{
    // Two stocks of one code in a row write one proximity line; startRun forgets the code.
    test::writeFile(historyPath(), dailyHistory(100, "9.9", "9.8"));
    const std::string text = test::trendLineText(TrendLineSpec{});
    const std::vector<std::string_view> views = {text};
    StockFiles stock;
    stock.fileName = m_fileName;
    stock.name = std::string_view(m_fileName).substr(0, 5);
    stock.code = std::string_view(m_fileName).substr(6, 6);
    stock.history = historyPath();
    RecordingOutputs out;
    StockEvaluator evaluator(proximitySettings(), out);
    evaluator.startRun();
    evaluator.transforme(stock, views, "t");
    evaluator.transforme(stock, views, "t");
    EXPECT_EQ(out.rows.size(), 2u);
    EXPECT_EQ(out.proximityLines.size(), 1u);
    evaluator.startRun();
    evaluator.transforme(stock, views, "t");
    EXPECT_EQ(out.proximityLines.size(), 2u);
}

} // namespace
} // namespace parvane::evaluation
