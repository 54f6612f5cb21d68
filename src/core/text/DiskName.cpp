#include "core/text/DiskName.h"

#include "core/text/Windows1252.h"

namespace parvane::text {

bool isValidUtf8(std::string_view bytes) noexcept
{
    std::size_t i = 0;
    const std::size_t size = bytes.size();
    while (i < size) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        std::size_t length = 0;
        char32_t cp = 0;
        char32_t smallest = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            cp = lead & 0x1F;
            smallest = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            cp = lead & 0x0F;
            smallest = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            cp = lead & 0x07;
            smallest = 0x10000;
        } else {
            return false;
        }
        if (i + length > size)
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (next & 0x3F);
        }
        if (cp < smallest || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

std::string diskNameToUtf8(std::string_view name)
{
    if (isValidUtf8(name))
        return std::string(name);
    return windows1252ToUtf8(name);
}

Windows1252Name diskNameToWindows1252(std::string_view name)
{
    if (!isValidUtf8(name))
        return {std::string(name), false};
    Windows1252Name out{utf8ToWindows1252(name), false};
    // utf8ToWindows1252 writes "?" for what it cannot hold; a "?" it wrote where the name had
    // none tells the loss (a "?" cannot be part of a Windows file name).
    const auto questionMarks = [](std::string_view text) {
        std::size_t count = 0;
        for (const char c : text)
            count += c == '?' ? 1 : 0;
        return count;
    };
    out.lossy = questionMarks(out.bytes) != questionMarks(name);
    return out;
}

std::vector<std::string> diskNamesOf(std::string_view windows1252Name)
{
    std::vector<std::string> names;
    names.push_back(windows1252ToUtf8(windows1252Name));
    if (names.front() != windows1252Name)
        names.emplace_back(windows1252Name);
    return names;
}

} // namespace parvane::text
