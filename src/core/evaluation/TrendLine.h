#pragma once

#include <string_view>
#include <vector>

namespace parvane::evaluation {

// One line of a trend-line file, read by the rules of Korvix's files. The views point into the
// line given to parseTrendLine and live as long as it does.
struct TrendLine
{
    std::string_view unitCode; // field 0: "1" daily, "0" weekly, "-1" monthly
    std::string_view kind;     // field 1: "3" never evaluated, "1" no age limit
    double slope = 0;          // field 2 without its last character, decimal comma allowed
    double intercept = 0;      // field 3, likewise
    double firstAnchor = 0;    // field 4; a comma ends the number
    double secondAnchor = 0;   // field 6, likewise
    double field8 = 0;         // likewise
    double field9 = 0;         // likewise
    double extension = 0;      // field 15, likewise; 0 when the line has fewer than 16 fields
};

// Splits `line` at Tab characters into `fields` (cleared first; its capacity is reused).
void splitFields(std::string_view line, std::vector<std::string_view>& fields);

// recupaabbnum and the field readings of the evaluation. Returns false when the line cannot be
// read: fewer than ten fields, or an empty slope or intercept field. `fields` is scratch space.
bool parseTrendLine(std::string_view line, std::vector<std::string_view>& fields, TrendLine& out);

} // namespace parvane::evaluation
