#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace parvane::scan {

// Korvix's main window while it is idle has exactly this caption.
inline constexpr std::string_view kKorvixIdleCaption = "Korvix";

// Korvix's main window while it shows a stock has a caption beginning with this text.
inline constexpr std::string_view kKorvixStockCaptionPrefix = "Korvix - ";

// Position (1-based) of the dash that ends the part of Korvix's caption before the stock: the first
// "-" when the caption holds "(", otherwise the second "-" (searched from the character after the
// first one). 0 when that dash does not exist.
std::size_t stockSeparatorPosition(std::string_view caption) noexcept;

// The stock key of a caption of Korvix's: the text from two characters after the separator dash to
// the end (the dash and the blank after it are skipped), followed by "_"; the text before the "_"
// is the name that begins the stock's file names. std::nullopt when the caption names no stock: it
// is empty, or the separator is its last character. A caption without the separator dash (position
// 0) gives the caption from its second character on, as Korvix's own rule does; no comment file
// normally matches such a key.
std::optional<std::string> stockKeyFromCaption(std::string_view caption);

} // namespace parvane::scan
