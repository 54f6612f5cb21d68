#pragma once

#include <string>
#include <string_view>

namespace parvane::scan {

// Korvix's file system and the profile functions ignore the case of ASCII letters; other bytes
// (Windows-1252 letters included) compare as they are.

inline char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i]))
            return false;
    }
    return true;
}

// ASCII lower case, other bytes unchanged.
inline std::string foldCase(std::string_view text)
{
    std::string folded(text);
    for (char& c : folded)
        c = lowerAscii(c);
    return folded;
}

} // namespace parvane::scan
