// The settings file reader on arbitrary bytes, then a write and a read back: the written value is
// read back, and every other key keeps its value.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "core/scan/IniFile.h"

namespace {

struct Key
{
    std::string_view section;
    std::string_view key;
};

// Names that the seeds and the dictionary hold, so that the fuzzer finds them.
constexpr std::array<Key, 6> kKeys{{{"Parvane", "base"},
                                    {"Parvane", "Check2"},
                                    {"parvane", "BASE"},
                                    {"Other", "base"},
                                    {"Other", "Key"},
                                    {"", ""}}};

// True when `value` comes back unchanged from a profile line: no line end or NUL in it, no blank
// at either end, not wrapped in quotes, and within the 254 characters that lireini keeps.
bool isPlainValue(std::string_view value)
{
    if (value.size() > 254 || value.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos)
        return false;
    if (!value.empty()
        && (value.front() == ' ' || value.front() == '\t' || value.back() == ' ' || value.back() == '\t'))
        return false;
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.front() == value.back())
        return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace parvane::scan;
    const std::string_view input = parvane::fuzz::asText(data, size);
    if (input.empty())
        return 0;
    // First byte: which key to write; up to the first NUL: the value; the rest: the file.
    const Key& written = kKeys[static_cast<unsigned char>(input[0]) % (kKeys.size() - 1)];
    const std::string_view rest = input.substr(1);
    const std::size_t nul = rest.find('\0');
    const std::string_view value = nul == std::string_view::npos ? std::string_view{} : rest.substr(0, nul);
    const std::string_view file = nul == std::string_view::npos ? rest : rest.substr(nul + 1);

    static const std::filesystem::path path = parvane::fuzz::processFolder() / "parvane.ini";
    parvane::fuzz::writeBytes(path, file);

    std::array<std::string, kKeys.size()> before;
    for (std::size_t i = 0; i < kKeys.size(); ++i) {
        before[i] = lireini(kKeys[i].section, kKeys[i].key, path);
        parvane::fuzz::require(before[i].size() <= 254);
    }

    if (!isPlainValue(value))
        return 0;
    parvane::fuzz::require(ecrireini(written.section, written.key, value, path));
    for (std::size_t i = 0; i < kKeys.size(); ++i) {
        const std::string after = lireini(kKeys[i].section, kKeys[i].key, path);
        const bool sameKey =
            kKeys[i].section.size() == written.section.size() && kKeys[i].key.size() == written.key.size()
            && std::equal(kKeys[i].section.begin(), kKeys[i].section.end(), written.section.begin(),
                          [](char a, char b) { return (a | 0x20) == (b | 0x20); })
            && std::equal(kKeys[i].key.begin(), kKeys[i].key.end(), written.key.begin(),
                          [](char a, char b) { return (a | 0x20) == (b | 0x20); });
        if (sameKey)
            parvane::fuzz::require(after == value);
        else
            parvane::fuzz::require(after == before[i]);
    }
    return 0;
}
