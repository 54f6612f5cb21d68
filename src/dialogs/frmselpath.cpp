#include "dialogs/frmselpath.h"

#include <algorithm>
#include <system_error>

#include <QByteArray>
#include <QDir>
#include <QFile>

#include "core/evaluation/CommentFile.h"
#include "core/scan/IniFile.h"
#include "core/scan/KorvixExecutable.h"
#include "core/scan/PathSettings.h"
#include "core/scan/Settings.h"
#include "dialogs/DrivePicker.h"
#include "dialogs/FolderPicker.h"
#include "dialogs/MessageBoxes.h"
#include "qt/TextConversion.h"

#include "ui_frmselpath.h"

namespace parvane::dialogs {

namespace {

namespace fs = std::filesystem;

// The default Korvix install of a Windows machine, probed at first start.
constexpr const char* kKorvixProbe = "C:\\Program Files\\Korvix 2.0\\korvix.exe";
constexpr const char* kProgramFiles = "C:\\Program Files\\";

std::string pathText(const fs::path& path)
{
    return path.native();
}

void dropFinalSeparator(std::string& text)
{
    text = scan::withoutFinalSeparator(text);
}

fs::path homeFolder()
{
    std::error_code error;
    const fs::path home = fs::canonical(qt::toDiskPath(QDir::homePath()), error);
    if (error || !fs::is_directory(home, error))
        return fs::path("/");
    return home;
}

} // namespace

frmselpath::frmselpath(QWidget* parent, std::filesystem::path programFolder, bool selbase,
                       MessageBoxes& boxes, scan::PathEnvironment environment)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::frmselpath>())
    , m_programFolder(std::move(programFolder))
    , m_boxes(boxes)
    , m_environment(std::move(environment))
    , m_home(homeFolder())
{
    m_ui->setupUi(this);
    std::vector<Drive> drives = listDrives(m_environment);
    m_ui->Drive1->setDrives(drives);
    m_ui->Drive2->setDrives(std::move(drives));
    point(m_ui->Drive1, m_ui->Dir1, m_home, false);
    point(m_ui->Drive2, m_ui->Dir2, m_home, false);

    connect(m_ui->Dir1, &FolderPicker::folderChanged, this, &frmselpath::onDir1Change);
    connect(m_ui->Dir2, &FolderPicker::folderChanged, this, &frmselpath::onDir2Change);
    connect(m_ui->Drive1, &QComboBox::activated, this, &frmselpath::onDrive1Change);
    connect(m_ui->Drive2, &QComboBox::activated, this, &frmselpath::onDrive2Change);
    connect(m_ui->Option1, &QRadioButton::clicked, this, &frmselpath::onOption1Click);
    connect(m_ui->Option2, &QRadioButton::clicked, this, &frmselpath::onOption2Click);
    connect(m_ui->Option3, &QRadioButton::clicked, this, &frmselpath::onOption3Click);
    connect(m_ui->Check1, &QCheckBox::clicked, this, &frmselpath::affichebases);
    connect(m_ui->Command1, &QPushButton::clicked, this, &frmselpath::onCommand1Click);
    connect(m_ui->Command2, &QPushButton::clicked, this, &frmselpath::onCommand2Click);

    m_ui->Option1->setChecked(true);
    onOptionClick(1);
    m_ui->Check1->setChecked(selbase);
    affichebases();
    load();
}

frmselpath::~frmselpath() = default;

void frmselpath::load()
{
    const fs::path ini = iniFile();
    if (evaluation::ExistFile(ini)) {
        std::string exe = scan::lireini(scan::kSettingsSection, "exe", ini);
        if (!pointAtText(m_ui->Drive1, m_ui->Dir1, exe)) {
            dropFinalSeparator(exe);
            m_values.cheminexe = exe;
        }
        m_values.cheminbase1 = scan::lireini(scan::kSettingsSection, "base1", ini);
        m_values.cheminbase2 = scan::lireini(scan::kSettingsSection, "base2", ini);
        m_values.cheminbase3 = scan::lireini(scan::kSettingsSection, "base3", ini);
        pointAtText(m_ui->Drive2, m_ui->Dir2, m_values.cheminbase1);
        return;
    }

    fs::path folder = m_home;
    std::error_code error;
    const fs::path probe = scan::mapSettingsPath(kKorvixProbe, m_environment);
    const fs::path programFiles = scan::mapSettingsPath(kProgramFiles, m_environment);
    if (evaluation::ExistFile(probe))
        folder = probe.parent_path();
    else if (fs::is_directory(programFiles, error))
        folder = programFiles;
    point(m_ui->Drive1, m_ui->Dir1, folder, true);
    point(m_ui->Drive2, m_ui->Dir2, folder, true);
    m_values.cheminexe = pathText(m_ui->Dir1->folder());
    m_values.cheminbase1 = pathText(m_ui->Dir2->folder());
    m_values.cheminbase2.clear();
    m_values.cheminbase3.clear();
}

void frmselpath::onDir1Change()
{
    m_values.cheminexe = pathText(m_ui->Dir1->folder());
    // In the compact form Korvix's folder is also the base.
    if (!m_ui->Check1->isChecked())
        m_values.cheminbase1 = m_values.cheminexe;
}

void frmselpath::onDir2Change()
{
    selectedBase() = pathText(m_ui->Dir2->folder());
    // Choosing a drive root is how the user removes base 2 or base 3; base 1 always stays.
    if (isDriveRootText(m_values.cheminbase2))
        m_values.cheminbase2.clear();
    if (isDriveRootText(m_values.cheminbase3))
        m_values.cheminbase3.clear();
}

void frmselpath::onDrive1Change(int index)
{
    moveToDrive(m_ui->Drive1, m_ui->Dir1, index);
}

void frmselpath::onDrive2Change(int index)
{
    moveToDrive(m_ui->Drive2, m_ui->Dir2, index);
}

void frmselpath::onOption1Click()
{
    onOptionClick(1);
}

void frmselpath::onOption2Click()
{
    onOptionClick(2);
}

void frmselpath::onOption3Click()
{
    onOptionClick(3);
}

void frmselpath::onOptionClick(int option)
{
    m_option = option;
    const std::string value = selectedBase();
    if (!value.empty()) {
        pointAtText(m_ui->Drive2, m_ui->Dir2, value);
        return;
    }
    int drive = m_ui->Drive2->driveIndexForLabel(QStringLiteral("c:"));
    if (drive < 0)
        drive = m_ui->Drive2->driveIndexForLabel(QStringLiteral("/"));
    moveToDrive(m_ui->Drive2, m_ui->Dir2, drive);
}

void frmselpath::affichebases()
{
    const bool wide = m_ui->Check1->isChecked();
    for (QWidget* widget : {static_cast<QWidget*>(m_ui->Frame2), static_cast<QWidget*>(m_ui->Label2),
                            static_cast<QWidget*>(m_ui->Line1), static_cast<QWidget*>(m_ui->Drive2),
                            static_cast<QWidget*>(m_ui->Dir2), m_ui->rightPane})
        widget->setVisible(wide);
    layout()->activate();
    // A font wider than the one the form was drawn for must not cut the left pane.
    const int width = std::max(wide ? kWideWidth : kCompactWidth, minimumSizeHint().width());
    setFixedWidth(width);
}

void frmselpath::onCommand1Click()
{
    const QString text = QStringLiteral("Korvix: ") + qt::fromDiskName(m_values.cheminexe)
                         + QStringLiteral("\nBase1: ") + qt::fromDiskName(m_values.cheminbase1)
                         + QStringLiteral("\nbase2: ") + qt::fromDiskName(m_values.cheminbase2)
                         + QStringLiteral("\nbase3: ") + qt::fromDiskName(m_values.cheminbase3)
                         + QStringLiteral("\nVerifiez la validite des selections."
                                          "\nDans la majorite des cas, seule Base1 est renseignee");
    if (!m_boxes.confirm(this, QStringLiteral("Parvane - Chemins"), text))
        return;
    if (!hasKorvix(m_values.cheminexe)) {
        showKorvixMissing();
        return;
    }
    if (!ecritini()) {
        m_boxes.information(this, QStringLiteral("Parvane"),
                            QStringLiteral("Le fichier Zarbel.ini n'a pas pu etre ecrit:\n")
                                + qt::fromDiskPath(iniFile()));
        return;
    }
    accept();
}

void frmselpath::onCommand2Click()
{
    // Annuler tests the folder that the file names, not the one the picker shows, and keeps the
    // picker's value for a later OK!.
    const std::string stored = scan::lireini(scan::kSettingsSection, "exe", iniFile());
    if (stored.empty()) {
        m_boxes.information(this, QStringLiteral("Parvane"),
                            QStringLiteral("Vous devez renseigner la position de Korvix"));
        return;
    }
    if (hasKorvix(stored)) {
        reject();
        return;
    }
    showKorvixMissing();
}

bool frmselpath::ecritini()
{
    dropFinalSeparator(m_values.cheminbase1);
    dropFinalSeparator(m_values.cheminbase2);
    dropFinalSeparator(m_values.cheminbase3);

    const std::string exe = scan::exeText(m_values.cheminexe);

    const fs::path ini = iniFile();
    const char* section = scan::kSettingsSection;
    bool written = scan::ecrireini(section, "exe", exe, ini);
    written = scan::ecrireini(section, "droite", scan::kDroiteText, ini) && written;
    written = scan::ecrireini(section, "histo", scan::kHistoText, ini) && written;
    written = scan::ecrireini(section, "base1", m_values.cheminbase1, ini) && written;
    written = scan::ecrireini(section, "base2", m_values.cheminbase2, ini) && written;
    written = scan::ecrireini(section, "base3", m_values.cheminbase3, ini) && written;
    return written;
}

bool frmselpath::point(DrivePicker* drive, FolderPicker* dir, const std::filesystem::path& folder,
                       bool notify)
{
    std::error_code error;
    const fs::path canonical = fs::canonical(folder, error);
    if (error || !fs::is_directory(canonical, error))
        return false;
    const int index = drive->driveIndexFor(canonical);
    if (index < 0)
        return false;
    const Drive& target = drive->drives()[static_cast<std::size_t>(index)];
    const bool shown = notify ? dir->setFolder(target.root, target.label, canonical)
                              : dir->showFolder(target.root, target.label, canonical);
    if (shown)
        drive->setCurrentIndex(index);
    return shown;
}

bool frmselpath::pointAtText(DrivePicker* drive, FolderPicker* dir, const std::string& text)
{
    if (!text.empty() && point(drive, dir, localFolder(text), true))
        return true;
    point(drive, dir, m_home, false);
    return false;
}

void frmselpath::moveToDrive(DrivePicker* drive, FolderPicker* dir, int index)
{
    if (index >= 0 && static_cast<std::size_t>(index) < drive->drives().size()) {
        const Drive& target = drive->drives()[static_cast<std::size_t>(index)];
        if (dir->setFolder(target.root, target.label, target.root)) {
            drive->setCurrentIndex(index);
            return;
        }
    }
    drive->setCurrentIndex(drive->driveIndexForLabel(dir->rootLabel()));
}

std::filesystem::path frmselpath::localFolder(const std::string& text) const
{
    if (scan::isLinuxPathText(text))
        return fs::path(text);
    return scan::mapSettingsPath(text, m_environment);
}

bool frmselpath::isDriveRootText(const std::string& text) const
{
    if (text.empty())
        return false;
    if (scan::isWindowsDriveRoot(text))
        return true;
    std::error_code error;
    const fs::path canonical = fs::canonical(localFolder(text), error);
    return !error && m_ui->Drive2->isDriveRoot(canonical);
}

bool frmselpath::hasKorvix(const std::string& folderText) const
{
    if (folderText.empty())
        return false;
    return scan::findKorvixExecutable(localFolder(folderText)).has_value();
}

std::filesystem::path frmselpath::iniFile() const
{
    return m_programFolder / scan::kSettingsFileName;
}

std::string& frmselpath::selectedBase()
{
    switch (m_option) {
    case 2:
        return m_values.cheminbase2;
    case 3:
        return m_values.cheminbase3;
    default:
        return m_values.cheminbase1;
    }
}

void frmselpath::showKorvixMissing()
{
    m_boxes.information(
        this, QStringLiteral("Parvane"),
        QStringLiteral("Korvix n'est pas a la position indiquee\ndans le fichier Zarbel.ini"));
}

} // namespace parvane::dialogs
