#include "core/scan/ReadAhead.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <exception>
#include <string_view>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace parvane::scan {

std::size_t ReadAhead::scanWindow()
{
#ifdef PARVANE_READAHEAD_FROM_ENV
    if (const char* text = std::getenv("PARVANE_READAHEAD_WINDOW")) {
        const std::string_view value(text);
        std::size_t window = 0;
        const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), window);
        if (error == std::errc() && end == value.data() + value.size())
            return std::min<std::size_t>(window, 4096);
    }
#endif
    return kDefaultWindow;
}

namespace {

int openFolder(const std::filesystem::path& folder)
{
    int fd = -1;
    do {
        fd = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

} // namespace

ReadAhead::ReadAhead(const BaseLayout& layout, const std::vector<std::string>& names, std::size_t window)
    : m_names(names)
    , m_window(window)
    , m_histories(layout.histo)
    , m_droiteFolder(window == 0 ? -1 : openFolder(layout.droite))
    , m_histoFolder(window == 0 ? -1 : openFolder(layout.histo))
{}

ReadAhead::~ReadAhead()
{
    for (const Hint& open : m_open)
        ::close(open.fd);
    for (const int folder : {m_droiteFolder, m_histoFolder}) {
        if (folder >= 0)
            ::close(folder);
    }
}

void ReadAhead::at(std::size_t current)
{
    while (!m_open.empty() && m_open.front().stock < current) {
        ::close(m_open.front().fd);
        m_open.pop_front();
    }
    if (m_window == 0)
        return;
    m_next = std::max(m_next, current + 1);
    try {
        for (; m_next < m_names.size() && m_next - current <= m_window; ++m_next) {
            const std::string& name = m_names[m_next];
            if (name.empty())
                continue;
            hint(m_next, m_droiteFolder, name.c_str());
            // The history as the evaluation will find it: the name as spelled, else in any case.
            if (hint(m_next, m_histoFolder, name.c_str()) == ENOENT) {
                const std::filesystem::path history = m_histories.resolve(name);
                if (history != m_histories.folder() / name)
                    hint(m_next, AT_FDCWD, history.c_str());
            }
        }
    } catch (const std::exception&) {
        // Out of memory for a path: the walk goes on without hints.
        m_next = m_names.size();
    }
}

int ReadAhead::hint(std::size_t stock, int folder, const char* name)
{
    if (folder < 0 && folder != AT_FDCWD)
        return EBADF; // the folder could not be opened
    // O_NONBLOCK: opening a FIFO must not wait for a writer; only regular files are hinted.
    int fd = -1;
    do {
        fd = ::openat(folder, name, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return errno;

    struct stat info
    {};

    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return EINVAL;
    }
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_WILLNEED);
    try {
        m_open.push_back(Hint{stock, fd});
    } catch (...) {
        ::close(fd);
        throw;
    }
    return 0;
}

} // namespace parvane::scan
