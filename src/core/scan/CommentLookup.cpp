#include "core/scan/CommentLookup.h"

#include <algorithm>
#include <string>
#include <system_error>
#include <vector>

#include "core/scan/AsciiCase.h"

namespace parvane::scan {

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
        if (!equalsIgnoringCase(std::string_view(name).substr(0, key.size()), key)
            || !equalsIgnoringCase(std::string_view(name).substr(name.size() - kExtension.size()),
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
