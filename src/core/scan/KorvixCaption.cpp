#include "core/scan/KorvixCaption.h"

#include <algorithm>
#include <system_error>
#include <vector>

namespace parvane::scan {

std::size_t stockSeparatorPosition(std::string_view caption) noexcept
{
    const std::size_t firstDash = caption.find('-');
    if (caption.find('(') != std::string_view::npos)
        return firstDash == std::string_view::npos ? 0 : firstDash + 1;
    // Without a first dash the search for the second one starts at the caption's beginning and
    // finds nothing either.
    if (firstDash == std::string_view::npos)
        return 0;
    const std::size_t secondDash = caption.find('-', firstDash + 1);
    return secondDash == std::string_view::npos ? 0 : secondDash + 1;
}

std::optional<std::string> stockKeyFromCaption(std::string_view caption)
{
    const std::size_t d = stockSeparatorPosition(caption);
    if (d >= caption.size())
        return std::nullopt;
    // 1-based position d + 2 is index d + 1; a dash followed by one character gives an empty name.
    std::string key{caption.substr(std::min(d + 1, caption.size()))};
    key += '_';
    return key;
}

} // namespace parvane::scan
