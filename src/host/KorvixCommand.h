#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include "host/HostWindows.h"
#include "host/KorvixWindow.h"

class QWidget;

namespace parvane::host {

// A program to start without waiting for it.
struct DetachedStart
{
    QString program;
    QStringList arguments;
    QString workingDirectory;
    QProcessEnvironment environment; // empty: the program's own
};

struct StartOutcome
{
    bool started = false;
    qint64 pid = 0;
    QString error; // why the start failed, when it did
};

// Starts a program and returns at once.
using ProcessStarter = std::function<StartOutcome(const DetachedStart&)>;

// Starts through QProcess::startDetached.
ProcessStarter detachedProcessStarter();

// Shows a message to the user: a window title and a text.
using MessageReporter = std::function<void(const QString& title, const QString& text)>;

// A warning message box over `parent`.
MessageReporter messageBoxReporter(QWidget* parent);

// What the main window holds when its Korvix button is clicked.
struct KorvixCommandInputs
{
    bool encours = false;                // a scan runs
    bool Check1 = false;                 // "Selection Groupe": open the group pre-selection
    bool Option1 = false;                // "Avec comm.": follow Korvix with the comments strip
    std::string pathkvx;                 // Korvix's folder, as zarbel.ini holds it
    std::string baseactive;              // the active base, as zarbel.ini holds it
    std::filesystem::path programFolder; // made the current directory again after a start
};

// What the Korvix button does to the main window.
struct KorvixCommandHooks
{
    std::function<void()> minimiseMainWindow;
    std::function<void()> commentaires; // the comments strip's entry operation; returns when it ends
    MessageReporter report;
};

// The main window's Korvix button: switches to a running Korvix or starts it in the active base,
// optionally opens its group pre-selection (Alt+F, G) and optionally follows it with the comments
// strip. Keys go to Korvix's window only, once it is on the screen and holds the focus; otherwise
// nothing is typed and the user is told. A failure is reported in a message box titled "Parvane"
// and never ends the program.
class KorvixCommand final
{
public:
    // `host` must outlive the command. A started Korvix is given `windowWait` to show its window.
    explicit KorvixCommand(HostWindows& host, ProcessStarter starter = detachedProcessStarter(),
                           std::chrono::milliseconds windowWait = kKorvixWindowWait);

    // The click: does nothing while a scan runs, or while a Korvix started by an earlier click is
    // still awaited; otherwise minimises the main window, activates Korvix's window, idle or showing
    // a stock (typing Alt+F, G when Check1 is ticked), or starts Korvix, then runs the comments strip
    // when Option1 is selected.
    void click(const KorvixCommandInputs& inputs, const KorvixCommandHooks& hooks);

    // Starts Korvix's executable (through wine for a Windows executable, in the Wine prefix that maps
    // the drive letters) with the active base as its current directory, then makes the program folder
    // the current directory again. When Check1 is ticked, waits for Korvix's window with the event
    // loop running and types Alt+F, G into it. Returns false after reporting why when Korvix could
    // not be started.
    bool lancekorvix(const KorvixCommandInputs& inputs, const MessageReporter& report);

private:
    bool startKorvix(const KorvixCommandInputs& inputs, const std::filesystem::path& base,
                     const MessageReporter& report);
    void typeGroupPreselection(WindowId korvix, const MessageReporter& report);

    HostWindows& m_host;
    ProcessStarter m_starter;
    std::chrono::milliseconds m_windowWait;
    bool m_awaitingStart = false; // a started Korvix is awaited: another click must not start one more
};

} // namespace parvane::host
