#include "core/scan/ResultFile.h"

#include <cerrno>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/evaluation/LogMessages.h"

namespace parvane::scan {

int openRegularForWriting(const std::filesystem::path& file, int extraFlags)
{
    // Without O_NONBLOCK, opening a FIFO for writing waits for a reader, for ever; O_TRUNC is
    // held back until the file is known to be a regular one. A FIFO without a reader fails to
    // open (ENXIO): it is known by its type first.
    struct stat status;
    if (::lstat(file.c_str(), &status) == 0 && !S_ISREG(status.st_mode) && !S_ISLNK(status.st_mode))
        return -kErrorNotRegularFile;
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0644);
    if (fd < 0)
        return -errno;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return -kErrorNotRegularFile;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags == -1 || ::fcntl(fd, F_SETFL, (flags & ~O_NONBLOCK) | (extraFlags & O_APPEND)) != 0
        || ((extraFlags & O_TRUNC) != 0 && ::ftruncate(fd, 0) != 0)) {
        const int error = errno;
        ::close(fd);
        return -error;
    }
    return fd;
}

std::string resultFileFailure(int error)
{
    if (error == kErrorNotRegularFile)
        return std::string(evaluation::kMessageNotRegularFile);
    return std::string(evaluation::kMessageNotWritten) + evaluation::withSignPlace(error);
}

ResultFile::~ResultFile()
{
    close();
}

int ResultFile::open(const std::filesystem::path& file)
{
    close();
    m_path = file;
    const int fd = openRegularForWriting(file, O_TRUNC);
    if (fd < 0)
        return -fd;
    m_file = ::fdopen(fd, "wb");
    if (m_file == nullptr) {
        const int error = errno;
        ::close(fd);
        return error;
    }
    return 0;
}

int ResultFile::writeLine(std::string_view line)
{
    if (m_file == nullptr)
        return EBADF;
    if (std::fwrite(line.data(), 1, line.size(), m_file) != line.size() || std::fputs("\r\n", m_file) < 0)
        return errno != 0 ? errno : EIO;
    return 0;
}

int ResultFile::close()
{
    if (m_file == nullptr)
        return 0;
    const int result = std::fclose(m_file);
    m_file = nullptr;
    return result == 0 ? 0 : (errno != 0 ? errno : EIO);
}

} // namespace parvane::scan
