#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include <sys/types.h>

namespace parvane::text {

// Replaces `target` whole, so that a reader never sees half a file and a failure leaves the
// previous file as it was: `content` goes to a new hidden file beside `target`, flushed to the
// disk, then renamed over `target`. `mode` holds the permission bits to give the new file (those of
// the file replaced); without it the umask applies. Returns 0, or the error number (errno) of the
// step that failed, after removing the new file.
[[nodiscard]] int replaceFile(const std::filesystem::path& target, std::string_view content,
                              std::optional<mode_t> mode = std::nullopt);

} // namespace parvane::text
