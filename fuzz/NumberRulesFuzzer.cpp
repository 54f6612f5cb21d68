// The number rule of Korvix's files and the formatting of figures.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "FuzzSupport.h"
#include "core/evaluation/NumberRules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace parvane::evaluation;
    const std::string_view text = parvane::fuzz::asText(data, size);

    const double number = readNumber(text);
    parvane::fuzz::require(std::isfinite(number));
    const double baseNumber = readBaseNumber(text);
    parvane::fuzz::require(std::isfinite(baseNumber));
    const std::string noComma = enlevevirgule(text);
    parvane::fuzz::require(noComma.size() == text.size());

    for (const double value : {number, baseNumber}) {
        const std::string dot = formatFixed2(value, '.');
        const std::string comma = formatFixed2(value, ',');
        parvane::fuzz::require(dot.size() >= 4 && dot[dot.size() - 3] == '.');
        parvane::fuzz::require(comma.size() == dot.size());
        if (const auto rounded = toInt16(value))
            parvane::fuzz::require(std::fabs(value - *rounded) <= 0.5);
    }

    // Raw bytes as a double: NaN, infinities and subnormals too.
    if (size >= sizeof(double)) {
        double raw = 0;
        std::memcpy(&raw, data, sizeof raw);
        static_cast<void>(formatFixed2(raw, ','));
        static_cast<void>(toInt16(raw));
    }

    const std::size_t width = size == 0 ? 0 : 1 + data[0] % 16;
    const std::string fixed = outputx(text, width);
    parvane::fuzz::require(text.size() > width ? fixed.size() + 1 == width : fixed.size() == width);
    const std::string code = paddedCode(text);
    parvane::fuzz::require(code.size() >= 6 && code.size() >= text.size());
    return 0;
}
