#include "cli/Watch.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <ostream>
#include <set>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>

#include "cli/NotificationClicks.h"
#include "cli/Notifier.h"
#include "cli/ScanCommand.h"
#include "core/text/DiskName.h"
#include "core/text/FileDescriptor.h"

namespace parvane::cli {

namespace {

// How often a base that went away is looked for, and a base that is there checked.
constexpr int kPresencePollMs = 3000;

// The latest a run starts after the first change it waits for, however often the changes come:
// this many times the settle time, and never less than kLatestRunFloorMs.
constexpr int kLatestRunSettles = 6;
constexpr int kLatestRunFloorMs = 60'000;

int g_stopPipe[2] = {-1, -1};

extern "C" void onStopSignal(int)
{
    const char byte = 1;
    // Nothing to do when the pipe is full: a stop is already waiting.
    [[maybe_unused]] const auto written = ::write(g_stopPipe[1], &byte, 1);
}

// The inotify watches on the base: the entries of its history and trend-line folders (files
// written, moved in or out, removed) and those folders and the base folder themselves (removed,
// moved, unmounted).
class FolderWatch final
{
public:
    FolderWatch()
        : m_fd(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {}

    int fd() const { return m_fd.get(); }

    // Watches the folders of `layout` that exist. Returns true when a folder is watched that was
    // not before (it was made, or replaced by another of the same name).
    bool arm(const scan::BaseLayout& layout)
    {
        constexpr std::uint32_t kSelf = IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT;
        constexpr std::uint32_t kEntries =
            IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_CREATE | IN_DELETE;
        const std::array<std::pair<std::filesystem::path, std::uint32_t>, 3> folders = {
            {{layout.histo, kSelf | kEntries}, {layout.droite, kSelf | kEntries}, {layout.base, kSelf}}};
        bool added = false;
        std::set<int> watches;
        for (const auto& [folder, mask] : folders) {
            const int watch = ::inotify_add_watch(m_fd.get(), folder.c_str(), mask | IN_ONLYDIR);
            if (watch < 0)
                continue;
            added = added || m_watches.count(watch) == 0;
            watches.insert(watch);
        }
        m_watches = std::move(watches);
        return added;
    }

    void disarm()
    {
        for (const int watch : m_watches)
            ::inotify_rm_watch(m_fd.get(), watch);
        m_watches.clear();
    }

    // Reads the events waiting. Returns true when one of them tells a change.
    bool drain()
    {
        bool changed = false;
        alignas(inotify_event) std::array<char, 16384> buffer{};
        for (;;) {
            const ssize_t size = ::read(m_fd.get(), buffer.data(), buffer.size());
            if (size <= 0)
                break;
            for (ssize_t at = 0; at < size;) {
                inotify_event event{};
                std::copy_n(buffer.data() + at, sizeof event, reinterpret_cast<char*>(&event));
                // The end of a watch that disarm() removed, or that follows a removal reported
                // before it, is no change of its own.
                if ((event.mask & IN_IGNORED) == 0)
                    changed = true;
                at += static_cast<ssize_t>(sizeof(inotify_event) + event.len);
            }
        }
        return changed;
    }

private:
    text::FileDescriptor m_fd;
    std::set<int> m_watches;
};

class Watcher final
{
public:
    Watcher(const ScanArguments& parsed, std::ostream& out, std::ostream& err, NotificationClicks& clicks)
        : m_parsed(parsed)
        , m_out(out)
        , m_err(err)
        , m_clicks(clicks)
        , m_changes(m_folders.fd(), QSocketNotifier::Read)
    {
        m_settle.setSingleShot(true);
        m_settle.setInterval(parsed.settleSeconds * 1000);
        QObject::connect(&m_settle, &QTimer::timeout, [this] { runNow(); });
        m_latest.setSingleShot(true);
        m_latest.setInterval(std::max(kLatestRunSettles * parsed.settleSeconds * 1000, kLatestRunFloorMs));
        QObject::connect(&m_latest, &QTimer::timeout, [this] { runNow(); });
        QObject::connect(&m_changes, &QSocketNotifier::activated, [this] {
            if (m_folders.drain() && m_present)
                changed();
        });
        m_poll.setInterval(kPresencePollMs);
        QObject::connect(&m_poll, &QTimer::timeout, [this] { poll(); });
    }

    bool canWatch() const { return m_folders.fd() >= 0; }

    void start()
    {
        m_poll.start();
        runNow();
    }

private:
    // A change that wants a run: once the folders have been quiet for the settle time, or at the
    // latest m_latest after the first change since the last run.
    void changed()
    {
        m_settle.start();
        if (!m_latest.isActive())
            m_latest.start();
    }

    void runNow()
    {
        m_settle.stop();
        m_latest.stop();
        // Watching before the run: a change during the run is seen, and makes another run. The
        // first run learns where the folders are.
        if (!m_layout.base.empty())
            m_folders.arm(m_layout);
        // The changes seen so far are in this run.
        m_folders.drain();
        const RunReport report = runOnce(m_parsed, m_out, m_err);
        m_out.flush();
        if (report.notification)
            m_clicks.add(m_parsed, report);
        m_layout = report.layout;
        if (report.exitStatus >= kExitInterruptedBase
            || (report.exitStatus != kExitRan && !report.baseMissing)) {
            QCoreApplication::exit(report.exitStatus);
            return;
        }
        if (report.baseMissing) {
            m_folders.disarm();
            setPresent(false);
            return;
        }
        setPresent(true);
        // A folder watched only from now (on the first run, or made during the run) may have
        // changed unseen: one more run.
        if (m_folders.arm(m_layout))
            changed();
    }

    void poll()
    {
        std::error_code error;
        const bool exists = std::filesystem::is_directory(m_layout.base, error);
        if (exists != m_present) {
            // Back: said before the run's own notification. Gone: the run finds it and says it.
            if (exists)
                setPresent(true);
            runNow();
        } else if (m_present && m_folders.arm(m_layout)) {
            // A history or trend-line folder that was not there when the run ended is there now.
            changed();
        }
    }

    void setPresent(bool present)
    {
        if (present == m_present)
            return;
        m_present = present;
        const std::string root = text::diskNameToUtf8(m_layout.root.string());
        m_err << (present ? "parvane-scan: base de retour, la surveillance reprend: "
                          : "parvane-scan: base introuvable, en attente de son retour: ")
              << root << '\n';
        if (!m_parsed.notify)
            return;
        if (const auto failure = sendNotification(basePresenceNotification(m_layout.root, present)))
            m_err << "parvane-scan: notification impossible, " << *failure << ".\n";
    }

    const ScanArguments& m_parsed;
    std::ostream& m_out;
    std::ostream& m_err;
    NotificationClicks& m_clicks;
    FolderWatch m_folders;
    QSocketNotifier m_changes;
    QTimer m_settle;
    QTimer m_latest;
    QTimer m_poll;
    scan::BaseLayout m_layout;
    bool m_present = true;
};

} // namespace

StopSignals::StopSignals(std::function<void()> onStop)
    : m_onStop(std::move(onStop))
{
    if (g_stopPipe[0] < 0 && ::pipe2(g_stopPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_notifier = std::make_unique<QSocketNotifier>(g_stopPipe[0], QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] {
        char bytes[16];
        while (::read(g_stopPipe[0], bytes, sizeof bytes) > 0) {
        }
        m_onStop();
    });
    m_previousInt = std::signal(SIGINT, onStopSignal);
    m_previousTerm = std::signal(SIGTERM, onStopSignal);
}

StopSignals::~StopSignals()
{
    if (!m_notifier)
        return;
    std::signal(SIGINT, m_previousInt);
    std::signal(SIGTERM, m_previousTerm);
}

ApplicationScope::ApplicationScope()
{
    if (QCoreApplication::instance() != nullptr)
        return;
    static int argc = 1;
    static char name[] = "parvane-scan";
    static char* argv[] = {name, nullptr};
    m_application = std::make_unique<QCoreApplication>(argc, argv);
}

ApplicationScope::~ApplicationScope() = default;

int runWatch(const ScanArguments& parsed, std::ostream& out, std::ostream& err)
{
    ApplicationScope application;
    NotificationClicks clicks(err);
    Watcher watcher(parsed, out, err, clicks);
    if (!watcher.canWatch()) {
        err << "parvane-scan: --watch impossible: "
            << std::error_code(errno, std::generic_category()).message() << '\n';
        return kExitRefused;
    }
    StopSignals stop([] { QCoreApplication::exit(kExitRan); });
    QTimer::singleShot(0, [&watcher] { watcher.start(); });
    return QCoreApplication::exec();
}

} // namespace parvane::cli
