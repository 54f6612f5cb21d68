#include "print/CPage.h"

#include <limits>

#include "print/SystemPrinter.h"

namespace parvane::print {

PaperDefaults installedPrinterDefaults()
{
    const QPrinterInfo printer = systemPrinter();
    if (printer.isNull())
        return {};
    // The printing system tells a printer's default paper but not a default orientation; a
    // printer starts in portrait.
    return {static_cast<std::int16_t>(paperCodeForPageSize(printer.defaultPageSize())), 1};
}

std::optional<std::int16_t> marginTwips(std::int16_t centimetres)
{
    const int twips = int{centimetres} * kTwipsPerCentimetre;
    if (twips < std::numeric_limits<std::int16_t>::min() || twips > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return static_cast<std::int16_t>(twips);
}

CPage::CPage()
    : CPage(installedPrinterDefaults())
{}

CPage::CPage(PaperDefaults defaults)
    : m_paperSize(defaults.paperSize)
    , m_orientation(defaults.orientation)
{}

} // namespace parvane::print
