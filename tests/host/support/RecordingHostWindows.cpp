#include "support/RecordingHostWindows.h"

#include <algorithm>

namespace parvane::test {

using host::StackDirection;
using host::WindowId;

WindowId RecordingHostWindows::findWindow(std::string_view caption)
{
    events.push_back("find " + std::string(caption));
    for (auto it = m_stacking.rbegin(); it != m_stacking.rend(); ++it) {
        if (m_captions[*it] == caption)
            return *it;
    }
    return 0;
}

WindowId RecordingHostWindows::nextWindow(WindowId window, StackDirection direction)
{
    const auto it = std::find(m_stacking.begin(), m_stacking.end(), window);
    if (it == m_stacking.end())
        return direction == StackDirection::Down && !m_stacking.empty() ? m_stacking.back() : 0;
    if (direction == StackDirection::Down)
        return it == m_stacking.begin() ? 0 : *(it - 1);
    return it + 1 == m_stacking.end() ? 0 : *(it + 1);
}

std::string RecordingHostWindows::windowCaption(WindowId window)
{
    ++m_captionReads[window];
    const auto it = m_captions.find(window);
    return it == m_captions.end() ? std::string() : it->second;
}

bool RecordingHostWindows::activateWindow(WindowId window)
{
    events.push_back("activate " + std::to_string(window));
    if (!m_captions.contains(window))
        return false;
    activeWindow = window;
    return true;
}

bool RecordingHostWindows::activateWindow(std::string_view caption)
{
    events.push_back("activate " + std::string(caption));
    for (auto it = m_stacking.rbegin(); it != m_stacking.rend(); ++it) {
        if (m_captions[*it] == caption) {
            activeWindow = *it;
            return true;
        }
    }
    return false;
}

bool RecordingHostWindows::sendKeys(const std::vector<host::KeyStroke>& keys)
{
    events.push_back("keys " + keyNotation(keys));
    sentKeys.push_back(keys);
    return true;
}

bool RecordingHostWindows::setTopMost(WindowId window, bool topMost)
{
    events.push_back("topmost " + std::to_string(window) + (topMost ? " on" : " off"));
    return true;
}

void RecordingHostWindows::putOnTop(WindowId window, std::string caption)
{
    std::erase(m_stacking, window);
    m_stacking.push_back(window);
    m_captions[window] = std::move(caption);
}

void RecordingHostWindows::putAtBottom(WindowId window, std::string caption)
{
    std::erase(m_stacking, window);
    m_stacking.insert(m_stacking.begin(), window);
    m_captions[window] = std::move(caption);
}

void RecordingHostWindows::setCaption(WindowId window, std::string caption)
{
    m_captions[window] = std::move(caption);
}

void RecordingHostWindows::remove(WindowId window)
{
    std::erase(m_stacking, window);
    m_captions.erase(window);
}

int RecordingHostWindows::captionReads(WindowId window) const
{
    const auto it = m_captionReads.find(window);
    return it == m_captionReads.end() ? 0 : it->second;
}

std::string keyNotation(const std::vector<host::KeyStroke>& keys)
{
    std::string text;
    for (const host::KeyStroke& key : keys) {
        if (key.control)
            text += '^';
        if (key.alt)
            text += '%';
        if (key.shift)
            text += '+';
        switch (key.named) {
        case host::NamedKey::Character:
            text += static_cast<char>(key.character);
            break;
        case host::NamedKey::Return:
            text += "{ENTER}";
            break;
        case host::NamedKey::Escape:
            text += "{ESC}";
            break;
        case host::NamedKey::PageUp:
            text += "{PGUP}";
            break;
        case host::NamedKey::PageDown:
            text += "{PGDN}";
            break;
        }
    }
    return text;
}

} // namespace parvane::test
