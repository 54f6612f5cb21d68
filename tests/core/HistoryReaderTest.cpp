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

// Quotation line i of a test history: day i after 1 December 2001, close "i,5", volume 100 * i.
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
    for (int i = 1; i <= lines; ++i)
        text += quotation(i) + (i < lines || finalLineEnd ? std::string(lineEnd) : "");
    return text;
}

std::string number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

std::string dayText(const std::optional<Date>& date)
{
    return date ? std::to_string(date->year * 10000 + date->month * 100 + date->day) : "-";
}

// Every item of a summary on one line; the look-back as the days of its quotations ("?" for a
// line that is not one of history()'s).
std::string describe(const HistorySummary& s)
{
    std::string lookBack;
    for (const std::string& line : s.lookBack) {
        int i = 0;
        while (i < 40 && quotation(i) != line)
            ++i;
        lookBack += " " + (i < 40 ? std::to_string(i) : line.empty() ? "''" : "?");
    }
    return std::to_string(s.lineCount) + " " + dayText(s.firstDate) + " " + dayText(s.lastDate) + " "
           + s.lastClose + " " + s.previousClose + " " + number(s.lastVolume) + " " + number(s.previousVolume)
           + " |" + lookBack;
}

std::string summaryOf(std::string_view bytes)
{
    HistorySummary summary;
    HistoryReader::summarize(bytes, summary);
    return describe(summary);
}

TEST(HistoryReader, SummarizesLineCountDatesLastTwoQuotationsAndTenLinesBack)
{
    const std::string q1 = quotation(1), q2 = quotation(2), q3 = quotation(3);
    const std::pair<std::string, std::string> cases[] = {
        {history(5), "5 20011202 20011206 5.5 4.5 500 400 | 2 3 4"},
        {history(2), "2 20011202 20011203 2.5 1.5 200 100 |"},
        {history(1, "\r\n", false), "1 20011202 20011202 1.5  100 0 |"},
        {"", "0 - -   0 0 |"},
        {history(3), "3 20011202 20011204 3.5 2.5 300 200 | 2"},
        {history(12), "12 20011202 20011213 12.5 11.5 1200 1100 | 2 3 4 5 6 7 8 9 10 11"},
        {history(13), "13 20011202 20011214 13.5 12.5 1300 1200 | 3 4 5 6 7 8 9 10 11 12"},
        {history(30), "30 20011202 20011231 30.5 29.5 3000 2900 | 20 21 22 23 24 25 26 27 28 29"},
        // Blank lines count; a blank last line has no date and no close.
        {q1 + "\r\n\r\n" + q2 + "\r\n\r\n" + q3 + "\r\n", "5 20011202 20011204 3.5  300 0 | '' 2 ''"},
        {q1 + "\r\n" + q2 + "\r\n\r\n", "3 20011202 -  2.5 0 200 | 2"},
        // Fields missing leave their items empty.
        {"20011203\t1\t2\t3\r\ngarbage\r\n20011299\t1\t2\t3\t7\r\n", "3 20011203 - 7  0 0 | ?"},
        {history(15) + std::string("\0\0\xff\t\t\t\t\x80\t\0", 10) + "\r\n" + std::string(1000, '\0'),
         "17 20011202 -  \x80 0 0 | 7 8 9 10 11 12 13 14 15 ?"},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(summaryOf(text), expected) << testing::PrintToString(text.substr(0, 60));
    // Any line end, with or without a final one.
    const std::string crLf = summaryOf(history(20));
    std::string mixed;
    for (int i = 1; i <= 20; ++i)
        mixed += quotation(i) + (i % 3 == 0 ? "\r\n" : i % 3 == 1 ? "\n" : "\r");
    for (const std::string& text :
         {history(20, "\n"), history(20, "\r"), history(20, "\r\n", false), history(20, "\r", false), mixed})
        EXPECT_EQ(summaryOf(text), crLf);
}

TEST(HistoryReader, ReadsCloseAndVolumeFields)
{
    for (const auto& row : test::dataRows("history/fields.tsv")) {
        ASSERT_EQ(row.size(), 3u);
        const std::string line = "20011231\t1\t2\t3" + row[1];
        if (row[0] == "close")
            EXPECT_EQ(closeText(line), row[2]) << row[1];
        else
            EXPECT_EQ(dailyVolume(line), std::stod(row[2])) << row[1];
    }
}

TEST(HistoryReader, ReadMatchesSummarizeWhereverChunksEndAndKeepsNothingOfTheLastFile)
{
    const test::TempDir dir;
    HistoryReader reader;
    HistorySummary summary;
    std::vector<std::string> texts;
    // Decreasing then increasing sizes, so that the reused buffer holds stale bytes.
    for (const int lines : {400, 3, 0, 1, 12, 5000, 2})
        texts.push_back(history(lines, "\r\n", lines % 2 == 0));
    texts.push_back("junk\r\nmore junk");
    // A first line that puts the line ends across a chunk boundary; lines longer than a chunk.
    for (const std::string_view end : {"\r\n", "\r", "\n"}) {
        for (std::size_t shift = 0; shift < 4; ++shift)
            texts.push_back(quotation(0) + std::string(kHistoryChunkBytes - 30 - shift, '7')
                            + std::string(end) + history(40, end, shift % 2 == 0));
    }
    const std::string huge = "20011203\t1\t2\t3\t9,75\t42" + std::string(3 * kHistoryChunkBytes, '7');
    texts.push_back(huge + "\r\n" + history(3));
    texts.push_back(history(3) + huge);
    for (const std::string& text : texts) {
        test::writeFile(dir.path() / "S_1.txt", text);
        ASSERT_TRUE(reader.read(dir.path() / "S_1.txt", summary).ok());
        EXPECT_EQ(describe(summary), summaryOf(text)) << text.size();
    }
    EXPECT_TRUE(reader.read(dir.path() / "GAMMA_3.txt", summary).isMissing());
    EXPECT_EQ(describe(summary), summaryOf(""));
}

TEST(HistoryReader, RefusesLongLastLinesFoldersFifosAndMissingFiles)
{
    const test::TempDir dir;
    test::writeFile(dir.path() / "LONG_1.txt", history(3) + std::string(3 * kHistoryChunkBytes, '7'));
    test::writeFile(dir.path() / "MANY_2.txt", history(40000));
    std::filesystem::create_directories(dir.path() / "FOLDER_3.txt");
    ASSERT_EQ(::mkfifo((dir.path() / "FIFO_4.txt").c_str(), 0600), 0);
    HistoryReader reader(2 * kHistoryChunkBytes);
    const std::pair<const char*, int> cases[] = {
        {"LONG_1.txt", EFBIG}, {"FOLDER_3.txt", EISDIR}, {"FIFO_4.txt", EINVAL}, {"NONE_5.txt", ENOENT}};
    for (const auto& [name, code] : cases) {
        HistorySummary summary;
        HistoryReader::summarize(history(20), summary);
        EXPECT_EQ(reader.read(dir.path() / name, summary).code, code) << name;
        EXPECT_EQ(describe(summary), summaryOf("")) << name;
    }
    // The limit bounds what is kept, not the file: a long history of short lines reads.
    HistorySummary summary;
    ASSERT_TRUE(reader.read(dir.path() / "MANY_2.txt", summary).ok());
    EXPECT_EQ(summary.lineCount, 40000u);
}

} // namespace
} // namespace parvane::evaluation
