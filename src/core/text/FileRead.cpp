#include "core/text/FileRead.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <new>
#include <stdexcept>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/text/FileDescriptor.h"

namespace parvane::text {

namespace {

FileStatus readOpenFile(int fd, std::string& buffer, std::size_t& length, std::size_t maxBytes)
{
    struct stat info
    {};

    if (::fstat(fd, &info) != 0)
        return FileStatus{errno};
    if (S_ISDIR(info.st_mode))
        return FileStatus{EISDIR};
    if (!S_ISREG(info.st_mode))
        return FileStatus{EINVAL};
    if (info.st_size < 0 || static_cast<std::uintmax_t>(info.st_size) > maxBytes)
        return FileStatus{EFBIG};
    const auto expected = static_cast<std::size_t>(info.st_size);

    // One byte beyond the size that fstat gave: a short read then shows the end of the file
    // without a further system call, and a file that grew meanwhile is still read whole.
    if (buffer.size() < expected + 1)
        buffer.resize(expected + 1);
    for (;;) {
        if (length == buffer.size()) {
            if (buffer.size() > maxBytes)
                return FileStatus{EFBIG};
            buffer.resize(std::min(std::max(buffer.size() * 2, std::size_t{4096}), maxBytes + 1));
        }
        const std::size_t wanted = buffer.size() - length;
        const ssize_t got = ::read(fd, buffer.data() + length, wanted);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return FileStatus{errno};
        }
        if (got == 0)
            break;
        length += static_cast<std::size_t>(got);
        if (static_cast<std::size_t>(got) < wanted && length >= expected)
            break;
    }
    if (length > maxBytes)
        return FileStatus{EFBIG};
    return FileStatus{};
}

} // namespace

bool FileStatus::isMissing() const
{
    return code == ENOENT || code == ENOTDIR;
}

FileStatus readWholeFileInto(const std::filesystem::path& file, std::string& buffer, std::size_t& length,
                             std::size_t maxBytes)
{
    length = 0;
    int fd = -1;
    do {
        // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused after fstat.
        fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return FileStatus{errno};
    const FileDescriptor descriptor(fd);
    FileStatus status;
    try {
        status = readOpenFile(descriptor.get(), buffer, length, maxBytes);
    } catch (const std::bad_alloc&) {
        status = FileStatus{ENOMEM};
    } catch (const std::length_error&) {
        status = FileStatus{EFBIG};
    }
    if (!status.ok())
        length = 0;
    return status;
}

FileStatus readWholeFile(const std::filesystem::path& file, std::string& out, std::size_t maxBytes)
{
    std::size_t length = 0;
    const FileStatus status = readWholeFileInto(file, out, length, maxBytes);
    out.resize(length);
    return status;
}

FileStatus openRegularForReading(const std::filesystem::path& file, int& fd)
{
    do {
        fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return FileStatus{errno};

    struct stat info
    {};

    int error = 0;
    if (::fstat(fd, &info) != 0)
        error = errno;
    else if (S_ISDIR(info.st_mode))
        error = EISDIR;
    else if (!S_ISREG(info.st_mode))
        error = EINVAL;
    if (error != 0) {
        ::close(fd);
        fd = -1;
    }
    return FileStatus{error};
}

bool isRegularFile(const std::filesystem::path& file) noexcept
{
    struct stat info
    {};

    return ::stat(file.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

} // namespace parvane::text
