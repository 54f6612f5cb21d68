#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace parvane::text {

// Splits text into lines the way Korvix's files are read here: CR LF, LF and a lone CR each end a
// line; a last line without a line end is a line; a final line end adds no empty line.
// Calls `onLine(std::string_view)` for each line, without its line end, in order.
template <typename F>
void forEachLine(std::string_view text, F&& onLine)
{
    std::size_t start = 0;
    const std::size_t size = text.size();
    for (std::size_t i = 0; i < size; ++i) {
        const char c = text[i];
        if (c == '\n' || c == '\r') {
            onLine(text.substr(start, i - start));
            if (c == '\r' && i + 1 < size && text[i + 1] == '\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < size)
        onLine(text.substr(start));
}

// Number of lines of `text` by the rule of forEachLine.
std::size_t countLines(std::string_view text) noexcept;

// countLines by each counting method that this processor can run (the portable loop first, then
// the vector units), for tests: every count must be the same.
std::vector<std::size_t> countLinesByEveryMethod(std::string_view text);

// Field `index` (from 0) of a Tab-separated line; std::string_view{} with `found` false when the
// line has fewer fields.
std::string_view tabField(std::string_view line, std::size_t index, bool* found = nullptr) noexcept;

} // namespace parvane::text
