#include "core/scan/ResultsOrder.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numeric>

#include "core/text/Collation.h"

namespace parvane::scan {

namespace {

// What a row sorts by, computed once per row rather than once per comparison: a list of 100,000
// rows makes about two million comparisons.
struct SortKey
{
    bool isNumber = false;
    double value = 0.0;
    std::string_view text; // text::collationKey of the text, in one buffer for all rows
};

// "10,5", "-0.64" and " 3" read as numbers; "", "n/a" and "1.2.3" do not.
bool readValue(std::string_view text, double& value)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    if (text.empty() || text.size() > 64)
        return false;
    char plain[64];
    std::size_t size = 0;
    for (const char c : text)
        plain[size++] = c == ',' ? '.' : c;
    const char* start = plain;
    if (*start == '+')
        ++start;
    const auto [end, error] = std::from_chars(start, plain + size, value);
    return error == std::errc() && end == plain + size && std::isfinite(value);
}

} // namespace

bool sortsByValue(ResultColumn column) noexcept
{
    return column == ResultColumn::Dernier || column == ResultColumn::Ecart || column == ResultColumn::Var;
}

std::vector<std::size_t> resultRowOrder(const std::vector<std::string_view>& texts, ResultColumn column,
                                        SortDirection direction)
{
    const bool byValue = sortsByValue(column);
    std::vector<SortKey> keys(texts.size());
    std::size_t textBytes = 0;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        keys[i].isNumber = byValue && readValue(texts[i], keys[i].value);
        textBytes += keys[i].isNumber ? 0 : texts[i].size();
    }
    // One allocation for the keys of all rows: 100,000 small ones cost more than the sort.
    std::string buffer;
    buffer.reserve(textBytes);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (!keys[i].isNumber)
            text::appendCollationKey(buffer, texts[i]);
    }
    std::size_t offset = 0;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (keys[i].isNumber)
            continue;
        keys[i].text = std::string_view(buffer).substr(offset, texts[i].size());
        offset += texts[i].size();
    }
    std::vector<std::size_t> order(texts.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    const bool descending = direction == SortDirection::Descending;
    std::stable_sort(order.begin(), order.end(), [&keys, descending](std::size_t ia, std::size_t ib) {
        const SortKey& a = keys[ia];
        const SortKey& b = keys[ib];
        if (a.isNumber != b.isNumber)
            return a.isNumber;
        if (a.isNumber)
            return descending ? b.value < a.value : a.value < b.value;
        return descending ? b.text < a.text : a.text < b.text;
    });
    return order;
}

void sortResultRows(std::vector<ResultTexts>& rows, ResultColumn column, SortDirection direction)
{
    const auto index = static_cast<std::size_t>(column);
    std::vector<std::string_view> texts;
    texts.reserve(rows.size());
    for (const ResultTexts& row : rows)
        texts.push_back(row[index]);
    const std::vector<std::size_t> order = resultRowOrder(texts, column, direction);
    std::vector<ResultTexts> sorted;
    sorted.reserve(rows.size());
    for (const std::size_t i : order)
        sorted.push_back(std::move(rows[i]));
    rows = std::move(sorted);
}

} // namespace parvane::scan
