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
    const struct
    {
        std::string_view text;
        std::size_t index;
        std::string_view field;
        bool found;
    } cases[] = {{"a\tb\t\td", 0, "a", true}, {"a\tb\t\td", 1, "b", true}, {"a\tb\t\td", 2, "", true},
                 {"a\tb\t\td", 3, "d", true}, {"a\tb\t\td", 4, "", false}, {"", 0, "", true},
                 {"a\t", 1, "", true}};

    for (const auto& c : cases) {
        bool found = !c.found;
        EXPECT_EQ(text::tabField(c.text, c.index, &found), c.field) << c.text << c.index;
        EXPECT_EQ(found, c.found) << c.text << c.index;
    }
}

} // namespace
} // namespace parvane::evaluation
