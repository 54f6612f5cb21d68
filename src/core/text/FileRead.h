#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace parvane::text {

// Outcome of opening and reading a file. `code` is the system's error number (errno), 0 on
// success.
struct FileStatus
{
    int code = 0;

    bool ok() const { return code == 0; }

    // The file (or a folder on its path) does not exist.
    bool isMissing() const;
};

// Reads a whole regular file into `out`, reusing its capacity. A folder, a FIFO or any other
// non-regular file is refused with EISDIR or EINVAL without blocking; a file larger than
// `maxBytes` is refused with EFBIG. Never throws.
[[nodiscard]] FileStatus readWholeFile(const std::filesystem::path& file, std::string& out,
                                       std::size_t maxBytes = std::size_t{256} << 20);

// The same reading into the first `length` bytes of `buffer`, for a buffer reused from file to
// file: the size of `buffer` only grows (it is a high-water mark, so that its bytes are not cleared
// again for every file) and its bytes past `length` are unspecified. `length` is 0 on failure.
[[nodiscard]] FileStatus readWholeFileInto(const std::filesystem::path& file, std::string& buffer,
                                           std::size_t& length,
                                           std::size_t maxBytes = std::size_t{256} << 20);

// Opens `file` for reading without blocking on a FIFO; refuses a folder (EISDIR) and any other
// file that is not a regular one (EINVAL). On success `fd` is an open descriptor that the caller
// closes.
[[nodiscard]] FileStatus openRegularForReading(const std::filesystem::path& file, int& fd);

// True when `file` exists and is a regular file (a folder, or a missing path, gives false).
bool isRegularFile(const std::filesystem::path& file) noexcept;

} // namespace parvane::text
