#include "core/evaluation/CommentFile.h"

#include <cerrno>
#include <new>

#include "core/text/TextLines.h"

namespace parvane::evaluation {

bool ExistFile(const std::filesystem::path& strPath) noexcept
{
    return text::isRegularFile(strPath);
}

text::FileStatus readCommentLines(const std::filesystem::path& file, std::vector<std::string>& lines)
{
    lines.clear();
    std::string bytes;
    text::FileStatus status = text::readWholeFile(file, bytes);
    if (!status.ok())
        return status;
    try {
        text::forEachLine(bytes, [&](std::string_view line) { lines.emplace_back(line); });
    } catch (const std::bad_alloc&) {
        lines.clear();
        status = text::FileStatus{ENOMEM};
    }
    return status;
}

} // namespace parvane::evaluation
