#pragma once

#include <string_view>

namespace parvane::scan {

// What tells a top-level window of the desktop apart.
struct WindowTraits
{
    std::string_view caption;  // UTF-8
    std::string_view instance; // X11 class hint, instance part ("" when the window has none)
    std::string_view klass;    // X11 class hint, class part
};

// True when the window is Korvix's main window, idle (caption exactly "Korvix") or showing a stock
// (caption beginning "Korvix - "). Wine names a program's windows after its executable, so a
// window whose class hint names another program is never Korvix, whatever its caption (a file
// manager on "Korvix 2.0", a browser tab "Korvix - notes"); a window without class hint is judged
// by its caption alone.
bool isKorvixWindow(const WindowTraits& window) noexcept;

} // namespace parvane::scan
