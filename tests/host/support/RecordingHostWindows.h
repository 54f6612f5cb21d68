#pragma once

#include <map>
#include <string>
#include <vector>

#include "host/HostWindows.h"

namespace parvane::test {

// A desktop held in memory, for the windows' tests where no X server runs: top-level windows with
// captions in a stacking order; it records the window activated and the keys typed.
class RecordingHostWindows final : public host::HostWindows
{
public:
    bool isReachable() const override { return reachable; }

    host::WindowId nextWindow(host::WindowId window, host::StackDirection direction) override;
    std::string windowCaption(host::WindowId window) override;

    host::WindowClass windowClass(host::WindowId) override { return {}; }

    bool isViewable(host::WindowId window) override { return m_captions.contains(window); }

    bool hasFocus(host::WindowId window) override { return window != 0 && window == activeWindow; }

    bool activateWindow(host::WindowId window) override;

    bool sendKeys(const std::vector<host::KeyStroke>& keys) override;

    bool setTopMost(host::WindowId, bool) override { return true; }

    // Puts a window above all others (or changes the caption of an existing one, in place).
    void putOnTop(host::WindowId window, std::string caption);

    bool reachable = true;
    std::vector<std::vector<host::KeyStroke>> sentKeys;
    host::WindowId activeWindow = 0;

private:
    std::vector<host::WindowId> m_stacking; // bottom-most first
    std::map<host::WindowId, std::string> m_captions;
};

// The keys in Windows notation ("%fG"), for readable expectations.
std::string keyNotation(const std::vector<host::KeyStroke>& keys);

} // namespace parvane::test
