#include "core/scan/ResultsOrder.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numeric>

#include "core/text/Collation.h"

namespace parvane::scan {

namespace {

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

void ResultSortKeys::clear()
{
    for (std::vector<Key>& keys : m_keys)
        keys.clear();
    for (std::string& text : m_text)
        text.clear();
    m_rowCount = 0;
}

void ResultSortKeys::setText(std::size_t row, ResultColumn column, std::string_view text)
{
    const auto index = static_cast<std::size_t>(column);
    if (index >= m_keys.size())
        return;
    std::vector<Key>& keys = m_keys[index];
    if (row >= keys.size())
        keys.resize(row + 1);
    m_rowCount = std::max(m_rowCount, row + 1);
    Key& key = keys[row];
    key = Key{};
    key.isNumber = sortsByValue(column) && readValue(text, key.value);
    if (key.isNumber)
        return;
    std::string& buffer = m_text[index];
    key.offset = buffer.size();
    text::appendCollationKey(buffer, text);
    key.size = static_cast<std::uint32_t>(buffer.size() - key.offset);
}

std::vector<std::size_t> ResultSortKeys::order(const std::vector<std::size_t>& rows, ResultColumn column,
                                               SortDirection direction) const
{
    const auto index = static_cast<std::size_t>(column);
    std::vector<std::size_t> places(rows.size());
    std::iota(places.begin(), places.end(), std::size_t{0});
    if (index >= m_keys.size())
        return places;
    const std::vector<Key>& keys = m_keys[index];
    const std::string_view buffer = m_text[index];
    const Key none;

    // Each place beside its row's key: the comparisons do not look keys up.
    struct Entry
    {
        const Key* key;
        std::size_t place;
    };

    std::vector<Entry> entries(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        entries[i] = {rows[i] < keys.size() ? &keys[rows[i]] : &none, i};
    const bool descending = direction == SortDirection::Descending;
    std::stable_sort(entries.begin(), entries.end(), [buffer, descending](const Entry& ea, const Entry& eb) {
        const Key& a = *ea.key;
        const Key& b = *eb.key;
        if (a.isNumber != b.isNumber)
            return a.isNumber;
        if (a.isNumber)
            return descending ? b.value < a.value : a.value < b.value;
        const std::string_view ta = buffer.substr(a.offset, a.size);
        const std::string_view tb = buffer.substr(b.offset, b.size);
        return descending ? tb < ta : ta < tb;
    });
    for (std::size_t i = 0; i < rows.size(); ++i)
        places[i] = entries[i].place;
    return places;
}

std::vector<std::size_t> resultRowOrder(const std::vector<std::string_view>& texts, ResultColumn column,
                                        SortDirection direction)
{
    ResultSortKeys keys;
    for (std::size_t row = 0; row < texts.size(); ++row)
        keys.setText(row, column, texts[row]);
    std::vector<std::size_t> rows(texts.size());
    std::iota(rows.begin(), rows.end(), std::size_t{0});
    return keys.order(rows, column, direction);
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
