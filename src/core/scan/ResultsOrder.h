#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/scan/ResultsSink.h"

namespace parvane::scan {

// The texts of one results-list row, Windows-1252 bytes, in column order.
using ResultTexts = std::array<std::string, kResultColumnCount>;

enum class SortDirection
{
    Ascending,
    Descending,
};

// True for the columns that sort by value: "Dernier", "Ecart%" and "Var%".
bool sortsByValue(ResultColumn column) noexcept;

// The one order of the results list, after a run and on a header click, in the window and in
// parvane-scan. `texts` holds each row's text of `column` (Windows-1252). Columns that sort by
// value read "10,5", "-0.64" or " 3" as numbers whichever decimal separator they show; texts that
// are not numbers ("", "n/a") come after the numbers in either direction. Other
// columns sort in the order of text::compareText. Stable: rows that compare equal keep the order
// in which they were added, in either direction. Returns the row indexes in their new order.
std::vector<std::size_t> resultRowOrder(const std::vector<std::string_view>& texts, ResultColumn column,
                                        SortDirection direction = SortDirection::Ascending);

// The sort keys of a results list's rows, taken as each text arrives, so that sorting the list on
// any column compares keys only: no text is read, converted or collated again. Rows are numbered
// from 0; a row or a text never given sorts as an empty text.
class ResultSortKeys
{
public:
    void clear();

    // The number of rows that have a text.
    std::size_t rowCount() const noexcept { return m_rowCount; }

    // Row `row` shows `text` (Windows-1252) in `column`, in place of any text it showed there.
    void setText(std::size_t row, ResultColumn column, std::string_view text);

    // The places in `rows` (row numbers) in the order of resultRowOrder on `column`: rows that
    // compare equal keep their order in `rows`.
    std::vector<std::size_t> order(const std::vector<std::size_t>& rows, ResultColumn column,
                                   SortDirection direction) const;

private:
    struct Key
    {
        double value = 0.0;     // the number, when the text reads as one
        std::uint32_t size = 0; // the text's collation key, in m_text of the column
        bool isNumber = false;
        std::size_t offset = 0;
    };

    std::array<std::vector<Key>, kResultColumnCount> m_keys;
    std::array<std::string, kResultColumnCount> m_text;
    std::size_t m_rowCount = 0;
};

// Sorts `rows` by `column` in that order.
void sortResultRows(std::vector<ResultTexts>& rows, ResultColumn column,
                    SortDirection direction = SortDirection::Ascending);

} // namespace parvane::scan
