// History bytes through the reader's summary and the field readings of a quotation line.
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "core/evaluation/HistoryReader.h"
#include "core/text/TextLines.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace parvane::evaluation;
    const std::string_view bytes = parvane::fuzz::asText(data, size);

    HistorySummary summary;
    HistoryReader::summarize(bytes, summary);
    parvane::fuzz::require(summary.lineCount == parvane::text::countLines(bytes));
    parvane::fuzz::require(summary.lookBack.size() <= 10);
    parvane::fuzz::require(summary.lookBack.size() < summary.lineCount || summary.lineCount == 0);

    // A summary never keeps anything of the previous file.
    HistorySummary again;
    HistoryReader::summarize("20240102\t1\t2\t3\t4,5\t6\r\n", again);
    HistoryReader::summarize(bytes, again);
    parvane::fuzz::require(again.lineCount == summary.lineCount);
    parvane::fuzz::require(again.lastClose == summary.lastClose);
    parvane::fuzz::require(again.previousClose == summary.previousClose);
    parvane::fuzz::require(again.lookBack == summary.lookBack);

    parvane::text::forEachLine(bytes, [](std::string_view line) {
        static_cast<void>(closeText(line));
        static_cast<void>(dailyVolume(line));
    });
    return 0;
}
