#pragma once

#include <array>
#include <cstddef>
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

// Sorts `rows` by `column` in that order.
void sortResultRows(std::vector<ResultTexts>& rows, ResultColumn column,
                    SortDirection direction = SortDirection::Ascending);

} // namespace parvane::scan
