#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace parvane::evaluation {

// The number rule of Korvix's files and of the window's text boxes. The text is read as a decimal
// number with "." as the only separator; blanks, Tabs and line feeds are skipped wherever they
// occur; an optional sign, digits, at most one "." and an optional exponent (E or D) are taken; the
// first other character ends the number. A text without a leading number, or a number too large
// for a double, gives 0. Never fails.
double readNumber(std::string_view text) noexcept;

// Korvix's files may hold a decimal comma: returns `Variable` with its first "," replaced by "."
// (only the first one). A text without "," comes back unchanged.
std::string enlevevirgule(std::string_view Variable);

// A number read from a base file: enlevevirgule, then readNumber.
double readBaseNumber(std::string_view text);

// Takes `value` to the nearest 16-bit integer, a half going to the even neighbour. Returns
// std::nullopt when the result does not fit in 16 bits (or for NaN).
std::optional<std::int16_t> toInt16(double value) noexcept;

// Formats `value` as "###0.00": at least one integer digit, no grouping, two decimals, a leading
// "-" for any value below zero (-0.001 gives "-0.00"), `decimalSeparator` between the parts. The
// value is first written with 15 significant digits, then rounded half away from zero, so that
// 1.005 gives "1.01" and 0.125 gives "0.13". NaN and infinities give "0.00".
std::string formatFixed2(double value, char decimalSeparator);

// Fixed-width text: a text longer than `X` characters gives its first `X` - 1 characters; a
// shorter or equal one is padded with blanks to `X` characters.
std::string outputx(std::string_view Variable, std::size_t X);

// The code as it stands in the results list and the group files: padded to 6 characters, never
// cut (a longer code names another stock once cut, so it stands whole).
std::string paddedCode(std::string_view code);

} // namespace parvane::evaluation
