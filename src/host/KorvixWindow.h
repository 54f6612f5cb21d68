#pragma once

#include <chrono>
#include <functional>

#include "host/HostWindows.h"

namespace parvane::host {

// How long a started Korvix is given to show its window: Wine needs a few seconds, more on a first
// start in a fresh prefix.
inline constexpr std::chrono::milliseconds kKorvixWindowWait{30000};

// Korvix's main window, the top-most one that the rule of core/scan/KorvixWindow.h accepts; 0 when
// none is on the desktop.
WindowId findKorvixWindow(HostWindows& host);

// True when `window` is Korvix's main window.
bool isKorvixWindow(HostWindows& host, WindowId window);

// How a wait for Korvix's window ended.
struct KorvixWait
{
    WindowId window = 0;   // Korvix's window; 0 when the wait ended without it
    bool timedOut = false; // the wait ended at its limit (not cancelled, the program not quitting)
};

// Waits until Korvix's main window is on the screen (mapped and viewable), at most `limit`, with the
// event loop running: the program stays live meanwhile. The wait ends early, without a window, when
// `cancelled` returns true (asked every 50 ms) or the application quits.
KorvixWait waitForKorvixWindow(HostWindows& host, std::chrono::milliseconds limit,
                               const std::function<bool()>& cancelled = {});

} // namespace parvane::host
