#include "dialogs/frmselgroupe.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include <QByteArray>
#include <QProgressBar>
#include <QTreeWidgetItem>

#include "core/scan/GroupSelection.h"
#include "core/scan/Selection.h"
#include "dialogs/ColumnSizing.h"
#include "qt/TextConversion.h"

#include "ui_frmselgroupe.h"

namespace parvane::dialogs {

namespace {

// The main window's caption when no group is chosen.
const QString kMainCaption = QStringLiteral("Parvane");

// The group name as found on disk (Windows-1252 bytes), kept beside the decoded text shown.
constexpr int kGroupNameRole = Qt::UserRole;

// The progress bar counts in tenths, so that its fractional start (0.1) shows as such.
constexpr double kProgressScale = 10.0;

int progressSteps(double value)
{
    return static_cast<int>(std::lround(value * kProgressScale));
}

// A group is named after its file: a name from the disk.
QString displayName(const std::string& name)
{
    return qt::fromDiskName(name);
}

} // namespace

frmselgroupe::frmselgroupe(QWidget* parent, scan::BaseLayout layout, scan::Selection& selection,
                           QWidget* captionWindow, MessageBoxes& /*boxes*/)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::frmselgroupe>())
    , m_layout(std::move(layout))
    , m_selection(selection)
    , m_captionWindow(captionWindow)
{
    m_ui->setupUi(this);
    connect(m_ui->Command1, &QPushButton::clicked, this, &frmselgroupe::onCommand1Click);
    connect(m_ui->Command2, &QPushButton::clicked, this, &frmselgroupe::onCommand2Click);

    m_ui->lv2->clear();
    m_ui->lv2->setColumnCount(1);
    m_ui->lv2->setHeaderLabels(QStringList(QStringLiteral("groupes")));
    remplitliste(scan::listegroupes(m_layout));
}

frmselgroupe::~frmselgroupe() = default;

void frmselgroupe::remplitliste(const std::vector<std::string>& groups)
{
    for (const std::string& group : groups) {
        auto* item = new QTreeWidgetItem(m_ui->lv2, QStringList(displayName(group)));
        item->setData(0, kGroupNameRole, QByteArray::fromStdString(group));
        item->setFlags((item->flags() | Qt::ItemIsUserCheckable) & ~Qt::ItemIsAutoTristate);
        item->setCheckState(0, Qt::Unchecked);
    }
    ajustecolonnes(m_ui->lv2, this);
}

void frmselgroupe::onCommand1Click()
{
    std::vector<std::string> ticked;
    for (int row = 0; row < m_ui->lv2->topLevelItemCount(); ++row) {
        const QTreeWidgetItem* item = m_ui->lv2->topLevelItem(row);
        if (item->checkState(0) == Qt::Checked)
            ticked.push_back(item->data(0, kGroupNameRole).toByteArray().toStdString());
    }
    if (ticked.empty()) {
        clearSelection();
        accept();
        return;
    }

    QProgressBar* bar = m_ui->ProgressBar1;
    scan::SelectionProgress progress;
    progress.range = [bar](double maximum) { bar->setRange(0, progressSteps(maximum)); };
    progress.value = [bar](double value) { bar->setValue(std::min(progressSteps(value), bar->maximum())); };
    progress.groupStarted = [this](const std::string& groupName) { appendToCaption(groupName); };
    scan::Selection found = scan::buildSelection(m_layout, ticked, progress);
    found.groups = std::move(ticked);
    if (found.active)
        m_selection = std::move(found);
    else
        clearSelection();
    accept();
}

void frmselgroupe::onCommand2Click()
{
    clearSelection();
    reject();
}

void frmselgroupe::clearSelection()
{
    // The list itself stays: only the flag says whether it is used.
    m_selection.active = false;
    if (m_captionWindow != nullptr)
        m_captionWindow->setWindowTitle(kMainCaption);
}

void frmselgroupe::appendToCaption(const std::string& groupName)
{
    if (m_captionWindow != nullptr)
        m_captionWindow->setWindowTitle(m_captionWindow->windowTitle() + QLatin1Char('-')
                                        + displayName(groupName));
}

} // namespace parvane::dialogs
