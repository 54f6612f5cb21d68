#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <vector>

#include "core/scan/FolderIndex.h"
#include "core/scan/PathMapping.h"

namespace parvane::scan {

// Asks the kernel to read ahead the files of the stocks that come next in a walk (the trend-line
// file and the history), so that a cold scan finds them in the page cache instead of waiting for
// one file after another. The files are opened and hinted with POSIX_FADV_WILLNEED, at most
// `window` stocks ahead of the current one (two descriptors a stock), and closed as the walk
// passes them. A file whose start is already cached is not hinted, and once the files come from
// the cache stock after stock only one stock in eight is looked at, until one is not cached: a
// warm scan makes few calls more. Only hints: nothing is read here, and a file that is
// missing, is not a regular file or cannot be opened is left to the readers to report; a FIFO is
// opened without waiting for a writer and is not hinted.
class ReadAhead
{
public:
    // The number of stocks read ahead in a scan.
    static constexpr std::size_t kDefaultWindow = 32;

    // The window of a scan: kDefaultWindow, unless a benchmark build reads another one from
    // PARVANE_READAHEAD_WINDOW.
    static std::size_t scanWindow();

    // `names` are the stock file names of the walk, in walk order (empty entries are skipped);
    // they must outlive this object. A window of 0 hints nothing.
    ReadAhead(const BaseLayout& layout, const std::vector<std::string>& names, std::size_t window);
    ~ReadAhead();

    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // The walk is at `names[current]`: the files of the stocks before it are closed, and those of
    // the next `window` stocks are hinted.
    void at(std::size_t current);

private:
    struct Hint
    {
        std::size_t stock;
        int fd;
    };

    // Opens the history and the trend-line file of `names[stock]` and hints those not cached.
    void hintStock(std::size_t stock);

    // Hints the open file `fd` of `stock` and keeps it open until the walk passes that stock;
    // when the file is cached, closes it instead. True when it was hinted.
    bool hintUnlessCached(std::size_t stock, int fd);

    const std::vector<std::string>& m_names;
    const std::size_t m_window;
    FolderIndex m_histories;
    const int m_droiteFolder; // the trend-line and history folders, opened once
    const int m_histoFolder;
    std::size_t m_next = 0;         // the first stock not hinted yet
    std::size_t m_cachedInARow = 0; // stocks found in the page cache since the last one not
    std::deque<Hint> m_open;
};

} // namespace parvane::scan
