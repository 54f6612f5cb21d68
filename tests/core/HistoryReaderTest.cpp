#include "core/evaluation/HistoryReader.h"

#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/TestFiles.h"

namespace parvane::evaluation {
namespace {

using test::TempDir;
using test::writeFile;

// Quotation line i (from 1) of a test history: a trading day of December 2001 onwards, close
// "i,5", volume 100 * i.
std::string quotation(int i)
{
    const Date date = civilFromDays(daysFromCivil(Date{2001, 12, 1}) + i);
    char day[9];
    std::snprintf(day, sizeof day, "%04d%02d%02d", date.year, date.month, date.day);
    return std::string(day) + "\t1\t2\t3\t" + std::to_string(i) + ",5\t" + std::to_string(100 * i);
}

std::string history(int lines, std::string_view lineEnd = "\r\n", bool finalLineEnd = true)
{
    std::string text;
    for (int i = 1; i <= lines; ++i) {
        text += quotation(i);
        if (i < lines || finalLineEnd)
            text += lineEnd;
    }
    return text;
}

HistorySummary summaryOf(std::string_view bytes)
{
    HistorySummary summary;
    HistoryReader::summarize(bytes, summary);
    return summary;
}

std::vector<std::string> quotations(int first, int last)
{
    std::vector<std::string> lines;
    for (int i = first; i <= last; ++i)
        lines.push_back(quotation(i));
    return lines;
}

void expectSame(const HistorySummary& a, const HistorySummary& b)
{
    EXPECT_EQ(a.lineCount, b.lineCount);
    EXPECT_EQ(a.firstDate, b.firstDate);
    EXPECT_EQ(a.lastDate, b.lastDate);
    EXPECT_EQ(a.lastClose, b.lastClose);
    EXPECT_EQ(a.previousClose, b.previousClose);
    EXPECT_EQ(a.lastVolume, b.lastVolume);
    EXPECT_EQ(a.previousVolume, b.previousVolume);
    EXPECT_EQ(a.lookBack, b.lookBack);
}

TEST(HistoryReader, SummarizesAFiveLineHistory)
{
    const HistorySummary summary = summaryOf(history(5));
    EXPECT_EQ(summary.lineCount, 5u);
    EXPECT_EQ(summary.lastBarPosition(), 6u);
    EXPECT_TRUE(summary.hasPreviousLine());
    EXPECT_EQ(summary.firstDate, (Date{2001, 12, 2}));
    EXPECT_EQ(summary.lastDate, (Date{2001, 12, 6}));
    EXPECT_EQ(summary.lastClose, "5.5");
    EXPECT_EQ(summary.previousClose, "4.5");
    EXPECT_EQ(summary.lastVolume, 500);
    EXPECT_EQ(summary.previousVolume, 400);
    EXPECT_EQ(summary.lookBack, quotations(2, 4));
}

TEST(HistoryReader, LookBackNeverHoldsLineOneAndAtMostTenLines)
{
    EXPECT_EQ(summaryOf(history(2)).lookBack, quotations(2, 1));
    EXPECT_EQ(summaryOf(history(3)).lookBack, quotations(2, 2));
    EXPECT_EQ(summaryOf(history(11)).lookBack, quotations(2, 10));
    EXPECT_EQ(summaryOf(history(12)).lookBack, quotations(2, 11));
    EXPECT_EQ(summaryOf(history(13)).lookBack, quotations(3, 12));
    EXPECT_EQ(summaryOf(history(30)).lookBack, quotations(20, 29));
    // Two lines take the previous quotation from line one; one line has none; nor has no line.
    EXPECT_EQ(summaryOf(history(2)).previousClose, "1.5");
    EXPECT_EQ(summaryOf(history(2)).previousVolume, 100);
    const HistorySummary one = summaryOf(history(1, "\r\n", false));
    EXPECT_EQ(one.lineCount, 1u);
    EXPECT_FALSE(one.hasPreviousLine());
    EXPECT_EQ(one.firstDate, one.lastDate);
    EXPECT_EQ(one.lastClose, "1.5");
    expectSame(summaryOf(""), HistorySummary{});
}

TEST(HistoryReader, AcceptsCrLfLfAndCr)
{
    const HistorySummary crLf = summaryOf(history(20, "\r\n"));
    expectSame(summaryOf(history(20, "\n")), crLf);
    expectSame(summaryOf(history(20, "\r")), crLf);
    expectSame(summaryOf(history(20, "\r\n", false)), crLf);
    expectSame(summaryOf(history(20, "\r", false)), crLf);

    std::string mixed;
    const char* ends[] = {"\r\n", "\n", "\r"};
    for (int i = 1; i <= 20; ++i)
        mixed += quotation(i) + ends[i % 3];
    expectSame(summaryOf(mixed), crLf);
}

TEST(HistoryReader, BlankLinesCount)
{
    const std::string text = quotation(1) + "\r\n\r\n" + quotation(2) + "\r\n\r\n" + quotation(3) + "\r\n";
    const HistorySummary summary = summaryOf(text);
    EXPECT_EQ(summary.lineCount, 5u);
    EXPECT_EQ(summary.lookBack, (std::vector<std::string>{"", quotation(2), ""}));
    EXPECT_EQ(summary.previousClose, "");
    EXPECT_EQ(summary.previousVolume, 0);

    // A blank last line: the last quotation has no date and no close.
    const HistorySummary blankLast = summaryOf(quotation(1) + "\r\n" + quotation(2) + "\r\n\r\n");
    EXPECT_EQ(blankLast.lineCount, 3u);
    EXPECT_FALSE(blankLast.lastDate);
    EXPECT_EQ(blankLast.lastClose, "");
    EXPECT_EQ(blankLast.previousClose, "2.5");
}

TEST(HistoryReader, ReadsCloseAndVolumeFields)
{
    const std::string day = "20011231\t1\t2\t3";
    for (const auto& [fields, close] : {std::pair{"\t12,34\t1000", "12.34"},
                                        {"\t1,234,5\t1000", "1.234,5"},
                                        {"\t12,5", "12.5"},
                                        {"\t", ""},
                                        {"", ""},
                                        {"\t\xe9\xff\t5", "\xe9\xff"}})
        EXPECT_EQ(closeText(day + fields), close) << fields;
    for (const auto& [volume, value] : {std::pair{"\t1000", 1000},
                                        {"\t123456789012", 1234567890},
                                        {"\t1000,5", 1000},
                                        {"\t 1 000", 1000},
                                        {"\t", 0},
                                        {"", 0},
                                        {"\tabc", 0}})
        EXPECT_EQ(dailyVolume(day + "\t4" + volume), value) << volume;
}

TEST(HistoryReader, FieldsMissingLeaveTheirItemsEmpty)
{
    const std::string text = "20011203\t1\t2\t3\r\n"
                             "garbage\r\n"
                             "20011299\t1\t2\t3\t7\r\n";
    const HistorySummary summary = summaryOf(text);
    EXPECT_EQ(summary.lineCount, 3u);
    EXPECT_EQ(summary.firstDate, (Date{2001, 12, 3}));
    EXPECT_FALSE(summary.lastDate);
    EXPECT_EQ(summary.lastClose, "7");
    EXPECT_EQ(summary.lastVolume, 0);
    EXPECT_EQ(summary.previousClose, "");
    EXPECT_EQ(summary.previousVolume, 0);
    EXPECT_EQ(summary.lookBack, (std::vector<std::string>{"garbage"}));
}

TEST(HistoryReader, NeverKeepsValuesOfThePreviousStock)
{
    const TempDir dir;
    writeFile(dir.path() / "ALPHA_1.txt", history(30));
    writeFile(dir.path() / "BETA_2.txt", "junk\r\nmore junk");
    HistoryReader reader;
    HistorySummary summary;
    ASSERT_TRUE(reader.read(dir.path() / "ALPHA_1.txt", summary).ok());
    ASSERT_EQ(summary.lookBack.size(), 10u);

    ASSERT_TRUE(reader.read(dir.path() / "BETA_2.txt", summary).ok());
    HistorySummary beta;
    beta.lineCount = 2;
    beta.lookBack = {};
    expectSame(summary, beta);

    ASSERT_TRUE(reader.read(dir.path() / "ALPHA_1.txt", summary).ok());
    const text::FileStatus missing = reader.read(dir.path() / "GAMMA_3.txt", summary);
    EXPECT_TRUE(missing.isMissing());
    expectSame(summary, HistorySummary{});
}

TEST(HistoryReader, ReadMatchesSummarizeAcrossFilesOfAnySize)
{
    const TempDir dir;
    HistoryReader reader;
    HistorySummary summary;
    // Files of decreasing then increasing sizes, so that the reused buffer holds stale bytes.
    for (const int lines : {400, 3, 0, 1, 12, 5000, 2}) {
        const std::string text = history(lines, "\r\n", lines % 2 == 0);
        const auto file = dir.path() / ("S_" + std::to_string(lines) + ".txt");
        writeFile(file, text);
        ASSERT_TRUE(reader.read(file, summary).ok());
        expectSame(summary, summaryOf(text));
    }
}

TEST(HistoryReader, ChunkBoundariesMayFallAnywhereInALineOrItsEnd)
{
    const TempDir dir;
    HistoryReader reader;
    HistorySummary summary;
    // A first line that puts the line end of the following lines across a chunk boundary, for
    // each kind of line end; then lines longer than a chunk at the start and at the end.
    for (const std::string_view end : {"\r\n", "\r", "\n"}) {
        for (std::size_t shift = 0; shift < 4; ++shift) {
            const std::string text = quotation(0) + std::string(kHistoryChunkBytes - 30 - shift, '7')
                                     + std::string(end) + history(40, end, shift % 2 == 0);
            writeFile(dir.path() / "S_1.txt", text);
            ASSERT_TRUE(reader.read(dir.path() / "S_1.txt", summary).ok());
            expectSame(summary, summaryOf(text));
        }
    }
    const std::string huge = "20011203\t1\t2\t3\t9,75\t42" + std::string(3 * kHistoryChunkBytes, '7');
    for (const std::string& text : {huge + "\r\n" + history(3), history(3) + huge}) {
        writeFile(dir.path() / "S_2.txt", text);
        ASSERT_TRUE(reader.read(dir.path() / "S_2.txt", summary).ok());
        expectSame(summary, summaryOf(text));
    }
}

TEST(HistoryReader, RefusesLastLinesLongerThanItsLimit)
{
    const TempDir dir;
    HistoryReader reader(2 * kHistoryChunkBytes);
    HistorySummary summary;
    writeFile(dir.path() / "S_1.txt", history(3) + std::string(3 * kHistoryChunkBytes, '7'));
    EXPECT_EQ(reader.read(dir.path() / "S_1.txt", summary).code, EFBIG);
    expectSame(summary, HistorySummary{});
    // The limit bounds what is kept, not the file: a long history of short lines reads.
    writeFile(dir.path() / "S_2.txt", history(40000));
    ASSERT_TRUE(reader.read(dir.path() / "S_2.txt", summary).ok());
    EXPECT_EQ(summary.lineCount, 40000u);
}

TEST(HistoryReader, RefusesFoldersFifosAndMissingFiles)
{
    const TempDir dir;
    std::filesystem::create_directories(dir.path() / "FOLDER_1.txt");
    ASSERT_EQ(::mkfifo((dir.path() / "FIFO_2.txt").c_str(), 0600), 0);
    HistoryReader reader;
    HistorySummary summary = summaryOf(history(20));

    text::FileStatus status = reader.read(dir.path() / "FOLDER_1.txt", summary);
    EXPECT_EQ(status.code, EISDIR);
    expectSame(summary, HistorySummary{});

    summary = summaryOf(history(20));
    status = reader.read(dir.path() / "FIFO_2.txt", summary);
    EXPECT_EQ(status.code, EINVAL);
    expectSame(summary, HistorySummary{});

    status = reader.read(dir.path() / "NONE_3.txt", summary);
    EXPECT_EQ(status.code, ENOENT);
    EXPECT_TRUE(status.isMissing());
}

} // namespace
} // namespace parvane::evaluation
