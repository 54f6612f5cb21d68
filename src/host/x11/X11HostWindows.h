#pragma once

#include <memory>
#include <string>

#include "host/HostWindows.h"

namespace parvane::host {

// HostWindows over Xlib and XTest, on a connection of its own. With a window manager it uses the
// EWMH properties (_NET_CLIENT_LIST_STACKING, _NET_WM_NAME, _NET_ACTIVE_WINDOW, _NET_WM_STATE_ABOVE);
// without one (a bare X server) it walks the root window's children and raises and focuses
// windows itself. X errors on this connection (a window that vanishes mid-walk) are caught and
// make the call fail; they never end the program. Use from one thread only.
class X11HostWindows final : public HostWindows
{
public:
    // Connects to the display named `displayName`, or to $DISPLAY when it is empty. Without a
    // display the object is unreachable and every call finds nothing.
    explicit X11HostWindows(const std::string& displayName = {});
    ~X11HostWindows() override;

    bool isReachable() const override;
    WindowId nextWindow(WindowId window, StackDirection direction) override;
    std::string windowCaption(WindowId window) override;
    WindowClass windowClass(WindowId window) override;
    bool isViewable(WindowId window) override;
    bool hasFocus(WindowId window) override;
    bool activateWindow(WindowId window) override;
    bool sendKeys(const std::vector<KeyStroke>& keys) override;
    bool setTopMost(WindowId window, bool topMost) override;

    // True when a window manager that follows EWMH runs on the display.
    bool hasWindowManager();

private:
    struct Connection;
    std::unique_ptr<Connection> m_connection;
};

// The desktop's windows for the program: X11 on $DISPLAY; unreachable when there is none.
std::unique_ptr<HostWindows> createDesktopHostWindows();

} // namespace parvane::host
