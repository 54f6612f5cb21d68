#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace parvane::scan {

// Finds files of one folder by name without regard to ASCII case, as Korvix's file system does.
// The folder is listed once, on the first name that does not exist as spelled, and the listing
// serves every later lookup: resolve a base's folders once per run, not per stock.
class FolderIndex
{
public:
    explicit FolderIndex(std::filesystem::path folder);

    const std::filesystem::path& folder() const { return m_folder; }

    // The path of `name` in the folder: the name as spelled when such an entry exists, else the
    // entry whose name matches it without regard to case, else the name as spelled.
    std::filesystem::path resolve(std::string_view name);

    // The path of `name` (resolved as above) when it is a regular file, else std::nullopt.
    std::optional<std::filesystem::path> findFile(std::string_view name);

    // True when a regular file of that name (in any case) exists.
    bool hasFile(std::string_view name) { return findFile(name).has_value(); }

private:
    void build();

    std::filesystem::path m_folder;
    bool m_built = false;
    std::unordered_map<std::string, std::string> m_byFoldedName; // first entry in sorted order wins
};

// True when `name` names an entry of a folder itself and can lead nowhere else: not empty, not
// "." or "..", and without a separator ("/" or "\\") or a NUL.
bool isPlainFileName(std::string_view name) noexcept;

// The walk order of a base's stocks: names compared with ASCII letters folded to lower case,
// ties broken byte-wise.
bool walkOrderLess(std::string_view a, std::string_view b) noexcept;

// The plain files of `folder` whose names end with ".txt" in any case (no folders, no hidden
// files, nothing that cannot be read as an entry), sorted in walk order. Empty when the folder is
// missing.
std::vector<std::string> listTextFiles(const std::filesystem::path& folder);

} // namespace parvane::scan
