#include "core/scan/GroupFile.h"

#include <cerrno>
#include <new>

#include "core/text/TextLines.h"

namespace parvane::scan {

text::FileStatus readGroupFile(const std::filesystem::path& file, std::vector<GroupEntry>& entries)
{
    entries.clear();
    std::string bytes;
    text::FileStatus status = text::readWholeFile(file, bytes);
    if (!status.ok())
        return status;
    try {
        text::forEachLine(bytes, [&](std::string_view line) {
            bool hasName = false;
            const std::string_view name = text::tabField(line, 1, &hasName);
            if (!hasName)
                return;
            entries.push_back(GroupEntry{std::string(text::tabField(line, 0)), std::string(name)});
        });
    } catch (const std::bad_alloc&) {
        entries.clear();
        status = text::FileStatus{ENOMEM};
    }
    return status;
}

std::size_t compteligne(const std::filesystem::path& file)
{
    std::string bytes;
    if (!text::readWholeFile(file, bytes).ok())
        return 0;
    return text::countLines(bytes);
}

std::string stockFileName(std::string_view name, std::string_view code)
{
    std::string fileName;
    fileName.reserve(name.size() + code.size() + 5);
    fileName.append(name).append("_").append(code).append(".txt");
    return fileName;
}

std::optional<StockName> splitStockFileName(std::string_view fileName) noexcept
{
    const std::size_t underscore = fileName.find('_');
    // The code runs from after the "_" to the last four characters (".txt").
    if (underscore == std::string_view::npos || underscore + 5 > fileName.size())
        return std::nullopt;
    return StockName{fileName.substr(0, underscore),
                     fileName.substr(underscore + 1, fileName.size() - underscore - 5)};
}

} // namespace parvane::scan
