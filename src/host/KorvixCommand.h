#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include <QString>
#include <QStringList>

#include "host/HostWindows.h"

class QWidget;

namespace parvane::host {

// A program to start without waiting for it.
struct DetachedStart
{
    QString program;
    QStringList arguments;
    QString workingDirectory;
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
// strip. A failure is reported in a message box titled "Parvane" and never ends the program.
class KorvixCommand final
{
public:
    // `host` must outlive the command.
    explicit KorvixCommand(HostWindows& host, ProcessStarter starter = detachedProcessStarter());

    // The click: does nothing while a scan runs; otherwise minimises the main window, activates
    // the window captioned exactly "Korvix" (typing Alt+F, G when Check1 is ticked) or starts
    // Korvix, then runs the comments strip when Option1 is selected.
    void click(const KorvixCommandInputs& inputs, const KorvixCommandHooks& hooks);

    // Starts pathkvx + "korvix.exe" (through wine for a Windows executable) with the active base as
    // its current directory and the process's, without waiting; types Alt+F, G at once when Check1
    // is ticked; makes the program folder the current directory again in every case. Returns false
    // after reporting why when Korvix could not be started.
    bool lancekorvix(const KorvixCommandInputs& inputs, const MessageReporter& report);

private:
    bool startKorvix(const KorvixCommandInputs& inputs, const std::filesystem::path& base,
                     const MessageReporter& report);
    void typeGroupPreselection();

    HostWindows& m_host;
    ProcessStarter m_starter;
};

} // namespace parvane::host
