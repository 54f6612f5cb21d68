#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include <QDialog>

#include "core/scan/PathMapping.h"

namespace Ui {
class frmselpath;
}

namespace parvane::dialogs {

class DrivePicker;
class FolderPicker;
class MessageBoxes;

// The path dialog: where Korvix is installed and where its bases are (up to three). OK! writes
// them to section "path" of <program folder>/zarbel.ini once Korvix's executable has been found
// in the chosen folder; Annuler leaves only when that file already names a valid Korvix folder.
// Closing the window by its frame leaves without any check or write. Run it with exec(); the
// caller reads the settings file again afterwards.
//
// Folders chosen in the pickers are held and written as Linux paths ("/" separators, symbolic
// links resolved); values read from the file, Windows texts included, stay as read until the
// user changes the picker concerned.
class frmselpath final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmselpath)

public:
    // `programFolder` holds zarbel.ini; `selbase` opens the wide form with the base pane (the
    // "Base(s)" command); `boxes` must outlive the dialog.
    frmselpath(QWidget* parent, std::filesystem::path programFolder, bool selbase, MessageBoxes& boxes,
               scan::PathEnvironment environment);
    ~frmselpath() override;

    // The values held while the dialog is open, in the file's byte form.
    struct Values
    {
        std::string cheminexe;   // Korvix's folder, without a final separator
        std::string cheminbase1; // base 1
        std::string cheminbase2; // base 2, empty when there is none
        std::string cheminbase3; // base 3, empty when there is none
    };

    const Values& values() const { return m_values; }

    // The compact and wide widths, in pixels.
    static constexpr int kCompactWidth = 265;
    static constexpr int kWideWidth = 560;

private:
    void load();
    void onDir1Change();
    void onDir2Change();
    void onDrive1Change(int index);
    void onDrive2Change(int index);
    void onOption1Click();
    void onOption2Click();
    void onOption3Click();
    void onOptionClick(int option);
    void affichebases();
    void onCommand1Click();
    void onCommand2Click();
    [[nodiscard]] bool ecritini();

    // Shows `folder` in a drive and folder picker pair; `notify` runs the folder picker's change
    // rule. False, and nothing changes, when `folder` is not an existing folder.
    bool point(DrivePicker* drive, FolderPicker* dir, const std::filesystem::path& folder, bool notify);
    // Points the pickers at the folder named by the settings text `text` and returns true; a
    // missing or empty folder shows the home folder without touching any value (false).
    bool pointAtText(DrivePicker* drive, FolderPicker* dir, const std::string& text);
    // Moves a folder picker to the root of drive `index`; a drive that cannot be shown leaves
    // the folder picker where it was and the drive picker on its drive.
    void moveToDrive(DrivePicker* drive, FolderPicker* dir, int index);
    std::filesystem::path localFolder(const std::string& text) const;
    bool isDriveRootText(const std::string& text) const;
    bool hasKorvix(const std::string& folderText) const;
    std::filesystem::path iniFile() const;
    std::string& selectedBase();
    void showKorvixMissing();

    std::unique_ptr<Ui::frmselpath> m_ui;
    std::filesystem::path m_programFolder;
    MessageBoxes& m_boxes;
    scan::PathEnvironment m_environment;
    std::filesystem::path m_home;
    int m_option = 1;
    Values m_values;
};

} // namespace parvane::dialogs
