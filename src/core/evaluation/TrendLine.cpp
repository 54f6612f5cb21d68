#include "core/evaluation/TrendLine.h"

#include "core/evaluation/NumberRules.h"

namespace parvane::evaluation {

namespace {

constexpr std::size_t kMinimumFields = 10;
constexpr std::size_t kExtensionField = 15;

// recupaabbnum's reading of the slope and intercept fields: the number is followed by one more
// character, which is dropped before the number rule ("0,0125x" reads 0.0125).
double coefficient(std::string_view field)
{
    return readBaseNumber(field.substr(0, field.size() - 1));
}

} // namespace

void splitFields(std::string_view line, std::vector<std::string_view>& fields)
{
    fields.clear();
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        if (tab == std::string_view::npos) {
            fields.push_back(line.substr(start));
            return;
        }
        fields.push_back(line.substr(start, tab - start));
        start = tab + 1;
    }
}

bool parseTrendLine(std::string_view line, std::vector<std::string_view>& fields, TrendLine& out)
{
    splitFields(line, fields);
    if (fields.size() < kMinimumFields || fields[2].empty() || fields[3].empty())
        return false;
    out.unitCode = fields[0];
    out.kind = fields[1];
    out.slope = coefficient(fields[2]);
    out.intercept = coefficient(fields[3]);
    // Only the slope and the intercept take a decimal comma; in the other number fields a comma
    // ends the number, as Korvix reads them ("1,5" is 1).
    out.firstAnchor = readNumber(fields[4]);
    out.secondAnchor = readNumber(fields[6]);
    out.field8 = readNumber(fields[8]);
    out.field9 = readNumber(fields[9]);
    out.extension = fields.size() > kExtensionField ? readNumber(fields[kExtensionField]) : 0;
    return true;
}

} // namespace parvane::evaluation
