#pragma once

#include <string>
#include <string_view>

namespace parvane::scan {

// The rules by which the path dialog writes section "path" of zarbel.ini. Texts are the file's
// bytes: a Linux path ("/home/...") as chosen in the dialog, or a Windows path as a Windows
// installation wrote it ("C:\Program Files\Korvix 2.0\").

// The folders of a base's trend lines and histories, written with every save.
inline constexpr std::string_view kDroiteText = "\\base\\droite\\";
inline constexpr std::string_view kHistoText = "\\base\\histo\\";

// True for a Linux path: one that starts with "/".
bool isLinuxPathText(std::string_view text) noexcept;

// `text` without its final "\" or "/": "c:\" becomes "c:"; a lone "/" stays, since the root
// without it would be no folder at all.
std::string withoutFinalSeparator(std::string_view text);

// "c:" or "c:\" (any letter, either case): the root of a drive as a Windows installation writes
// it. Choosing a drive root is how the user removes base 2 or base 3.
bool isWindowsDriveRoot(std::string_view text) noexcept;

// The "exe" value for Korvix's folder `folder`: ended by the separator of its kind ("/" for a
// Linux path, "\" otherwise), added only when missing.
std::string exeText(std::string_view folder);

} // namespace parvane::scan
