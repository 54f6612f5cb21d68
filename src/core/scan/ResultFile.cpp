#include "core/scan/ResultFile.h"

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace parvane::scan {

ResultFile::~ResultFile()
{
    close();
}

int ResultFile::open(const std::filesystem::path& file)
{
    close();
    m_path = file;
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0)
        return errno;
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
