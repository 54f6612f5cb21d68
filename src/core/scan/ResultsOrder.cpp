#include "core/scan/ResultsOrder.h"

#include <algorithm>
#include <numeric>

#include "core/text/Collation.h"

namespace parvane::scan {

std::vector<std::size_t> resultRowOrder(const std::vector<std::string_view>& keys)
{
    std::vector<std::size_t> order(keys.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&keys](std::size_t a, std::size_t b) {
        return text::compareText(keys[a], keys[b]) < 0;
    });
    return order;
}

void sortResultRows(std::vector<ResultTexts>& rows, ResultColumn column)
{
    const auto index = static_cast<std::size_t>(column);
    std::stable_sort(rows.begin(), rows.end(), [index](const ResultTexts& a, const ResultTexts& b) {
        return text::compareText(a[index], b[index]) < 0;
    });
}

} // namespace parvane::scan
