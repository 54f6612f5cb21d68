#pragma once

#include <memory>
#include <string>
#include <vector>

#include <QDialog>

#include "core/scan/PathMapping.h"

class QTreeWidgetItem;

namespace Ui {
class frmselgroupe;
}

namespace parvane::scan {
struct Selection;
}

namespace parvane::dialogs {

class MessageBoxes;

// The group dialog: lists the group files of the active base with a check box each. OK! turns
// the ticked groups into the selection of trend-line files that the next runs scan, and shows
// the chosen group names in the main window's caption ("Parvane-GROUPEA-GROUPEB"); Annuler drops
// the selection, so that runs scan every stock again. Closing the window by its frame changes
// nothing. Run it with exec().
class frmselgroupe final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmselgroupe)

public:
    // `layout` is the active base; `selection` and `captionWindow` (the main window, whose
    // caption shows the choice) must outlive the dialog. The dialog shows no message box of its
    // own: `boxes` is the program's, taken like every window's.
    frmselgroupe(QWidget* parent, scan::BaseLayout layout, scan::Selection& selection, QWidget* captionWindow,
                 MessageBoxes& boxes);
    ~frmselgroupe() override;

private:
    void remplitliste(const std::vector<std::string>& groups);
    void onCommand1Click();
    void onCommand2Click();
    void clearSelection();
    void appendToCaption(const std::string& groupName);

    std::unique_ptr<Ui::frmselgroupe> m_ui;
    scan::BaseLayout m_layout;
    scan::Selection& m_selection;
    QWidget* m_captionWindow;
};

} // namespace parvane::dialogs
