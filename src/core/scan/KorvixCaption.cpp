#include "core/scan/KorvixCaption.h"

#include <algorithm>
#include <system_error>
#include <vector>

namespace parvane::scan {

namespace {

char asciiLower(char c) noexcept
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) noexcept
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return asciiLower(x) == asciiLower(y);
           });
}

} // namespace

std::size_t stockSeparatorPosition(std::string_view caption) noexcept
{
    const std::size_t firstDash = caption.find('-');
    if (caption.find('(') != std::string_view::npos)
        return firstDash == std::string_view::npos ? 0 : firstDash + 1;
    // Without a first dash the search for the second one starts at the caption's beginning and
    // finds nothing either.
    if (firstDash == std::string_view::npos)
        return 0;
    const std::size_t secondDash = caption.find('-', firstDash + 1);
    return secondDash == std::string_view::npos ? 0 : secondDash + 1;
}

std::optional<std::string> stockKeyFromCaption(std::string_view caption)
{
    const std::size_t d = stockSeparatorPosition(caption);
    if (d >= caption.size())
        return std::nullopt;
    // 1-based position d + 2 is index d + 1; a dash followed by one character gives an empty name.
    std::string key{caption.substr(std::min(d + 1, caption.size()))};
    key += '_';
    return key;
}

std::optional<std::filesystem::path> findCommentFile(const std::filesystem::path& commentFolder,
                                                     std::string_view key)
{
    constexpr std::string_view kExtension = ".txt";
    std::error_code error;
    std::filesystem::directory_iterator it(commentFolder, error);
    if (error)
        return std::nullopt;
    std::vector<std::string> matches;
    for (const std::filesystem::directory_iterator end; it != end; it.increment(error)) {
        if (error)
            break;
        const std::string name = it->path().filename().string();
        if (name.size() < key.size() + kExtension.size())
            continue;
        if (!equalsIgnoringAsciiCase(std::string_view(name).substr(0, key.size()), key)
            || !equalsIgnoringAsciiCase(std::string_view(name).substr(name.size() - kExtension.size()),
                                        kExtension))
            continue;
        std::error_code typeError;
        if (it->is_directory(typeError))
            continue;
        matches.push_back(name);
    }
    if (matches.empty())
        return std::nullopt;
    return commentFolder / *std::min_element(matches.begin(), matches.end());
}

} // namespace parvane::scan
