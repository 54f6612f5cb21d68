// The caption of Korvix's window to the stock key.
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "core/scan/KorvixCaption.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace parvane::scan;
    const std::string_view caption = parvane::fuzz::asText(data, size);

    const std::size_t dash = stockSeparatorPosition(caption);
    parvane::fuzz::require(dash <= caption.size());
    if (dash != 0)
        parvane::fuzz::require(caption[dash - 1] == '-');
    if (const auto key = stockKeyFromCaption(caption)) {
        parvane::fuzz::require(!key->empty() && key->back() == '_');
        parvane::fuzz::require(key->size() <= caption.size());
    }
    return 0;
}
