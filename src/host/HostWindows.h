#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace parvane::host {

// A top-level window of the display, as a plain integer (an X11 window id); 0 is no window.
using WindowId = std::uint64_t;

// Direction of a walk through the stacking order of the top-level windows.
enum class StackDirection
{
    Down, // towards the bottom-most window (GW_HWNDNEXT)
    Up,   // towards the top-most window (GW_HWNDPREV)
};

// Keys that type no character.
enum class NamedKey
{
    Character, // the key of `character`
    Return,
    Escape,
    PageUp,
    PageDown,
};

// One key stroke: a key pressed with modifiers held down. `character` is the character the key
// produces when `named` is Character: 'f' is the F key alone, 'G' is the G key with Shift.
struct KeyStroke
{
    bool alt = false;
    bool control = false;
    bool shift = false;
    char32_t character = 0;
    NamedKey named = NamedKey::Character;

    friend bool operator==(const KeyStroke&, const KeyStroke&) = default;
};

// The X11 class hint of a window (WM_CLASS): Wine sets both parts from the executable's name.
struct WindowClass
{
    std::string instance;
    std::string klass;
};

// The windows of other programs on the desktop (Korvix's, under Wine), as Parvane needs them:
// find, walk, read captions, activate, type keys, keep a window on top. Captions are UTF-8.
// Implementations never throw and never block for long; a window that vanishes between two calls
// is a normal case, not an error.
class HostWindows
{
public:
    virtual ~HostWindows() = default;

    // False when no display can be reached (no X11 server, a Wayland-only session); every other
    // call then finds nothing and does nothing.
    virtual bool isReachable() const = 0;

    // The window after `window` in the stacking order, going `direction`; 0 past the last window.
    // A window that the stacking order does not hold (gone, or not yet managed) counts as lying
    // above the top-most window: Down from it gives the top-most window, Up gives 0.
    virtual WindowId nextWindow(WindowId window, StackDirection direction) = 0;

    // The caption of `window`, at most 255 characters; "" for a window without caption or one that
    // no longer exists.
    virtual std::string windowCaption(WindowId window) = 0;

    // The class hint of `window`; both parts "" when it has none or no longer exists.
    virtual WindowClass windowClass(WindowId window) = 0;

    // True when `window` is mapped and shown on the screen.
    virtual bool isViewable(WindowId window) = 0;

    // True when the input focus lies on `window` or on a window inside it.
    virtual bool hasFocus(WindowId window) = 0;

    // Brings `window` to the front and gives it the input focus. Returns false when the window does
    // not exist or the focus could not be given.
    virtual bool activateWindow(WindowId window) = 0;

    // Types `keys` into the window that has the input focus, then waits until they have been
    // handed to it (a bounded wait, well under a second). Returns false when a key cannot be typed
    // on this keyboard; nothing tells whether the focused window used the keys.
    virtual bool sendKeys(const std::vector<KeyStroke>& keys) = 0;

    // Keeps `window` above the other windows (`topMost` true) or lets it be covered again.
    virtual bool setTopMost(WindowId window, bool topMost) = 0;

    HostWindows() = default;
    HostWindows(const HostWindows&) = delete;
    HostWindows& operator=(const HostWindows&) = delete;
};

} // namespace parvane::host
