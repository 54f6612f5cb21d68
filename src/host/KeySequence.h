#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "host/HostWindows.h"

namespace parvane::host {

// Alt+F, then the letter G in upper case: opens Korvix's group pre-selection.
inline constexpr std::string_view kGroupPreselectionKeys = "%fG";

// Parses a key sequence in the Windows key-sequence notation: "%" holds Alt, "^" Control and "+"
// Shift for the next key; "~" and "{ENTER}" are Return, "{ESC}" Escape, "{PGUP}" and "{PGDN}" the
// page keys (names without regard to case); any other printable ASCII character is one key ("G"
// is Shift and g). std::nullopt for a sequence with groups ("%(fg)"), another key name or a
// repeat count, a modifier at its end, or a character outside printable ASCII.
std::optional<std::vector<KeyStroke>> parseKeySequence(std::string_view sequence);

} // namespace parvane::host
