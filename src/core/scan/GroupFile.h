#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/text/FileRead.h"

namespace parvane::scan {

// One stock named by a group line.
struct GroupEntry
{
    std::string code; // field 1
    std::string name; // field 2
};

// Reads a group file: each line (CR LF, LF or CR) split at Tabs, code from field 1, name from
// field 2, further fields ignored; a line with fewer than two fields is passed over. `entries` is
// replaced.
[[nodiscard]] text::FileStatus readGroupFile(const std::filesystem::path& file,
                                             std::vector<GroupEntry>& entries);

// Number of lines of a group file as a line reader returns them (empty lines count, a last line
// without line end counts, nothing after a final line end); 0 when it cannot be read.
std::size_t compteligne(const std::filesystem::path& file);

// The stock file name: name, "_", code, ".txt".
std::string stockFileName(std::string_view name, std::string_view code);

struct StockName
{
    std::string_view name; // before the first "_"
    std::string_view code; // after it, without the last four characters
};

// Splits a stock file name. Returns std::nullopt when the name holds no "_" or when the "_" lies
// within the last four characters.
std::optional<StockName> splitStockFileName(std::string_view fileName) noexcept;

} // namespace parvane::scan
