#include "core/evaluation/CommentFile.h"

#include <cerrno>
#include <new>

#include "core/evaluation/TextLines.h"

namespace parvane::evaluation {

bool ExistFile(const std::filesystem::path& strPath) noexcept
{
    return isRegularFile(strPath);
}

FileStatus readCommentLines(const std::filesystem::path& file, std::vector<std::string>& lines)
{
    lines.clear();
    std::string bytes;
    FileStatus status = readWholeFile(file, bytes);
    if (!status.ok())
        return status;
    try {
        forEachLine(bytes, [&](std::string_view line) { lines.emplace_back(line); });
    } catch (const std::bad_alloc&) {
        lines.clear();
        status = FileStatus{ENOMEM};
    }
    return status;
}

} // namespace parvane::evaluation
