#pragma once

#include <filesystem>
#include <memory>

#include <QObject>

namespace parvane::dialogs {
class MessageBoxes;
}

namespace parvane::print {
class CPrintListView;
}

namespace parvane::mainwindow {

class tendancesForm1;

// The program as a whole: the main window with its printer, its dialogs and its Korvix command
// wired to it. It is what main() starts, and what the tests start when they want the whole.
class ParvaneProgram final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ParvaneProgram)

public:
    // `messages` shows every message box of the program and must outlive it.
    ParvaneProgram(std::filesystem::path programFolder, dialogs::MessageBoxes& messages);
    ~ParvaneProgram() override;

    // The start-up steps of the main window. Returns false when the program is to end without
    // showing it (Korvix is not where the settings say).
    [[nodiscard]] bool startUp();

    tendancesForm1& window() { return *m_window; }

    print::CPrintListView& printer() { return *m_printer; }

private:
    void wireDialogs();
    void wirePrinter();
    void wireKorvix();

    std::filesystem::path m_programFolder;
    dialogs::MessageBoxes& m_messages;
    std::unique_ptr<tendancesForm1> m_window;
    std::unique_ptr<print::CPrintListView> m_printer;
};

} // namespace parvane::mainwindow
