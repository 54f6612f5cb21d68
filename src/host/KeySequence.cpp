#include "host/KeySequence.h"

#include <algorithm>
#include <array>
#include <utility>

namespace parvane::host {

namespace {

std::optional<NamedKey> namedKey(std::string_view name)
{
    constexpr std::array<std::pair<std::string_view, NamedKey>, 4> kNames = {{
        {"ENTER", NamedKey::Return},
        {"ESC", NamedKey::Escape},
        {"PGUP", NamedKey::PageUp},
        {"PGDN", NamedKey::PageDown},
    }};
    for (const auto& [known, key] : kNames) {
        if (known.size() == name.size()
            && std::equal(known.begin(), known.end(), name.begin(), [](char k, char c) {
                   return k == ((c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c);
               }))
            return key;
    }
    return std::nullopt;
}

} // namespace

std::optional<std::vector<KeyStroke>> parseKeySequence(std::string_view sequence)
{
    std::vector<KeyStroke> keys;
    KeyStroke pending;
    bool hasModifier = false;
    for (std::size_t i = 0; i < sequence.size(); ++i) {
        const char c = sequence[i];
        if (c == '%' || c == '^' || c == '+') {
            (c == '%' ? pending.alt : c == '^' ? pending.control : pending.shift) = true;
            hasModifier = true;
            continue;
        }
        if (c == '(' || c == ')' || c == '}')
            return std::nullopt;
        if (c == '~') {
            pending.named = NamedKey::Return;
        } else if (c == '{') {
            const std::size_t close = sequence.find('}', i + 1);
            if (close == std::string_view::npos)
                return std::nullopt;
            const std::optional<NamedKey> named = namedKey(sequence.substr(i + 1, close - i - 1));
            if (!named)
                return std::nullopt;
            pending.named = *named;
            i = close;
        } else if (c < ' ' || c > '~') {
            return std::nullopt;
        } else {
            pending.character = static_cast<char32_t>(c);
        }
        keys.push_back(pending);
        pending = KeyStroke{};
        hasModifier = false;
    }
    if (hasModifier)
        return std::nullopt;
    return keys;
}

} // namespace parvane::host
