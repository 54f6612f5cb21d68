#pragma once

#include <filesystem>
#include <vector>

#include <QComboBox>
#include <QString>

#include "core/scan/PathMapping.h"

namespace parvane::dialogs {

// One drive of the drive pickers: a drive letter of the Wine prefix ("c:") or the root "/" of
// the Linux file system.
struct Drive
{
    QString label;              // "c:", "d:", ... or "/"
    std::filesystem::path root; // the folder the drive leads to, symbolic links resolved when it exists
};

// The drives that a user can pick: the drive letters of the Wine prefix (its dosdevices/<x>:
// entries, or its drive_c folder as "c:" when that entry is missing), in letter order, then "/".
std::vector<Drive> listDrives(const scan::PathEnvironment& environment);

// The drive picker of the path dialog (Drive1, Drive2). The user's choice is reported by
// QComboBox::activated; setting the current drive from code reports nothing.
class DrivePicker final : public QComboBox
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DrivePicker)

public:
    explicit DrivePicker(QWidget* parent = nullptr);

    void setDrives(std::vector<Drive> drives);

    const std::vector<Drive>& drives() const { return m_drives; }

    // The index of the drive whose root holds `folder` (a path without symbolic links): the one
    // with the longest root, "/" winning a tie with a letter that leads to the same folder; -1
    // when none does.
    int driveIndexFor(const std::filesystem::path& folder) const;

    // The index of the drive labelled `label` ("c:"), -1 when there is none.
    int driveIndexForLabel(const QString& label) const;

    // True when `folder` is the root of one of the drives.
    bool isDriveRoot(const std::filesystem::path& folder) const;

private:
    std::vector<Drive> m_drives;
};

} // namespace parvane::dialogs
