#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace parvane::scan {

// The comment file of the stock with key `key` in `commentFolder`: the first entry, in ascending
// byte order of the names, whose name begins with `key` and ends with ".txt" (both matched without
// regard to ASCII case, as Korvix's file system ignores case); the key is taken literally, "*" and
// "?" in it are no wildcards. Folders are passed over; any other entry (a file, a link, even one
// that cannot be read) counts. std::nullopt when nothing matches or the folder cannot be listed.
// Never throws.
std::optional<std::filesystem::path> findCommentFile(const std::filesystem::path& commentFolder,
                                                     std::string_view key);

} // namespace parvane::scan
