#include "core/scan/ReadAhead.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <exception>
#include <string_view>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
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

// After this many stocks in a row whose files were found in the page cache, the scan is taken as
// warm: only one stock in kProbeEvery is looked at, until one is found that is not cached.
constexpr std::size_t kCachedToPause = 8;
constexpr std::size_t kProbeEvery = 8;

int openFolder(const std::filesystem::path& folder)
{
    int fd = -1;
    do {
        fd = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// Opens `name`, relative to the open folder `folder` (or AT_FDCWD), when it is a regular file:
// the descriptor, or -errno. O_NONBLOCK: opening a FIFO does not wait for a writer.
int openRegular(int folder, const char* name)
{
    if (folder < 0 && folder != AT_FDCWD)
        return -EBADF; // the folder could not be opened
    int fd = -1;
    do {
        fd = ::openat(folder, name, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return -errno;

    struct stat info
    {};

    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return -EINVAL;
    }
    return fd;
}

// True when the start of the file is in the page cache (or the file is empty): the read of one
// byte is refused rather than waiting for the disk. A file system that cannot tell says no.
bool startIsCached(int fd)
{
    char byte = 0;
    iovec vector{&byte, 1};
    return ::preadv2(fd, &vector, 1, 0, RWF_NOWAIT) >= 0;
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
            if (!m_names[m_next].empty() && (m_cachedInARow < kCachedToPause || m_next % kProbeEvery == 0))
                hintStock(m_next);
        }
    } catch (const std::exception&) {
        // Out of memory for a path: the walk goes on without hints.
        m_next = m_names.size();
    }
}

void ReadAhead::hintStock(std::size_t stock)
{
    const std::string& name = m_names[stock];
    // The history as the evaluation will find it: the name as spelled, else in any case.
    int history = openRegular(m_histoFolder, name.c_str());
    if (history == -ENOENT) {
        const std::filesystem::path resolved = m_histories.resolve(name);
        if (resolved != m_histories.folder() / name)
            history = openRegular(AT_FDCWD, resolved.c_str());
    }
    bool cold = history >= 0 && hintUnlessCached(stock, history);
    if (const int trendLines = openRegular(m_droiteFolder, name.c_str());
        trendLines >= 0 && hintUnlessCached(stock, trendLines))
        cold = true;
    m_cachedInARow = cold ? 0 : m_cachedInARow + 1;
}

bool ReadAhead::hintUnlessCached(std::size_t stock, int fd)
{
    if (startIsCached(fd)) {
        ::close(fd);
        return false;
    }
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_WILLNEED);
    try {
        m_open.push_back(Hint{stock, fd});
    } catch (...) {
        ::close(fd);
        throw;
    }
    return true;
}

} // namespace parvane::scan
