#include "core/evaluation/HistoryReader.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <new>
#include <stdexcept>

#include <unistd.h>

#include "core/evaluation/NumberRules.h"
#include "core/text/TextLines.h"

namespace parvane::evaluation {

namespace {

// Lines N-10 .. N: the look-back lines and the last line.
constexpr std::size_t kTailLines = 11;

// A buffer grown by a larger history is given back afterwards, so that one huge file does not
// keep its memory for the rest of the scan.
constexpr std::size_t kKeptBufferBytes = std::size_t{4} << 20;

bool isLineEnd(char c)
{
    return c == '\n' || c == '\r';
}

// Position just after the `count`-th Tab of `line`, or npos when it has fewer Tabs.
std::size_t afterTab(std::string_view line, int count)
{
    std::size_t position = 0;
    for (int tab = 0; tab < count; ++tab) {
        const std::size_t found = line.find('\t', position);
        if (found == std::string_view::npos)
            return std::string_view::npos;
        position = found + 1;
    }
    return position;
}

std::string_view closeField(std::string_view line)
{
    const std::size_t start = afterTab(line, 4);
    if (start == std::string_view::npos)
        return {};
    const std::size_t end = line.find('\t', start);
    return line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

// closeText into `out`, reusing its capacity.
void assignCloseText(std::string_view line, std::string& out)
{
    out.assign(closeField(line));
    if (const auto comma = out.find(','); comma != std::string::npos)
        out[comma] = '.';
}

void clearSummary(HistorySummary& summary)
{
    summary.lineCount = 0;
    summary.firstDate.reset();
    summary.lastDate.reset();
    summary.lastClose.clear();
    summary.previousClose.clear();
    summary.lastVolume = 0;
    summary.previousVolume = 0;
    summary.lookBack.clear();
}

} // namespace

std::string closeText(std::string_view line)
{
    std::string text;
    assignCloseText(line, text);
    return text;
}

double dailyVolume(std::string_view line)
{
    const std::size_t start = afterTab(line, 5);
    if (start == std::string_view::npos)
        return 0;
    return readNumber(line.substr(start, 10));
}

namespace {

std::optional<Date> firstLineDate(std::string_view bytes)
{
    const auto firstEnd = std::find_if(bytes.begin(), bytes.end(), isLineEnd);
    return quotationDate(bytes.substr(0, static_cast<std::size_t>(firstEnd - bytes.begin())));
}

// The summary of a history of `lineCount` lines whose last bytes are `bytes`: they begin at the
// start of a line and hold at least its last eleven lines (or all of them).
void summarizeTail(std::string_view bytes, std::size_t lineCount, HistorySummary& summary)
{
    summary.lineCount = lineCount;
    summary.lastDate.reset();
    summary.lastClose.clear();
    summary.previousClose.clear();
    summary.lastVolume = 0;
    summary.previousVolume = 0;
    if (lineCount == 0) {
        summary.lookBack.clear();
        return;
    }

    // Walk back from the end over the last lines only; tail[k] is line N - k. A final line end
    // closes line N and starts no line of its own.
    std::array<std::string_view, kTailLines> tail;
    const std::size_t wanted = std::min(lineCount, kTailLines);
    std::size_t end = bytes.size();
    if (end > 0 && bytes[end - 1] == '\n') {
        --end;
        if (end > 0 && bytes[end - 1] == '\r')
            --end;
    } else if (end > 0 && bytes[end - 1] == '\r') {
        --end;
    }
    for (std::size_t k = 0; k < wanted; ++k) {
        std::size_t start = end;
        while (start > 0 && !isLineEnd(bytes[start - 1]))
            --start;
        tail[k] = bytes.substr(start, end - start);
        if (start == 0)
            break;
        end = start - 1;
        if (bytes[end] == '\n' && end > 0 && bytes[end - 1] == '\r')
            --end;
    }

    const std::string_view lastLine = tail[0];
    summary.lastDate = quotationDate(lastLine);
    assignCloseText(lastLine, summary.lastClose);
    summary.lastVolume = dailyVolume(lastLine);
    if (lineCount >= 2) {
        const std::string_view previousLine = tail[1];
        assignCloseText(previousLine, summary.previousClose);
        summary.previousVolume = dailyVolume(previousLine);
    }

    // Lines max(2, N - 10) .. N - 1, oldest first: line 1 is never looked back at.
    const std::size_t oldest = lineCount > 12 ? lineCount - 10 : 2;
    const std::size_t lookBackCount = lineCount > oldest ? lineCount - oldest : 0;
    summary.lookBack.resize(lookBackCount);
    for (std::size_t i = 0; i < lookBackCount; ++i)
        summary.lookBack[i].assign(tail[lookBackCount - i]);
}

// The start of the bytes to keep of `bytes` (which begin at the start of a line) so that they
// still hold their last eleven whole lines: just after the 24th line-end byte from the end (a
// CR LF being two), and never between a CR and its LF. 0 keeps everything.
std::size_t tailStart(std::string_view bytes)
{
    constexpr int kLineEndBytes = 2 * (kTailLines + 1);
    int seen = 0;
    for (std::size_t i = bytes.size(); i > 0; --i) {
        if (isLineEnd(bytes[i - 1]) && ++seen == kLineEndBytes) {
            std::size_t start = i;
            if (bytes[i - 1] == '\r' && start < bytes.size() && bytes[start] == '\n')
                ++start;
            return start;
        }
    }
    return 0;
}

} // namespace

HistoryReader::HistoryReader(std::size_t maxLineBytes)
    : m_maxLineBytes(maxLineBytes)
{}

void HistoryReader::summarize(std::string_view bytes, HistorySummary& summary)
{
    summary.firstDate = bytes.empty() ? std::nullopt : firstLineDate(bytes);
    summarizeTail(bytes, text::countLines(bytes), summary);
}

text::FileStatus HistoryReader::readChunks(int fd, HistorySummary& summary)
{
    // m_buffer holds the kept bytes of the lines read so far, [0, filled), then room for one
    // chunk. Every byte but the last has been looked at for line ends: whether a CR ends a line
    // depends on the byte that follows it.
    std::size_t filled = 0;
    std::size_t lineEnds = 0;
    bool first = true;
    summary.firstDate.reset();
    for (;;) {
        if (m_buffer.size() < filled + kHistoryChunkBytes)
            m_buffer.resize(filled + kHistoryChunkBytes);
        const ssize_t got = ::read(fd, m_buffer.data() + filled, kHistoryChunkBytes);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return text::FileStatus{errno};
        }
        if (got == 0)
            break;
        const std::size_t examined = filled == 0 ? 0 : filled - 1;
        filled += static_cast<std::size_t>(got);
        if (first) {
            summary.firstDate = firstLineDate(std::string_view(m_buffer.data(), filled));
            first = false;
        }
        // countLines counts the line ends before the last byte, plus one for the last byte.
        lineEnds += text::countLines(std::string_view(m_buffer.data() + examined, filled - examined)) - 1;
        const std::size_t start = tailStart(std::string_view(m_buffer.data(), filled));
        if (start > 0) {
            std::memmove(m_buffer.data(), m_buffer.data() + start, filled - start);
            filled -= start;
        } else if (filled > m_maxLineBytes) {
            return text::FileStatus{EFBIG};
        }
    }
    summarizeTail(std::string_view(m_buffer.data(), filled), filled == 0 ? 0 : lineEnds + 1, summary);
    return text::FileStatus{};
}

text::FileStatus HistoryReader::read(const std::filesystem::path& file, HistorySummary& summary)
{
    int fd = -1;
    text::FileStatus status = text::openRegularForReading(file, fd);
    if (status.ok()) {
        try {
            status = readChunks(fd, summary);
        } catch (const std::bad_alloc&) {
            status = text::FileStatus{ENOMEM};
        } catch (const std::length_error&) {
            status = text::FileStatus{EFBIG};
        }
        ::close(fd);
    }
    if (!status.ok())
        clearSummary(summary);
    if (m_buffer.size() > kKeptBufferBytes)
        std::string().swap(m_buffer);
    return status;
}

} // namespace parvane::evaluation
