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

// The order of the results list after a run and on a header click: by the texts `keys` (one per
// row, Windows-1252), in the list order of text::compareText, stable: rows whose texts differ only
// in case or accents keep the order in which they were added. Returns the row indexes in their
// new order.
std::vector<std::size_t> resultRowOrder(const std::vector<std::string_view>& keys);

// Sorts `rows` by `column` in that order.
void sortResultRows(std::vector<ResultTexts>& rows, ResultColumn column);

} // namespace parvane::scan
