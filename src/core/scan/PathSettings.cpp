#include "core/scan/PathSettings.h"

namespace parvane::scan {

namespace {

bool isSeparator(char c) noexcept
{
    return c == '\\' || c == '/';
}

} // namespace

bool isLinuxPathText(std::string_view text) noexcept
{
    return !text.empty() && text.front() == '/';
}

std::string withoutFinalSeparator(std::string_view text)
{
    if (text.size() > 1 && isSeparator(text.back()))
        text.remove_suffix(1);
    return std::string(text);
}

bool isWindowsDriveRoot(std::string_view text) noexcept
{
    if (text.size() != 2 && text.size() != 3)
        return false;
    const char letter = text[0];
    const bool isLetter = (letter >= 'a' && letter <= 'z') || (letter >= 'A' && letter <= 'Z');
    return isLetter && text[1] == ':' && (text.size() == 2 || text[2] == '\\');
}

std::string exeText(std::string_view folder)
{
    std::string text(folder);
    if (text.empty() || !isSeparator(text.back()))
        text += isLinuxPathText(text) ? '/' : '\\';
    return text;
}

} // namespace parvane::scan
