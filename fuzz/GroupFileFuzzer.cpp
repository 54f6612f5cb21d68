// The group file reader on arbitrary bytes, its line count, and the stock file name rules.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "FuzzSupport.h"
#include "core/scan/GroupFile.h"
#include "core/text/TextLines.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace parvane::scan;
    const std::string_view bytes = parvane::fuzz::asText(data, size);

    static const std::filesystem::path path = parvane::fuzz::processFolder() / "group.txt";
    parvane::fuzz::writeBytes(path, bytes);
    std::vector<GroupEntry> entries{{"OLD", "stale"}};
    parvane::fuzz::require(readGroupFile(path, entries).ok());
    parvane::fuzz::require(entries.size() <= parvane::text::countLines(bytes));
    parvane::fuzz::require(compteligne(path) == parvane::text::countLines(bytes));
    for (const GroupEntry& entry : entries)
        parvane::fuzz::require(entry.code.find('\t') == std::string::npos);

    if (const auto split = splitStockFileName(bytes)) {
        parvane::fuzz::require(split->name.find('_') == std::string_view::npos);
        parvane::fuzz::require(split->name.size() + 1 + split->code.size() + 4 == bytes.size());
        // A name without "_" comes back whole from the name it builds.
        if (split->code.find('_') == std::string_view::npos) {
            const std::string built = stockFileName(split->name, split->code);
            const auto again = splitStockFileName(built);
            parvane::fuzz::require(again && again->name == split->name && again->code == split->code);
        }
    }
    return 0;
}
