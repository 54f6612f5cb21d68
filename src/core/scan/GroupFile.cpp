#include "core/scan/GroupFile.h"

#include <cerrno>
#include <new>

#include "core/evaluation/TextLines.h"

namespace parvane::scan {

evaluation::FileStatus readGroupFile(const std::filesystem::path& file, std::vector<GroupEntry>& entries)
{
    entries.clear();
    std::string bytes;
    evaluation::FileStatus status = evaluation::readWholeFile(file, bytes);
    if (!status.ok())
        return status;
    try {
        evaluation::forEachLine(bytes, [&](std::string_view line) {
            bool hasName = false;
            const std::string_view name = evaluation::tabField(line, 1, &hasName);
            if (!hasName)
                return;
            entries.push_back(GroupEntry{std::string(evaluation::tabField(line, 0)), std::string(name)});
        });
    } catch (const std::bad_alloc&) {
        entries.clear();
        status = evaluation::FileStatus{ENOMEM};
    }
    return status;
}

std::size_t compteligne(const std::filesystem::path& file)
{
    std::string bytes;
    if (!evaluation::readWholeFile(file, bytes).ok())
        return 0;
    return evaluation::countLines(bytes);
}

std::string groupLine(std::string_view code, std::string_view name)
{
    std::string line;
    line.reserve(code.size() + name.size() + 3);
    line.append(code).append("\t").append(name).append("\r\n");
    return line;
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

bool isSafeNameComponent(std::string_view text) noexcept
{
    if (text == "." || text == "..")
        return false;
    return text.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

} // namespace parvane::scan
