#include "dialogs/FolderPicker.h"

#include <algorithm>
#include <system_error>
#include <vector>

#include <QByteArray>
#include <QFile>
#include <QHeaderView>
#include <QStyle>

#include "qt/TextConversion.h"

namespace parvane::dialogs {

namespace {

namespace fs = std::filesystem;

constexpr int kPathRole = Qt::UserRole;
constexpr int kPopulatedRole = Qt::UserRole + 1;

QByteArray pathBytes(const fs::path& path)
{
    return QByteArray::fromStdString(path.native());
}

fs::path itemPath(const QTreeWidgetItem* item)
{
    return fs::path(item->data(0, kPathRole).toByteArray().toStdString());
}

bool holds(const fs::path& root, const fs::path& folder)
{
    const auto mismatch = std::mismatch(root.begin(), root.end(), folder.begin(), folder.end());
    return mismatch.first == root.end();
}

} // namespace

FolderPicker::FolderPicker(QWidget* parent)
    : QTreeWidget(parent)
{
    setColumnCount(1);
    setHeaderHidden(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformRowHeights(true);
    header()->setStretchLastSection(true);
    connect(this, &QTreeWidget::currentItemChanged, this, &FolderPicker::onCurrentItemChanged);
    connect(this, &QTreeWidget::itemExpanded, this, &FolderPicker::populate);
}

bool FolderPicker::setFolder(const std::filesystem::path& root, const QString& rootLabel,
                             const std::filesystem::path& folder)
{
    if (!showFolder(root, rootLabel, folder))
        return false;
    Q_EMIT folderChanged();
    return true;
}

bool FolderPicker::showFolder(const std::filesystem::path& root, const QString& rootLabel,
                              const std::filesystem::path& folder)
{
    std::error_code error;
    if (!fs::is_directory(folder, error) || !holds(root, folder))
        return false;

    m_quiet = true;
    if (topLevelItemCount() == 0 || root != m_root || rootLabel != m_rootLabel) {
        clear();
        m_root = root;
        m_rootLabel = rootLabel;
        auto* top = new QTreeWidgetItem(this, QStringList(rootLabel));
        top->setData(0, kPathRole, pathBytes(root));
        top->setIcon(0, style()->standardIcon(QStyle::SP_DriveHDIcon));
        top->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    }
    QTreeWidgetItem* item = topLevelItem(0);
    fs::path at = root;
    for (const fs::path& part : folder.lexically_relative(root)) {
        if (part.empty() || part == ".")
            continue;
        populate(item);
        item->setExpanded(true);
        at /= part;
        QTreeWidgetItem* child = nullptr;
        for (int i = 0; i < item->childCount() && child == nullptr; ++i) {
            if (itemPath(item->child(i)) == at)
                child = item->child(i);
        }
        // A hidden folder, or one that could not be listed, still gets its place on the way.
        item = child != nullptr ? child : addFolderItem(item, at);
    }
    setCurrentItem(item);
    scrollToItem(item);
    m_folder = itemPath(item);
    m_quiet = false;
    return true;
}

void FolderPicker::onCurrentItemChanged(QTreeWidgetItem* current)
{
    if (m_quiet || current == nullptr)
        return;
    fs::path folder = itemPath(current);
    if (folder == m_folder)
        return;
    m_folder = std::move(folder);
    Q_EMIT folderChanged();
}

void FolderPicker::populate(QTreeWidgetItem* item)
{
    if (item->data(0, kPopulatedRole).toBool())
        return;
    item->setData(0, kPopulatedRole, true);

    const fs::path folder = itemPath(item);
    std::vector<fs::path> subfolders;
    std::error_code error;
    for (fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, error), end;
         !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().native();
        if (name.empty() || name.front() == '.')
            continue;
        std::error_code entryError;
        if (it->is_directory(entryError))
            subfolders.push_back(it->path());
    }
    std::vector<std::pair<QString, fs::path>> named;
    named.reserve(subfolders.size());
    for (fs::path& subfolder : subfolders)
        named.emplace_back(qt::fromDiskPath(subfolder.filename()), std::move(subfolder));
    std::sort(named.begin(), named.end(), [](const auto& a, const auto& b) {
        const int folded = a.first.compare(b.first, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a.first < b.first;
    });
    for (const auto& entry : named)
        addFolderItem(item, entry.second);
    item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

QTreeWidgetItem* FolderPicker::addFolderItem(QTreeWidgetItem* parent, const std::filesystem::path& folder)
{
    auto* item = new QTreeWidgetItem(parent, QStringList(qt::fromDiskPath(folder.filename())));
    item->setData(0, kPathRole, pathBytes(folder));
    item->setIcon(0, style()->standardIcon(QStyle::SP_DirIcon));
    // Whether it has subfolders is known once it is opened.
    item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    return item;
}

} // namespace parvane::dialogs
