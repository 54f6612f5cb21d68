#include "core/text/Collation.h"

#include <array>

#include "core/text/Windows1252.h"

namespace parvane::text {

namespace {

// The sort key of each Windows-1252 byte: upper-case letters and their accented forms share the
// key of the base letter's upper case; every other byte keeps its value.
constexpr std::array<unsigned char, 256> makeKeys()
{
    std::array<unsigned char, 256> keys{};
    for (unsigned i = 0; i < 256; ++i)
        keys[i] = static_cast<unsigned char>(i);
    for (unsigned c = 'a'; c <= 'z'; ++c)
        keys[c] = static_cast<unsigned char>(c - 'a' + 'A');
    const auto base = [&keys](unsigned char letter, std::string_view bytes) {
        for (const char b : bytes)
            keys[static_cast<unsigned char>(b)] = letter;
    };
    base('A', "\xC0\xC1\xC2\xC3\xC4\xC5\xC6\xE0\xE1\xE2\xE3\xE4\xE5\xE6\xAA");
    base('C', "\xC7\xE7");
    base('D', "\xD0\xF0");
    base('E', "\xC8\xC9\xCA\xCB\xE8\xE9\xEA\xEB");
    base('I', "\xCC\xCD\xCE\xCF\xEC\xED\xEE\xEF");
    base('N', "\xD1\xF1");
    base('O', "\xD2\xD3\xD4\xD5\xD6\xD8\xF2\xF3\xF4\xF5\xF6\xF8\x8C\x9C\xBA");
    base('S', "\x8A\x9A\xDF");
    base('U', "\xD9\xDA\xDB\xDC\xF9\xFA\xFB\xFC");
    base('Y', "\xDD\xFD\xFF\x9F");
    base('Z', "\x8E\x9E");
    return keys;
}

constexpr std::array<unsigned char, 256> kKeys = makeKeys();

} // namespace

int compareText(std::string_view a, std::string_view b) noexcept
{
    const std::size_t common = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < common; ++i) {
        const int ka = kKeys[static_cast<unsigned char>(a[i])];
        const int kb = kKeys[static_cast<unsigned char>(b[i])];
        if (ka != kb)
            return ka - kb;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

std::string collationKey(std::string_view text)
{
    std::string key;
    appendCollationKey(key, text);
    return key;
}

void appendCollationKey(std::string& keys, std::string_view text)
{
    for (const char c : text)
        keys.push_back(static_cast<char>(kKeys[static_cast<unsigned char>(c)]));
}

int compareUtf8Text(std::string_view a, std::string_view b)
{
    return compareText(utf8ToWindows1252(a), utf8ToWindows1252(b));
}

} // namespace parvane::text
