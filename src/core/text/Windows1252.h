#pragma once

#include <string>
#include <string_view>

namespace parvane::text {

// Korvix's files are Windows-1252 bytes. These convert them for display and back.

// Decodes Windows-1252 bytes to UTF-8. The five bytes that Windows-1252 leaves undefined (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of the same value, so that nothing is lost.
std::string windows1252ToUtf8(std::string_view bytes);

// Encodes UTF-8 text to Windows-1252; a character that has no Windows-1252 form becomes "?", and
// so does a byte that is not valid UTF-8.
std::string utf8ToWindows1252(std::string_view text);

} // namespace parvane::text
