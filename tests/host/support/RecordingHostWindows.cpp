#include "support/RecordingHostWindows.h"

#include <algorithm>

namespace parvane::test {

using host::StackDirection;
using host::WindowId;

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
    const auto it = m_captions.find(window);
    return it == m_captions.end() ? std::string() : it->second;
}

bool RecordingHostWindows::activateWindow(WindowId window)
{
    if (!m_captions.contains(window))
        return false;
    activeWindow = window;
    return true;
}

bool RecordingHostWindows::sendKeys(const std::vector<host::KeyStroke>& keys)
{
    sentKeys.push_back(keys);
    return true;
}

void RecordingHostWindows::putOnTop(WindowId window, std::string caption)
{
    std::erase(m_stacking, window);
    m_stacking.push_back(window);
    m_captions[window] = std::move(caption);
}

std::string keyNotation(const std::vector<host::KeyStroke>& keys)
{
    std::string text;
    for (const host::KeyStroke& key : keys) {
        text += key.control ? "^" : "";
        text += key.alt ? "%" : "";
        text += key.shift ? "+" : "";
        text +=
            key.named == host::NamedKey::Character ? std::string(1, static_cast<char>(key.character)) : "{}";
    }
    return text;
}

} // namespace parvane::test
