#pragma once

#include <functional>
#include <iosfwd>
#include <memory>

class QCoreApplication;
class QSocketNotifier;

namespace parvane::cli {

struct ScanArguments;

// parvane-scan --watch: runs the scan as `parsed` asks, then again after each change to the
// base's history and trend-line folders, once they have been quiet for --settle seconds; one run
// at a time, on the program's only thread. A base folder that goes away is waited for (its
// return is looked for every few seconds) and scanned again when it comes back; with --notify,
// one notification says each. Ends with 0 on SIGINT or SIGTERM between runs, with 128 + the
// signal when one cuts a run short, and with the status of a run refused for a reason that
// waiting does not mend (thresholds, --groups, --home).
int runWatch(const ScanArguments& parsed, std::ostream& out, std::ostream& err);

// SIGINT and SIGTERM while the object lives: the handler only notes the signal, and `onStop` runs
// in the event loop. A scan run meanwhile installs its own handlers and puts these back.
class StopSignals final
{
public:
    explicit StopSignals(std::function<void()> onStop);
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

private:
    std::function<void()> m_onStop;
    std::unique_ptr<QSocketNotifier> m_notifier;
    void (*m_previousInt)(int) = nullptr;
    void (*m_previousTerm)(int) = nullptr;
};

// The QCoreApplication that Qt's event loop and D-Bus need, for the life of the object, unless
// the program has one already.
class ApplicationScope final
{
public:
    ApplicationScope();
    ~ApplicationScope();
    ApplicationScope(const ApplicationScope&) = delete;
    ApplicationScope& operator=(const ApplicationScope&) = delete;

private:
    std::unique_ptr<QCoreApplication> m_application;
};

} // namespace parvane::cli
