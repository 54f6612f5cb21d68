#include "core/evaluation/EvaluationObserver.h"

namespace parvane::evaluation {

void TrendLineAccount::begin(std::size_t number, std::string_view lineText, const TrendLine& line,
                             std::string_view unitText)
{
    *this = TrendLineAccount{};
    lineNumber = number;
    text = lineText;
    unitCode = line.unitCode;
    kind = line.kind;
    fields = line;
    fields.unitCode = {};
    fields.kind = {};
    unit = unitText;
}

} // namespace parvane::evaluation
