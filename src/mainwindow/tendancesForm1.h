#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include <QWidget>

#include "core/scan/PathMapping.h"
#include "core/scan/ResultsOrder.h"
#include "core/scan/RunEnvironment.h"
#include "core/scan/ScanOptions.h"
#include "core/scan/Selection.h"
#include "core/scan/Settings.h"

class QCheckBox;
class QCloseEvent;
class QKeyEvent;
class QTreeWidget;
class QUrl;

namespace Ui {
class tendancesForm1;
}

namespace parvane::dialogs {
class MessageBoxes;
}

namespace parvane::scan {
struct BaseChooser;
}

namespace parvane::mainwindow {

struct StartOptions;

// The main window: the options and thresholds of a scan, the run command, the results list and
// the commands around it (bases, groups, Korvix, printing, help). It owns the in-memory settings,
// the active base, the run state and the program-wide group selection for the life of the
// program; the dialogs, the printer and the host layer reach them through the accessors below
// and are called through the hooks, which the program wires at start-up.
//
// Closing the window, or "FIN!", ends the program at once, also during a run: the run stops after
// the stock it is on, the result files are closed as they stand, then the quit handler runs.
class tendancesForm1 final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(tendancesForm1)

public:
    // `programFolder` holds zarbel.ini, errorlog.txt and help-parvane.htm; `messages` shows every
    // message box of the window and must outlive it. The controls take their start-up states.
    tendancesForm1(std::filesystem::path programFolder, dialogs::MessageBoxes& messages,
                   QWidget* parent = nullptr);
    ~tendancesForm1() override;

    // The start-up steps that follow the controls' states: deletes the previous error log, opens
    // the path dialog when the program folder has no zarbel.ini, loads the settings and sets up the
    // active base, then checks that Korvix's executable exists. Returns false after the message
    // "Korvix n'est pas a la position indiquee": the program then ends without showing the window.
    [[nodiscard]] bool startUp();

    // Hooks. Each runs on the window's thread; an unset hook makes its command do nothing.
    // The path dialog, shown modally at start-up and by "Base(s)"; it may rewrite zarbel.ini.
    void setPathDialog(std::function<void()> hook);
    // The group dialog, shown modally by "Selection Groupe(s) a scanner"; it writes selection()
    // and the window's caption.
    void setGroupDialog(std::function<void()> hook);
    // The print command (Command3), run when no scan is in progress.
    void setPrintCommand(std::function<void()> hook);
    // The Korvix command (Command4), run when no scan is in progress.
    void setKorvixCommand(std::function<void()> hook);
    // Opens a document or a "Mailto:" address with the desktop's program and returns false when
    // none could; by default QDesktopServices::openUrl. A failure is said in a message box.
    void setDocumentOpener(std::function<bool(const QUrl&)> opener);
    // Ends the program; by default QCoreApplication::quit.
    void setQuitHandler(std::function<void()> handler);
    // The clock and the regional forms of the runs; by default the system's locale.
    void setRunEnvironment(std::unique_ptr<scan::RunEnvironment> environment);

    // The start-up options of the command line: selects their base and group selection, sets the
    // boxes to their options, shows the results list and runs the scan; then, with showNew, marks
    // their new rows and ticks "Nouveaux seulement". The run shows its refusals as OK! does (a base
    // that has gone). Does nothing during a run.
    void applyStartOptions(const StartOptions& start);

    // Shows `text` in the status line (Label8), the full text also as its tooltip; an empty text
    // leaves the line as it is.
    void showStatus(const QString& text);

    const std::filesystem::path& programFolder() const { return m_programFolder; }

    // The settings as loaded at start-up; the bases as the last "Base(s)" command left them.
    const scan::Settings& settings() const { return m_settings; }

    // Where the Windows paths of the settings lead on this machine.
    const scan::PathEnvironment& pathEnvironment() const { return m_pathEnvironment; }

    // baseactive: the root of the active base, as the settings write it.
    const std::string& activeBase() const { return baseactive; }

    // baseactive mapped to a local folder; empty when no base is active.
    std::filesystem::path activeBaseFolder() const;

    // selbase: set by "Base(s)" before it opens the path dialog, never cleared.
    bool isBaseSelection() const { return selbase; }

    // The group selection (selectionactive, selectionfichiers), kept for the life of the program.
    scan::Selection& selection() { return m_selection; }

    const scan::Selection& selection() const { return m_selection; }

    // encours: a run is in progress.
    bool isRunning() const { return encours; }

    // True once the window has been closed (or "FIN!" clicked): the program is ending.
    bool isClosing() const { return m_closing; }

    // The options that the boxes say now, as a run reads them.
    scan::ScanOptions scanOptions() const;

    // The options of the last run that scanned: the rows of the list were found under them.
    const scan::ScanOptions& runOptions() const { return m_runOptions; }

    // The results list ListView1.
    QTreeWidget* resultsList() const;

    // Check1 "Selection Groupe": Korvix opens its group pre-selection.
    bool isGroupPreselection() const;

    // Option1 "Avec comm.": the comments window follows Korvix.
    bool isWithComments() const;

    void minimise();

    // The design sizes: the window at start and when the results are hidden, and the smallest
    // results frame and list.
    static constexpr int kNormalWidth = 260;
    static constexpr int kNormalHeight = 560;
    static constexpr int kFrameMinWidth = 537;
    static constexpr int kFrameMinHeight = 563;
    static constexpr int kListMinWidth = 519;
    static constexpr int kListMinHeight = 541;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setUpLook();
    void setInitialStates();
    void connectCaptions();
    void clearGroupSelection();
    void connectCommands();
    void applyChooser(const scan::BaseChooser& chooser);
    void applyResizeRule();
    void setScanBoxesEnabled(bool enabled);
    void showProximityControls(bool visible);
    void openDocument(const QUrl& url);
    void endProgram();

    void runCommand();
    void basesCommand();
    void groupCommand();
    void printCommand();
    void korvixCommand();
    void helpCommand();
    void contactCommand();
    void errorLogCommand();
    void chooseBase(int index);
    void proximityClicked(bool on);
    void crossingClicked(bool on);
    void volumeFilterClicked(bool on);
    void resultsClicked(bool on);
    void sortByColumn(int column);
    void markNewRows(const scan::BaseLayout& layout, const scan::ScanOptions& options, bool complete);
    void applyNewOnlyFilter();
    void showRowCount();

    std::unique_ptr<Ui::tendancesForm1> m_ui;
    std::filesystem::path m_programFolder;
    dialogs::MessageBoxes& m_messages;
    scan::PathEnvironment m_pathEnvironment;
    std::unique_ptr<scan::RunEnvironment> m_environment;
    scan::ScanOptions m_runOptions;

    scan::Settings m_settings;
    std::string baseactive;
    bool selbase = false;
    scan::Selection m_selection;
    bool encours = false;
    bool m_closing = false;
    bool m_quitRequested = false;
    // The rows of the list carry their mark "new since the previous run" (ResultItem::isNew).
    bool m_rowsMarked = false;
    // Where the window was before "voir Resultats" made it fill the screen.
    QPoint m_normalPosition;
    // The column that the list was sorted by last, and in which direction; -1 before any sort.
    int m_sortColumn = -1;
    scan::SortDirection m_sortDirection = scan::SortDirection::Ascending;

    std::function<void()> m_pathDialog;
    std::function<void()> m_groupDialog;
    std::function<void()> m_printCommand;
    std::function<void()> m_korvixCommand;
    std::function<bool(const QUrl&)> m_openDocument;
    // The captions that stand for their check boxes, by the widget that takes the click.
    std::map<const QObject*, QCheckBox*> m_captionBoxes;
    std::function<void()> m_quit;
};

} // namespace parvane::mainwindow
