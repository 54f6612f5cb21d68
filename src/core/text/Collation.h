#pragma once

#include <string>
#include <string_view>

namespace parvane::text {

// The order in which names and texts are listed: without regard to case, accented letters among
// their base letters ("Élan" with the E's, not after Z), other bytes by value. Texts are
// Windows-1252 bytes, as the results list holds them. Two texts that differ only in case or accents
// compare equal, so that a stable sort keeps them in the order they were added.
// Returns a negative number, 0 or a positive number as `a` sorts before, with or after `b`.
int compareText(std::string_view a, std::string_view b) noexcept;

// The key of that order for sorting many texts: two keys compare as std::string (byte by byte,
// unsigned) as their texts compare by compareText, and equal exactly when the texts compare equal.
std::string collationKey(std::string_view text);

// Appends the key of `text` to `keys`.
void appendCollationKey(std::string& keys, std::string_view text);

// The same order for UTF-8 text (what the windows show): converted to Windows-1252 first.
int compareUtf8Text(std::string_view a, std::string_view b);

} // namespace parvane::text
