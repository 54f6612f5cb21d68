#include "core/evaluation/HistoryReader.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <new>

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

void HistoryReader::summarize(std::string_view bytes, HistorySummary& summary)
{
    const std::size_t lineCount = text::countLines(bytes);
    summary.lineCount = lineCount;
    summary.firstDate.reset();
    summary.lastDate.reset();
    summary.lastClose.clear();
    summary.previousClose.clear();
    summary.lastVolume = 0;
    summary.previousVolume = 0;
    if (lineCount == 0) {
        summary.lookBack.clear();
        return;
    }

    const auto firstEnd = std::find_if(bytes.begin(), bytes.end(), isLineEnd);
    summary.firstDate = quotationDate(bytes.substr(0, static_cast<std::size_t>(firstEnd - bytes.begin())));

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

text::FileStatus HistoryReader::read(const std::filesystem::path& file, HistorySummary& summary)
{
    std::size_t length = 0;
    text::FileStatus status = text::readWholeFileInto(file, m_buffer, length);
    if (status.ok()) {
        try {
            summarize(std::string_view(m_buffer.data(), length), summary);
        } catch (const std::bad_alloc&) {
            status = text::FileStatus{ENOMEM};
        }
    }
    if (!status.ok())
        clearSummary(summary);
    if (m_buffer.size() > kKeptBufferBytes)
        std::string().swap(m_buffer);
    return status;
}

} // namespace parvane::evaluation
