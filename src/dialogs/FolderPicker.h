#pragma once

#include <filesystem>

#include <QString>
#include <QTreeWidget>

namespace parvane::dialogs {

// The folder picker of the path dialog (Dir1, Dir2): the folder tree of one drive, its root at
// the top. The selected folder is the picker's folder; subfolders are listed when their parent
// is opened, hidden folders ("." names) left out. folderChanged() tells every change of the
// folder, made by the user or by setFolder().
class FolderPicker final : public QTreeWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FolderPicker)

public:
    explicit FolderPicker(QWidget* parent = nullptr);

    // Shows `folder` in the tree of the drive whose root is `root` (labelled `rootLabel`); both
    // paths without symbolic links, `folder` an existing folder under `root`. Emits
    // folderChanged(). Returns false, and changes nothing, for any other folder.
    bool setFolder(const std::filesystem::path& root, const QString& rootLabel,
                   const std::filesystem::path& folder);

    // The same without folderChanged(): the picker shows a folder that is nobody's value.
    bool showFolder(const std::filesystem::path& root, const QString& rootLabel,
                    const std::filesystem::path& folder);

    // The selected folder; empty before the first setFolder() or showFolder().
    const std::filesystem::path& folder() const { return m_folder; }

    const std::filesystem::path& root() const { return m_root; }

    const QString& rootLabel() const { return m_rootLabel; }

Q_SIGNALS:
    void folderChanged();

private:
    void onCurrentItemChanged(QTreeWidgetItem* current);
    void populate(QTreeWidgetItem* item);
    QTreeWidgetItem* addFolderItem(QTreeWidgetItem* parent, const std::filesystem::path& folder);

    std::filesystem::path m_root;
    QString m_rootLabel;
    std::filesystem::path m_folder;
    bool m_quiet = false;
};

} // namespace parvane::dialogs
