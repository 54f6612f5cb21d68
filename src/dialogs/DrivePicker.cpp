#include "dialogs/DrivePicker.h"

#include <algorithm>
#include <system_error>

#include <QFile>

#include "qt/TextConversion.h"

namespace parvane::dialogs {

namespace {

namespace fs = std::filesystem;

bool isDriveLetterName(const std::string& name)
{
    return name.size() == 2 && name[1] == ':'
           && ((name[0] >= 'a' && name[0] <= 'z') || (name[0] >= 'A' && name[0] <= 'Z'));
}

char lowerLetter(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// True when every component of `root` begins `folder`.
bool holds(const fs::path& root, const fs::path& folder)
{
    const auto [rootEnd, folderEnd] = std::mismatch(root.begin(), root.end(), folder.begin(), folder.end());
    (void)folderEnd;
    return rootEnd == root.end();
}

std::size_t componentCount(const fs::path& path)
{
    return static_cast<std::size_t>(std::distance(path.begin(), path.end()));
}

} // namespace

std::vector<Drive> listDrives(const scan::PathEnvironment& environment)
{
    std::vector<std::pair<char, fs::path>> letters;
    std::error_code error;
    const fs::path dosdevices = environment.winePrefix / "dosdevices";
    for (fs::directory_iterator it(dosdevices, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (!isDriveLetterName(name))
            continue;
        // A drive whose folder is missing (a CD drive without its disc) is listed all the same:
        // choosing it fails and leaves the folder picker where it was.
        std::error_code entryError;
        fs::path root = fs::canonical(it->path(), entryError);
        if (entryError)
            root = it->path();
        const char letter = lowerLetter(name[0]);
        if (std::none_of(letters.begin(), letters.end(),
                         [letter](const auto& l) { return l.first == letter; }))
            letters.emplace_back(letter, root);
    }
    if (std::none_of(letters.begin(), letters.end(), [](const auto& l) { return l.first == 'c'; })) {
        std::error_code cError;
        const fs::path driveC = fs::canonical(environment.winePrefix / "drive_c", cError);
        if (!cError && fs::is_directory(driveC, cError))
            letters.emplace_back('c', driveC);
    }
    std::sort(letters.begin(), letters.end(), [](const auto& a, const auto& b) { return a.first < b.first; });

    std::vector<Drive> drives;
    for (const auto& [letter, root] : letters)
        drives.push_back(Drive{QString(QLatin1Char(letter)) + QLatin1Char(':'), root});
    drives.push_back(Drive{QStringLiteral("/"), fs::path("/")});
    return drives;
}

DrivePicker::DrivePicker(QWidget* parent)
    : QComboBox(parent)
{
    setSizeAdjustPolicy(QComboBox::AdjustToContents);
}

void DrivePicker::setDrives(std::vector<Drive> drives)
{
    m_drives = std::move(drives);
    clear();
    for (const Drive& drive : m_drives) {
        addItem(drive.label);
        setItemData(count() - 1, qt::fromDiskPath(drive.root), Qt::ToolTipRole);
    }
}

int DrivePicker::driveIndexFor(const std::filesystem::path& folder) const
{
    int best = -1;
    std::size_t bestLength = 0;
    for (std::size_t i = 0; i < m_drives.size(); ++i) {
        const Drive& drive = m_drives[i];
        if (!holds(drive.root, folder))
            continue;
        const std::size_t length = componentCount(drive.root);
        const bool isSlash = drive.label == QStringLiteral("/");
        if (best < 0 || length > bestLength || (length == bestLength && isSlash)) {
            best = static_cast<int>(i);
            bestLength = length;
        }
    }
    return best;
}

int DrivePicker::driveIndexForLabel(const QString& label) const
{
    for (std::size_t i = 0; i < m_drives.size(); ++i) {
        if (m_drives[i].label.compare(label, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

bool DrivePicker::isDriveRoot(const std::filesystem::path& folder) const
{
    return std::any_of(m_drives.begin(), m_drives.end(),
                       [&folder](const Drive& drive) { return drive.root == folder; });
}

} // namespace parvane::dialogs
