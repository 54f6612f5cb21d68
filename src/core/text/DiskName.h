#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace parvane::text {

// Names on the disk against texts inside files. Wine stores Windows file names as UTF-8, while
// Korvix reads and writes the texts inside its files (group lines, comments) as Windows-1252. A
// file or folder name, or a Linux path from zarbel.ini, is therefore UTF-8 when it is valid UTF-8,
// and Windows-1252 bytes otherwise (a base copied from Windows by a tool that kept the bytes).
// Every layer goes through these functions; names that are plain ASCII are the same in both.

// True when `bytes` is well-formed UTF-8 (no overlong forms, no surrogates, nothing past U+10FFFF).
bool isValidUtf8(std::string_view bytes) noexcept;

// A name from the disk as UTF-8 text, for display.
std::string diskNameToUtf8(std::string_view name);

// A name from the disk as Korvix writes it inside a file. `lossy` is set when a character has no
// Windows-1252 form and was written as "?".
struct Windows1252Name
{
    std::string bytes;
    bool lossy = false;
};

Windows1252Name diskNameToWindows1252(std::string_view name);

// The names under which a name read from inside a file (Windows-1252) may lie on the disk: its
// UTF-8 form first, as Wine writes it, then its raw bytes when they differ.
std::vector<std::string> diskNamesOf(std::string_view windows1252Name);

} // namespace parvane::text
