#include "core/scan/FolderIndex.h"

#include <algorithm>
#include <system_error>
#include <vector>

#include "core/scan/AsciiCase.h"

namespace parvane::scan {

namespace {

bool endsWithTxt(std::string_view name)
{
    if (name.size() < 4)
        return false;
    const std::string_view tail = name.substr(name.size() - 4);
    return tail[0] == '.' && lowerAscii(tail[1]) == 't' && lowerAscii(tail[2]) == 'x'
           && lowerAscii(tail[3]) == 't';
}

bool isRegular(const std::filesystem::directory_entry& entry)
{
    std::error_code error;
    return entry.is_regular_file(error) && !error;
}

} // namespace

bool isPlainFileName(std::string_view name) noexcept
{
    return !name.empty() && name != "." && name != ".."
           && name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

bool walkOrderLess(std::string_view a, std::string_view b) noexcept
{
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const auto ca = static_cast<unsigned char>(lowerAscii(a[i]));
        const auto cb = static_cast<unsigned char>(lowerAscii(b[i]));
        if (ca != cb)
            return ca < cb;
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    return a < b;
}

std::vector<std::string> listTextFiles(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    std::error_code error;
    std::filesystem::directory_iterator it(folder, error);
    if (error)
        return names;
    for (const std::filesystem::directory_iterator end; it != end; it.increment(error)) {
        if (error)
            break;
        std::string name = it->path().filename().string();
        if (name.empty() || name.front() == '.' || !endsWithTxt(name) || !isRegular(*it))
            continue;
        names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end(), walkOrderLess);
    return names;
}

FolderIndex::FolderIndex(std::filesystem::path folder)
    : m_folder(std::move(folder))
{}

void FolderIndex::build()
{
    m_built = true;
    std::vector<std::string> names;
    std::error_code error;
    std::filesystem::directory_iterator it(m_folder, error);
    if (error)
        return;
    for (const std::filesystem::directory_iterator end; it != end; it.increment(error)) {
        if (error)
            break;
        names.push_back(it->path().filename().string());
    }
    std::sort(names.begin(), names.end());
    for (std::string& name : names)
        m_byFoldedName.try_emplace(foldCase(name), std::move(name));
}

std::filesystem::path FolderIndex::resolve(std::string_view name)
{
    std::filesystem::path exact = m_folder / std::filesystem::path(std::string(name));
    std::error_code error;
    if (std::filesystem::symlink_status(exact, error).type() != std::filesystem::file_type::not_found
        && !error)
        return exact;
    if (!m_built)
        build();
    const auto found = m_byFoldedName.find(foldCase(name));
    if (found == m_byFoldedName.end())
        return exact;
    return m_folder / found->second;
}

std::optional<std::filesystem::path> FolderIndex::findFile(std::string_view name)
{
    std::filesystem::path file = resolve(name);
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error) || error)
        return std::nullopt;
    return file;
}

} // namespace parvane::scan
