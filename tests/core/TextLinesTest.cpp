#include "core/text/TextLines.h"

#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace parvane::evaluation {
namespace {

std::vector<std::string> linesOf(std::string_view text)
{
    std::vector<std::string> lines;
    text::forEachLine(text, [&](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

using Lines = std::vector<std::string>;

TEST(TextLines, AcceptsCrLfLfAndCr)
{
    EXPECT_EQ(linesOf("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(linesOf("a\r\n\r\nb\r\n"), (Lines{"a", "", "b"}));
    EXPECT_EQ(linesOf("a\n\rb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(linesOf("a\r\rb"), (Lines{"a", "", "b"}));
}

TEST(TextLines, FinalLineEndAddsNoEmptyLine)
{
    EXPECT_EQ(linesOf(""), Lines{});
    EXPECT_EQ(linesOf("a"), (Lines{"a"}));
    EXPECT_EQ(linesOf("a\r\n"), (Lines{"a"}));
    EXPECT_EQ(linesOf("a\r"), (Lines{"a"}));
    EXPECT_EQ(linesOf("\r\n"), (Lines{""}));
    EXPECT_EQ(linesOf("\n\n"), (Lines{"", ""}));
    EXPECT_EQ(linesOf("a\r\n\r\n"), (Lines{"a", ""}));
}

TEST(TextLines, CountLinesAgreesWithForEachLine)
{
    for (const std::string_view text :
         {"", "a", "\n", "\r", "\r\n", "\n\r", "a\r\nb", "a\r\n\r\n", "\r\r\n\n\r", "x\ry\r\nz\n"}) {
        EXPECT_EQ(text::countLines(text), linesOf(text).size()) << testing::PrintToString(text);
        for (const std::size_t count : text::countLinesByEveryMethod(text))
            EXPECT_EQ(count, linesOf(text).size()) << testing::PrintToString(text);
    }
    // Random bytes rich in line ends, in lengths that cross the counting blocks.
    std::mt19937 random(12345);
    const char alphabet[] = {'\r', '\n', 'a', '\t', '\0', '\xff'};
    for (int round = 0; round < 300; ++round) {
        std::string text(random() % 2000, ' ');
        for (char& c : text)
            c = alphabet[random() % sizeof alphabet];
        const std::size_t expected = linesOf(text).size();
        ASSERT_EQ(text::countLines(text), expected);
        for (const std::size_t count : text::countLinesByEveryMethod(text))
            ASSERT_EQ(count, expected);
    }
}

TEST(TextLines, CountLinesOfTextsMadeOfLineEnds)
{
    // Every byte a line end, over many vector blocks: no counter may overflow.
    for (const std::size_t size : {std::size_t{1}, std::size_t{63}, std::size_t{64}, std::size_t{65},
                                   std::size_t{4081}, std::size_t{100003}}) {
        const std::string lineFeeds(size, '\n');
        const std::string returns(size, '\r');
        std::string crLf;
        while (crLf.size() < size)
            crLf += "\r\n";
        for (const std::size_t count : text::countLinesByEveryMethod(lineFeeds))
            EXPECT_EQ(count, size);
        for (const std::size_t count : text::countLinesByEveryMethod(returns))
            EXPECT_EQ(count, size);
        for (const std::size_t count : text::countLinesByEveryMethod(crLf))
            EXPECT_EQ(count, crLf.size() / 2);
        EXPECT_EQ(text::countLines(lineFeeds), size);
    }
}

TEST(TextLines, TabFieldFindsFieldsFromZero)
{
    bool found = false;
    EXPECT_EQ(text::tabField("a\tb\t\td", 0, &found), "a");
    EXPECT_TRUE(found);
    EXPECT_EQ(text::tabField("a\tb\t\td", 1), "b");
    EXPECT_EQ(text::tabField("a\tb\t\td", 2, &found), "");
    EXPECT_TRUE(found);
    EXPECT_EQ(text::tabField("a\tb\t\td", 3), "d");
    EXPECT_EQ(text::tabField("a\tb\t\td", 4, &found), "");
    EXPECT_FALSE(found);
    EXPECT_EQ(text::tabField("", 0, &found), "");
    EXPECT_TRUE(found);
    EXPECT_EQ(text::tabField("a\t", 1, &found), "");
    EXPECT_TRUE(found);
}

} // namespace
} // namespace parvane::evaluation
