#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <iosfwd>

#include <QObject>
#include <QStringList>

namespace parvane::cli {

struct RunReport;
struct ScanArguments;

// The command line of the window that shows the new rows of a run: the program folder, the base,
// the options that choose the rows, then "--show-new" and the new rows themselves, each a
// "--new-row" and its hit as the kept rows name it (scan::hitText: kind, unit and stock file).
// Past kMaxNewRowArguments new rows, neither: the window shows every row of the run.
QStringList windowArguments(const ScanArguments& parsed, const RunReport& report);

inline constexpr std::size_t kMaxNewRowArguments = 200;

// The clicks on the notifications of new rows. A click (the server's ActionInvoked signal with
// the default action) starts the window, `parvane` beside this program or else on the PATH, with
// windowArguments(): as a list of arguments, never through a shell. Nothing is started when the
// base folder has gone. Needs a QCoreApplication; lives on its thread.
class NotificationClicks final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NotificationClicks)

public:
    // What goes wrong is said on `err`, which must outlive the object.
    explicit NotificationClicks(std::ostream& err);
    ~NotificationClicks() override;

    // Opens the window on `report`'s new rows when its notification is clicked. The last
    // kRemembered notifications are kept; older ones open nothing.
    void add(const ScanArguments& parsed, const RunReport& report);

    static constexpr std::size_t kRemembered = 16;

Q_SIGNALS:
    // A notification added was clicked or closed.
    void settled();

private Q_SLOTS:
    void actionInvoked(uint id, const QString& action);
    void notificationClosed(uint id, uint reason);

private:
    struct Pending
    {
        std::uint32_t id = 0;
        std::filesystem::path baseFolder;
        QStringList arguments;
    };

    std::ostream& m_err;
    std::deque<Pending> m_pending;
};

// A plain run with --notify: the run, then, when its notification offers to open the new rows,
// the wait for a click, kClickWaitSeconds at most, or until the notification is closed or the
// program is asked to stop (SIGINT, SIGTERM). Returns the run's exit status.
int runAndAwaitClick(const ScanArguments& parsed, std::ostream& out, std::ostream& err);

inline constexpr int kClickWaitSeconds = 300;

} // namespace parvane::cli
