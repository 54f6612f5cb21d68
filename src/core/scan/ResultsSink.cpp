#include "core/scan/ResultsSink.h"

#include <array>

namespace parvane::scan {

std::string_view resultColumnHeader(int column) noexcept
{
    static constexpr std::array<std::string_view, kResultColumnCount> kHeaders = {
        "Action", "Sicovam", "Dernier", "UT", "Ecart%", "Var%", "Commentaires",
    };
    if (column < 0 || column >= kResultColumnCount)
        return {};
    return kHeaders[static_cast<std::size_t>(column)];
}

} // namespace parvane::scan
