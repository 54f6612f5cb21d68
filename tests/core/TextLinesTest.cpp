#include "core/text/TextLines.h"

#include <random>
#include <string>

#include <gtest/gtest.h>

namespace parvane::evaluation {
namespace {

// countLines and each of its methods give `expected`, which is what forEachLine returns.
void expectCount(std::string_view text, std::size_t expected)
{
    std::size_t lines = 0;
    text::forEachLine(text, [&](std::string_view) { ++lines; });
    ASSERT_EQ(lines, expected) << testing::PrintToString(text.substr(0, 40));
    ASSERT_EQ(text::countLines(text), expected) << testing::PrintToString(text.substr(0, 40));
    for (const std::size_t count : text::countLinesByEveryMethod(text))
        ASSERT_EQ(count, expected) << testing::PrintToString(text.substr(0, 40));
}

TEST(TextLines, CountLinesAgreesWithForEachLine)
{
    const std::pair<std::string_view, std::size_t> cases[] = {
        {"", 0},     {"a", 1},      {"\n", 1},        {"\r", 1},         {"\r\n", 1},
        {"\n\r", 2}, {"a\r\nb", 2}, {"a\r\n\r\n", 2}, {"\r\r\n\n\r", 4}, {"x\ry\r\nz\n", 3}};
    for (const auto& [text, lines] : cases)
        expectCount(text, lines);
    // Random bytes rich in line ends, in lengths that cross the counting blocks.
    std::mt19937 random(12345);
    const char alphabet[] = {'\r', '\n', 'a', '\t', '\0', '\xff'};
    for (int round = 0; round < 300; ++round) {
        std::string text(random() % 2000, ' ');
        std::size_t lines = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            text[i] = alphabet[random() % sizeof alphabet];
            lines += text[i] == '\r' || (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'));
        }
        if (!text.empty() && text.back() != '\r' && text.back() != '\n')
            ++lines;
        expectCount(text, lines);
    }
    // Every byte a line end, over many vector blocks: no counter may overflow.
    for (const std::size_t size : {1, 63, 64, 65, 4081, 100003}) {
        std::string crLf;
        while (crLf.size() < size)
            crLf += "\r\n";
        expectCount(std::string(size, '\n'), size);
        expectCount(std::string(size, '\r'), size);
        expectCount(crLf, crLf.size() / 2);
    }
}

} // namespace
} // namespace parvane::evaluation
