#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/evaluation/Date.h"
#include "core/text/FileRead.h"

namespace parvane::evaluation {

// What the evaluation needs from one quotation history (one line a trading day, oldest first;
// Tab-separated fields: 0 date "yyyymmdd", 4 close, 5 volume).
struct HistorySummary
{
    std::size_t lineCount = 0;         // N; blank lines count
    std::optional<Date> firstDate;     // of line 1; empty when it is not a date
    std::optional<Date> lastDate;      // of line N
    std::string lastClose;             // field 4 of line N, first "," made "."
    std::string previousClose;         // field 4 of line N-1, first "," made "."
    double lastVolume = 0;             // field 5 of line N: its first 10 characters, number rule
    double previousVolume = 0;         // field 5 of line N-1
    std::vector<std::string> lookBack; // whole lines N-10 .. N-1, oldest first; never line 1

    // Position of the last bar in daily unit (N + 1).
    std::size_t lastBarPosition() const { return lineCount + 1; }

    bool hasPreviousLine() const { return lineCount >= 2; }
};

// Field 4 of a quotation line (the close): the text between the 4th and the 5th Tab, or to the
// line's end when it has no 5th Tab; empty when it has fewer than 4 Tabs. First "," made ".".
std::string closeText(std::string_view line);

// Field 5 of a quotation line (the volume) as the daily reading takes it: the at most 10
// characters after the 5th Tab, number rule; 0 without a 5th Tab.
double dailyVolume(std::string_view line);

// The size of the reads of a history. A chunk that fits the processor's second-level cache
// beside the counting loop keeps the reading at the speed of `wc -l`; reading a 200 KB history
// whole into one buffer was two to three times slower on small caches (bench/scan-bench.sh).
#ifndef PARVANE_HISTORY_CHUNK_KIB
#define PARVANE_HISTORY_CHUNK_KIB 64
#endif
inline constexpr std::size_t kHistoryChunkBytes = std::size_t{PARVANE_HISTORY_CHUNK_KIB} << 10;

// Reads quotation histories into summaries. The file is read in chunks into a buffer that is
// reused from one file to the next; lines are counted as the chunks go by, and only the first
// line's date and the last lines are kept, so that a scan allocates nothing per line and a long
// history costs no more memory than a short one. Not thread-safe; one reader per scan.
class HistoryReader
{
public:
    // `maxLineBytes` bounds the bytes kept for the last eleven lines (and so the length of a line
    // that can be read); a history with longer lines is refused with EFBIG.
    explicit HistoryReader(std::size_t maxLineBytes = std::size_t{256} << 20);

    // Reads `file` and replaces everything in `summary` by what the file holds (a summary never
    // keeps values of a previously read stock). A folder, a FIFO or another special file is
    // refused without blocking. Returns the failure of the open or the read; on failure
    // `summary` is left empty.
    [[nodiscard]] text::FileStatus read(const std::filesystem::path& file, HistorySummary& summary);

    // Builds the summary of history bytes already in memory.
    static void summarize(std::string_view bytes, HistorySummary& summary);

private:
    text::FileStatus readChunks(int fd, HistorySummary& summary);

    std::size_t m_maxLineBytes;
    std::string m_buffer;
};

} // namespace parvane::evaluation
