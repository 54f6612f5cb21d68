#include "host/x11/X11HostWindows.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <thread>

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace parvane::host {

namespace {

using namespace std::chrono_literals;

// How long activation waits for the focus to arrive (a window manager acts asynchronously), and
// how long typed keys are given to reach the focused client's event queue.
constexpr auto kFocusWait = 1000ms;
constexpr auto kKeyWait = 100ms;
constexpr auto kPollStep = 10ms;

// Characters of a caption, as a Windows caption buffer of 255 characters holds them.
constexpr std::size_t kCaptionLimit = 255;

// Displays opened by this file; errors on them are recorded, not fatal. One thread only.
std::vector<Display*> g_ownDisplays;
int g_lastError = 0;
XErrorHandler g_previousHandler = nullptr;

int recordError(Display* display, XErrorEvent* event)
{
    if (std::find(g_ownDisplays.begin(), g_ownDisplays.end(), display) != g_ownDisplays.end()) {
        g_lastError = event->error_code;
        return 0;
    }
    return g_previousHandler ? g_previousHandler(display, event) : 0;
}

// Collects the X errors of the requests made while it lives. failed() waits for the server's
// answer to every request made so far.
class ErrorTrap
{
public:
    explicit ErrorTrap(Display* display)
        : m_display(display)
    {
        XSync(m_display, False);
        g_lastError = 0;
    }

    bool failed()
    {
        XSync(m_display, False);
        return g_lastError != 0;
    }

private:
    Display* m_display;
};

// Cuts `text` (UTF-8) at its first NUL and after `limit` characters.
std::string limitCaption(std::string text, std::size_t limit)
{
    if (const auto nul = text.find('\0'); nul != std::string::npos)
        text.resize(nul);
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && characters++ == limit) {
            text.resize(i);
            break;
        }
    }
    return text;
}

std::string latin1ToUtf8(const unsigned char* bytes, std::size_t size)
{
    std::string text;
    text.reserve(size);
    for (std::size_t i = 0; i < size; ++i) {
        const unsigned char c = bytes[i];
        if (c < 0x80) {
            text += static_cast<char>(c);
        } else {
            text += static_cast<char>(0xC0 | (c >> 6));
            text += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return text;
}

} // namespace

struct X11HostWindows::Connection
{
    Display* display = nullptr;
    Window root = 0;
    bool hasXTest = false;
    Atom netClientListStacking = 0;
    Atom netSupportingWmCheck = 0;
    Atom netWmName = 0;
    Atom netActiveWindow = 0;
    Atom netWmState = 0;
    Atom netWmStateAbove = 0;
    Atom utf8String = 0;

    explicit Connection(const std::string& displayName)
    {
        display = XOpenDisplay(displayName.empty() ? nullptr : displayName.c_str());
        if (!display)
            return;
        if (g_ownDisplays.empty())
            g_previousHandler = XSetErrorHandler(recordError);
        g_ownDisplays.push_back(display);
        root = XDefaultRootWindow(display);
        int eventBase = 0;
        int errorBase = 0;
        int major = 0;
        int minor = 0;
        hasXTest = XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor) != 0;
        netClientListStacking = XInternAtom(display, "_NET_CLIENT_LIST_STACKING", False);
        netSupportingWmCheck = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
        netWmName = XInternAtom(display, "_NET_WM_NAME", False);
        netActiveWindow = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
        netWmState = XInternAtom(display, "_NET_WM_STATE", False);
        netWmStateAbove = XInternAtom(display, "_NET_WM_STATE_ABOVE", False);
        utf8String = XInternAtom(display, "UTF8_STRING", False);
    }

    ~Connection()
    {
        if (!display)
            return;
        XCloseDisplay(display);
        std::erase(g_ownDisplays, display);
        if (g_ownDisplays.empty())
            XSetErrorHandler(g_previousHandler);
    }

    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // The window named by the 32-bit property `property` of `window`; 0 when missing or on error.
    Window windowProperty(Window window, Atom property)
    {
        ErrorTrap trap(display);
        Atom type = 0;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char* data = nullptr;
        const int status = XGetWindowProperty(display, window, property, 0, 1, False, XA_WINDOW, &type,
                                              &format, &count, &after, &data);
        Window result = 0;
        if (status == Success && type == XA_WINDOW && format == 32 && count == 1 && data)
            result = static_cast<Window>(*reinterpret_cast<unsigned long*>(data));
        if (data)
            XFree(data);
        return trap.failed() ? 0 : result;
    }

    bool hasWindowManager()
    {
        const Window check = windowProperty(root, netSupportingWmCheck);
        // A window manager that died leaves the root's property behind; its check window is gone.
        return check != 0 && windowProperty(check, netSupportingWmCheck) == check;
    }

    // The top-level windows, bottom-most first: the managed clients under a window manager, the
    // root's children on a bare server.
    std::vector<Window> stackingOrder()
    {
        std::vector<Window> windows;
        if (hasWindowManager()) {
            ErrorTrap trap(display);
            Atom type = 0;
            int format = 0;
            unsigned long count = 0;
            unsigned long after = 0;
            unsigned char* data = nullptr;
            const int status = XGetWindowProperty(display, root, netClientListStacking, 0, 0x10000, False,
                                                  XA_WINDOW, &type, &format, &count, &after, &data);
            if (status == Success && type == XA_WINDOW && format == 32 && data) {
                const auto* ids = reinterpret_cast<const unsigned long*>(data);
                windows.assign(ids, ids + count);
            }
            if (data)
                XFree(data);
            if (!trap.failed() && !windows.empty())
                return windows;
            windows.clear();
        }
        ErrorTrap trap(display);
        Window rootReturn = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (XQueryTree(display, root, &rootReturn, &parent, &children, &count) && children)
            windows.assign(children, children + count);
        if (children)
            XFree(children);
        return windows;
    }

    std::string caption(Window window)
    {
        ErrorTrap trap(display);
        std::string text;
        bool found = false;
        Atom type = 0;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display, window, netWmName, 0, 1024, False, utf8String, &type, &format, &count,
                               &after, &data)
                == Success
            && type == utf8String && format == 8 && data) {
            text.assign(reinterpret_cast<const char*>(data), count);
            found = true;
        }
        if (data)
            XFree(data);
        if (!found) {
            XTextProperty property{};
            if (XGetWMName(display, window, &property) && property.value) {
                if (property.encoding == XA_STRING && property.format == 8) {
                    text = latin1ToUtf8(property.value, property.nitems);
                } else if (property.encoding == utf8String && property.format == 8) {
                    text.assign(reinterpret_cast<const char*>(property.value), property.nitems);
                } else {
                    char** list = nullptr;
                    int listCount = 0;
                    if (Xutf8TextPropertyToTextList(display, &property, &list, &listCount) == Success && list
                        && listCount > 0)
                        text = list[0];
                    if (list)
                        XFreeStringList(list);
                }
            }
            if (property.value)
                XFree(property.value);
        }
        if (trap.failed())
            return {};
        return limitCaption(std::move(text), kCaptionLimit);
    }

    bool exists(Window window) { return mapState(window).has_value(); }

    // IsUnmapped, IsUnviewable or IsViewable; std::nullopt for a window that does not exist.
    std::optional<int> mapState(Window window)
    {
        ErrorTrap trap(display);
        XWindowAttributes attributes{};
        const Status status = XGetWindowAttributes(display, window, &attributes);
        if (trap.failed() || status == 0)
            return std::nullopt;
        return attributes.map_state;
    }

    // True when the input focus lies on `window` or on a window inside it.
    bool holdsFocus(Window window)
    {
        ErrorTrap trap(display);
        Window focus = 0;
        int revert = 0;
        XGetInputFocus(display, &focus, &revert);
        for (int depth = 0; depth < 64 && focus != 0 && focus != PointerRoot; ++depth) {
            if (focus == window)
                return true;
            if (focus == root)
                return false;
            Window rootReturn = 0;
            Window parent = 0;
            Window* children = nullptr;
            unsigned int count = 0;
            if (!XQueryTree(display, focus, &rootReturn, &parent, &children, &count))
                return false;
            if (children)
                XFree(children);
            focus = parent;
        }
        return false;
    }

    void sendClientMessage(Window window, Atom type, long l0, long l1, long l2, long l3)
    {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = type;
        event.xclient.format = 32;
        event.xclient.data.l[0] = l0;
        event.xclient.data.l[1] = l1;
        event.xclient.data.l[2] = l2;
        event.xclient.data.l[3] = l3;
        XSendEvent(display, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
    }

    // The key code of `stroke`, and whether Shift is needed for its character; code 0 when the
    // keyboard has no such key.
    std::pair<KeyCode, bool> keyFor(const KeyStroke& stroke)
    {
        KeySym symbol = NoSymbol;
        switch (stroke.named) {
        case NamedKey::Return:
            symbol = XK_Return;
            break;
        case NamedKey::Escape:
            symbol = XK_Escape;
            break;
        case NamedKey::PageUp:
            symbol = XK_Prior;
            break;
        case NamedKey::PageDown:
            symbol = XK_Next;
            break;
        case NamedKey::Character:
            // Printable ASCII characters are their own key symbols.
            if (stroke.character < 0x20 || stroke.character > 0x7E)
                return {0, false};
            symbol = static_cast<KeySym>(stroke.character);
            break;
        }
        const KeyCode code = XKeysymToKeycode(display, symbol);
        if (code == 0)
            return {0, false};
        if (XkbKeycodeToKeysym(display, code, 0, 0) == symbol)
            return {code, false};
        if (XkbKeycodeToKeysym(display, code, 0, 1) == symbol)
            return {code, true};
        return {0, false};
    }

    KeyCode modifierKey(KeySym first, KeySym second)
    {
        const KeyCode code = XKeysymToKeycode(display, first);
        return code != 0 ? code : XKeysymToKeycode(display, second);
    }
};

X11HostWindows::X11HostWindows(const std::string& displayName)
    : m_connection(std::make_unique<Connection>(displayName))
{}

X11HostWindows::~X11HostWindows() = default;

bool X11HostWindows::isReachable() const
{
    return m_connection->display != nullptr;
}

bool X11HostWindows::hasWindowManager()
{
    return isReachable() && m_connection->hasWindowManager();
}

WindowId X11HostWindows::nextWindow(WindowId window, StackDirection direction)
{
    if (!isReachable())
        return 0;
    const std::vector<Window> windows = m_connection->stackingOrder();
    const auto it = std::find(windows.begin(), windows.end(), static_cast<Window>(window));
    if (it == windows.end())
        return direction == StackDirection::Down && !windows.empty() ? windows.back() : 0;
    if (direction == StackDirection::Down)
        return it == windows.begin() ? 0 : *(it - 1);
    return it + 1 == windows.end() ? 0 : *(it + 1);
}

std::string X11HostWindows::windowCaption(WindowId window)
{
    if (!isReachable() || window == 0)
        return {};
    return m_connection->caption(static_cast<Window>(window));
}

WindowClass X11HostWindows::windowClass(WindowId window)
{
    if (!isReachable() || window == 0)
        return {};
    ErrorTrap trap(m_connection->display);
    XClassHint hint{};
    WindowClass result;
    if (XGetClassHint(m_connection->display, static_cast<Window>(window), &hint)) {
        result.instance = hint.res_name ? hint.res_name : "";
        result.klass = hint.res_class ? hint.res_class : "";
    }
    if (hint.res_name)
        XFree(hint.res_name);
    if (hint.res_class)
        XFree(hint.res_class);
    return trap.failed() ? WindowClass{} : result;
}

bool X11HostWindows::isViewable(WindowId window)
{
    return isReachable() && window != 0 && m_connection->mapState(static_cast<Window>(window)) == IsViewable;
}

bool X11HostWindows::hasFocus(WindowId window)
{
    return isReachable() && window != 0 && m_connection->holdsFocus(static_cast<Window>(window));
}

bool X11HostWindows::activateWindow(WindowId window)
{
    if (!isReachable() || window == 0)
        return false;
    Connection& c = *m_connection;
    const auto target = static_cast<Window>(window);
    if (!c.exists(target))
        return false;
    const bool managed = c.hasWindowManager();
    const auto deadline = std::chrono::steady_clock::now() + kFocusWait;
    const auto waitFor = [&](const auto& condition) {
        while (!condition()) {
            if (std::chrono::steady_clock::now() >= deadline)
                return false;
            std::this_thread::sleep_for(kPollStep);
        }
        return true;
    };
    if (managed) {
        ErrorTrap trap(c.display);
        // Source indication 2 (a pager): window managers honour it as the user's own request.
        c.sendClientMessage(target, c.netActiveWindow, 2, CurrentTime, 0, 0);
        if (trap.failed())
            return false;
    } else {
        // Only a viewable window takes the focus; a program that has just started may not have
        // mapped its window yet.
        if (!waitFor([&] { return c.mapState(target) == IsViewable; }))
            return false;
        ErrorTrap trap(c.display);
        XRaiseWindow(c.display, target);
        XSetInputFocus(c.display, target, RevertToPointerRoot, CurrentTime);
        if (trap.failed())
            return false;
    }
    return waitFor([&] { return c.holdsFocus(target); });
}

bool X11HostWindows::sendKeys(const std::vector<KeyStroke>& keys)
{
    if (!isReachable() || !m_connection->hasXTest)
        return false;
    Connection& c = *m_connection;
    const KeyCode altKey = c.modifierKey(XK_Alt_L, XK_Meta_L);
    const KeyCode controlKey = c.modifierKey(XK_Control_L, XK_Control_R);
    const KeyCode shiftKey = c.modifierKey(XK_Shift_L, XK_Shift_R);
    bool allTyped = true;
    for (const KeyStroke& stroke : keys) {
        const auto [code, needsShift] = c.keyFor(stroke);
        if (code == 0) {
            allTyped = false;
            continue;
        }
        std::vector<KeyCode> held;
        if (stroke.control && controlKey)
            held.push_back(controlKey);
        if (stroke.alt && altKey)
            held.push_back(altKey);
        if ((stroke.shift || needsShift) && shiftKey)
            held.push_back(shiftKey);
        for (const KeyCode modifier : held)
            XTestFakeKeyEvent(c.display, modifier, True, CurrentTime);
        XTestFakeKeyEvent(c.display, code, True, CurrentTime);
        XTestFakeKeyEvent(c.display, code, False, CurrentTime);
        for (auto it = held.rbegin(); it != held.rend(); ++it)
            XTestFakeKeyEvent(c.display, *it, False, CurrentTime);
    }
    // Once the server has answered, every key sits in the focused client's queue; give the client
    // a moment to take them out, as nothing tells when it has.
    XSync(c.display, False);
    std::this_thread::sleep_for(kKeyWait);
    return allTyped;
}

bool X11HostWindows::setTopMost(WindowId window, bool topMost)
{
    if (!isReachable() || window == 0)
        return false;
    Connection& c = *m_connection;
    const auto target = static_cast<Window>(window);
    // A message to the window manager about a window that is gone raises no error.
    if (!c.exists(target))
        return false;
    const bool managed = c.hasWindowManager();
    ErrorTrap trap(c.display);
    if (managed) {
        constexpr long kRemove = 0;
        constexpr long kAdd = 1;
        c.sendClientMessage(target, c.netWmState, topMost ? kAdd : kRemove,
                            static_cast<long>(c.netWmStateAbove), 0, 2);
    } else if (topMost) {
        XRaiseWindow(c.display, target);
    }
    return !trap.failed();
}

std::unique_ptr<HostWindows> createDesktopHostWindows()
{
    return std::make_unique<X11HostWindows>();
}

} // namespace parvane::host
