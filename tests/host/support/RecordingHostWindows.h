#pragma once

#include <map>
#include <string>
#include <vector>

#include "host/HostWindows.h"

namespace parvane::test {

// A desktop held in memory: top-level windows with captions in a stacking order. It records what
// is asked of it in `events` ("find Korvix", "activate Korvix", "keys %fG", "topmost 7 on"), so
// that tests can check the order of the steps, and counts the caption reads per window.
class RecordingHostWindows final : public host::HostWindows
{
public:
    bool isReachable() const override { return reachable; }

    host::WindowId findWindow(std::string_view caption) override;
    host::WindowId nextWindow(host::WindowId window, host::StackDirection direction) override;
    std::string windowCaption(host::WindowId window) override;
    bool activateWindow(host::WindowId window) override;
    bool activateWindow(std::string_view caption) override;
    bool sendKeys(const std::vector<host::KeyStroke>& keys) override;
    bool setTopMost(host::WindowId window, bool topMost) override;

    // Puts a window above all others (or changes the caption of an existing one, in place).
    void putOnTop(host::WindowId window, std::string caption);
    // Puts a window below all others.
    void putAtBottom(host::WindowId window, std::string caption);
    void setCaption(host::WindowId window, std::string caption);
    void remove(host::WindowId window);

    int captionReads(host::WindowId window) const;

    bool reachable = true;
    std::vector<std::string> events;
    std::vector<std::vector<host::KeyStroke>> sentKeys;
    host::WindowId activeWindow = 0;

private:
    std::vector<host::WindowId> m_stacking; // bottom-most first
    std::map<host::WindowId, std::string> m_captions;
    std::map<host::WindowId, int> m_captionReads;
};

// The keys in Windows notation ("%fG", "{PGDN}"), for readable expectations.
std::string keyNotation(const std::vector<host::KeyStroke>& keys);

} // namespace parvane::test
