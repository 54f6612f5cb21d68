#include "core/scan/KorvixWindow.h"

#include "core/scan/KorvixCaption.h"
#include "core/scan/KorvixExecutable.h"

namespace parvane::scan {

bool isKorvixWindow(const WindowTraits& window) noexcept
{
    const bool hasClass = !window.instance.empty() || !window.klass.empty();
    if (hasClass && !isKorvixExecutableName(window.instance) && !isKorvixExecutableName(window.klass))
        return false;
    return window.caption == kKorvixIdleCaption || window.caption.starts_with(kKorvixStockCaptionPrefix);
}

} // namespace parvane::scan
