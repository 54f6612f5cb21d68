#pragma once

#include <filesystem>
#include <memory>

#include <QObject>

#include "host/HostWindows.h"

namespace parvane::dialogs {
class MessageBoxes;
}

namespace parvane::host {
class KorvixCommand;
class formcomm1;
} // namespace parvane::host

namespace parvane::print {
class CPrintListView;
}

namespace parvane::mainwindow {

class ChartWindow;
class tendancesForm1;

// The program as a whole: the main window with its printer, its dialogs and its Korvix command
// wired to it. It is what main() starts, and what the tests start when they want the whole.
class ParvaneProgram final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ParvaneProgram)

public:
    // `messages` shows every message box of the program and must outlive it. `host` reaches
    // Korvix's windows; by default the desktop's (X11).
    ParvaneProgram(std::filesystem::path programFolder, dialogs::MessageBoxes& messages,
                   std::unique_ptr<host::HostWindows> host = {});
    ~ParvaneProgram() override;

    // The start-up steps of the main window. Returns false when the program is to end without
    // showing it (Korvix is not where the settings say).
    [[nodiscard]] bool startUp();

    tendancesForm1& window() { return *m_window; }

    print::CPrintListView& printer() { return *m_printer; }

    host::formcomm1& commentsWindow() { return *m_comments; }

    ChartWindow& chartWindow() { return *m_chart; }

private:
    void wireDialogs();
    void wirePrinter();
    void wireKorvix();

    std::filesystem::path m_programFolder;
    dialogs::MessageBoxes& m_messages;
    std::unique_ptr<tendancesForm1> m_window;
    std::unique_ptr<print::CPrintListView> m_printer;
    std::unique_ptr<host::HostWindows> m_host;
    std::unique_ptr<host::KorvixCommand> m_korvix;
    std::unique_ptr<host::formcomm1> m_comments;
    std::unique_ptr<ChartWindow> m_chart;
};

} // namespace parvane::mainwindow
