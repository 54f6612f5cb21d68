#include "mainwindow/tendancesForm1.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <future>
#include <string_view>
#include <utility>
#include <vector>

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QTreeWidget>
#include <QUrl>

#include "core/evaluation/AgeLimits.h"
#include "core/evaluation/CommentFile.h"
#include "core/evaluation/NumberRules.h"
#include "core/scan/ErrorLog.h"
#include "core/scan/GroupSelection.h"
#include "core/scan/KeptRows.h"
#include "core/scan/KorvixExecutable.h"
#include "core/scan/RunCommand.h"
#include "core/scan/ScanOptions.h"
#include "core/scan/ScanRun.h"
#include "core/scan/StockFinder.h"
#include "dialogs/ColumnSizing.h"
#include "dialogs/MessageBoxes.h"
#include "mainwindow/ListSorting.h"
#include "mainwindow/LocaleEnvironment.h"
#include "mainwindow/ProgressObserver.h"
#include "mainwindow/ResultsListSink.h"
#include "mainwindow/StartOptions.h"
#include "qt/TextConversion.h"

#include "ui_tendancesForm1.h"

namespace parvane::mainwindow {

namespace {

// The maker's contact, set when the program is built (PARVANE_CONTACT_ADDRESS); without one the
// credit line is plain text.
constexpr const char* kContactAddress = PARVANE_CONTACT_ADDRESS;
constexpr const char* kHelpPageName = "help-parvane.htm";

// How long the window waits for the marking of new rows between two passes of its event loop.
constexpr std::chrono::milliseconds kMarkingWait{5};

// A check box's room beside the title of the results frame.
constexpr int kTitleBoxMargin = 10;

// The resize rule is written for the window's outer size, frame included, in the design's
// proportions: the results frame keeps 275 px less than the outer width and 45 px less than the
// outer height, the list 295 px and 70 px. Window managers draw frames of every size (and none
// under Xvfb), so the outer size is taken as the client size plus the frame of the design (4 px
// borders, a 22 px caption): the results then keep the same margins on every desktop.
constexpr int kOuterFrameWidth = 8;
constexpr int kOuterFrameHeight = 30;
constexpr int kFrameWidthAllowance = 275;
constexpr int kFrameHeightAllowance = 45;
constexpr int kListWidthAllowance = 295;
constexpr int kListHeightAllowance = 70;

// The window's font: "Small Fonts" 6.75 pt where it exists (it is a Windows font); elsewhere the
// desktop's font at a size that keeps the labels of the left column on their lines.
QFont windowFont()
{
    if (QFontDatabase::families().contains(QStringLiteral("Small Fonts"))) {
        QFont font(QStringLiteral("Small Fonts"));
        font.setPointSizeF(6.75);
        return font;
    }
    QFont font = QApplication::font();
    font.setPointSizeF(8.0);
    return font;
}

// A small printer drawn for the picture button: no icon theme is guaranteed on a Linux desktop.
QIcon printerIcon(const QPalette& palette)
{
    if (const QIcon themed = QIcon::fromTheme(QStringLiteral("document-print")); !themed.isNull())
        return themed;
    QIcon icon;
    for (const int size : {16, 20, 24, 32}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / 24.0, size / 24.0);
        const QColor ink = palette.color(QPalette::ButtonText);
        QPen pen(ink, 1.5);
        pen.setJoinStyle(Qt::RoundJoin);
        painter.setPen(pen);
        // Paper fed in at the top.
        painter.setBrush(Qt::white);
        painter.drawRect(QRectF(7, 2.5, 10, 7));
        // The body.
        painter.setBrush(palette.color(QPalette::Mid));
        QPainterPath body;
        body.addRoundedRect(QRectF(2.5, 8.5, 19, 9), 2, 2);
        painter.drawPath(body);
        // The printed sheet coming out.
        painter.setBrush(Qt::white);
        painter.drawRect(QRectF(6.5, 14, 11, 7.5));
        painter.drawLine(QPointF(8.5, 17), QPointF(15.5, 17));
        painter.drawLine(QPointF(8.5, 19.2), QPointF(13.5, 19.2));
        // The power light.
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0x2e, 0x9b, 0x3c));
        painter.drawEllipse(QPointF(18.5, 11.5), 1.1, 1.1);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QUrl fileUrl(const std::filesystem::path& file)
{
    return QUrl::fromLocalFile(qt::fromDiskPath(file));
}

// Where the help page may lie: the program folder (a copy the user keeps), the data folder of an
// installed program (<prefix>/share/parvane beside <prefix>/bin), then the executable's folder
// (the build tree, or a portable program folder).
std::vector<std::filesystem::path> helpPageCandidates(const std::filesystem::path& programFolder)
{
    const std::filesystem::path executableFolder = qt::toDiskPath(QCoreApplication::applicationDirPath());
    return {programFolder / kHelpPageName,
            executableFolder.parent_path() / "share" / "parvane" / kHelpPageName,
            executableFolder / kHelpPageName};
}

double typedNumber(const QString& text)
{
    return evaluation::readNumber(text.toStdString());
}

} // namespace

tendancesForm1::tendancesForm1(std::filesystem::path programFolder, dialogs::MessageBoxes& messages,
                               QWidget* parent)
    : QWidget(parent)
    , m_ui(std::make_unique<Ui::tendancesForm1>())
    , m_programFolder(std::move(programFolder))
    , m_messages(messages)
    , m_pathEnvironment(scan::pathEnvironmentFromSystem())
    , m_environment(std::make_unique<LocaleEnvironment>())
    , m_openDocument([](const QUrl& url) { return QDesktopServices::openUrl(url); })
    , m_quit([] { QCoreApplication::quit(); })
{
    m_ui->setupUi(this);
    setUpLook();
    setInitialStates();
    connectCommands();
}

tendancesForm1::~tendancesForm1() = default;

void tendancesForm1::setUpLook()
{
    setFont(windowFont());

    QFont titleFont = font();
    titleFont.setPointSizeF(font().pointSizeF() + 4);
    titleFont.setBold(true);
    m_ui->Label1->setFont(titleFont);

    // With a contact address the credit line reads as a link: a click writes to the maker.
    QFont creditFont = font();
    creditFont.setPointSizeF(font().pointSizeF() - 0.5);
    m_ui->Label3->setFont(creditFont);
    if (const QString address = QString::fromUtf8(kContactAddress); !address.isEmpty()) {
        m_ui->Label3->setText(m_ui->Label3->text() + QStringLiteral(" - ") + address);
        m_ui->Label3->setToolTip(address);
        QPalette linkPalette = m_ui->Label3->palette();
        linkPalette.setColor(QPalette::WindowText, linkPalette.color(QPalette::Link));
        m_ui->Label3->setPalette(linkPalette);
        m_ui->Label3->setCursor(Qt::PointingHandCursor);
        m_ui->Label3->installEventFilter(this);
    }
    m_ui->Label8->installEventFilter(this);
    connectCaptions();

    // Text1 and Text3 are grey, read-only captions that wrap.
    for (QPlainTextEdit* box : {m_ui->Text1, m_ui->Text3}) {
        QPalette palette = box->palette();
        palette.setColor(QPalette::Base, palette.color(QPalette::Button));
        palette.setColor(QPalette::Text, palette.color(QPalette::ButtonText));
        box->setPalette(palette);
        box->document()->setDocumentMargin(2);
        box->viewport()->setCursor(Qt::ArrowCursor);
    }

    QFont runFont = font();
    runFont.setBold(true);
    runFont.setPointSizeF(font().pointSizeF() + 2);
    m_ui->Command1->setFont(runFont);
    m_ui->Command5->setFont(runFont);

    m_ui->Command3->setIcon(printerIcon(palette()));
    m_ui->Command3->setIconSize(QSize(20, 20));

    // Sorting is one-shot, so the view never sorts by itself; switching its sorting off also makes
    // the header unclickable, hence the order of the two calls.
    QTreeWidget* list = m_ui->ListView1;
    list->setSortingEnabled(false);
    list->header()->setSectionsClickable(true);
    list->header()->setSortIndicatorShown(false);
    list->header()->setStretchLastSection(false);
    list->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    // Enter runs the scan, as the default button of the window.
    m_ui->Command1->setDefault(true);
}

void tendancesForm1::connectCaptions()
{
    // The boxes are bare squares beside their captions, as the form was drawn: a click on a
    // caption ticks its box as a click on the box would, and the box carries the caption as its
    // accessible name.
    const std::initializer_list<std::pair<QWidget*, QCheckBox*>> captions{
        {m_ui->Text3->viewport(), m_ui->Check2},
        {m_ui->Label6, m_ui->Check3},
        {m_ui->Label7, m_ui->Check4},
        {m_ui->Text1->viewport(), m_ui->Check6},
        {m_ui->Label9, m_ui->Check5},
        {m_ui->Label12, m_ui->Check9},
        {m_ui->Label13, m_ui->Check7}};
    for (const auto& [caption, box] : captions) {
        caption->installEventFilter(this);
        m_captionBoxes.emplace(caption, box);
    }
    m_ui->Check2->setAccessibleName(m_ui->Text3->toPlainText().simplified());
    m_ui->Check6->setAccessibleName(m_ui->Text1->toPlainText().simplified());
    m_ui->Check3->setAccessibleName(m_ui->Label6->text());
    m_ui->Check4->setAccessibleName(m_ui->Label7->text());
    m_ui->Check5->setAccessibleName(m_ui->Label9->text());
    m_ui->Check9->setAccessibleName(QStringLiteral("Sauver les resultats en .csv"));
    m_ui->Check7->setAccessibleName(QStringLiteral("Voir les resultats"));
    m_ui->Check8->setAccessibleName(m_ui->Check8->text().trimmed());
    m_ui->Text2->setAccessibleName(m_ui->Label10->text());
    m_ui->Text4->setAccessibleName(QStringLiteral("Seuil de variation du volume en %"));
    m_ui->Combo1->setAccessibleName(m_ui->Label11->text());
    m_ui->Label10->setBuddy(m_ui->Text2);
    m_ui->Label11->setBuddy(m_ui->Combo1);
}

void tendancesForm1::setInitialStates()
{
    // Volume filter: threshold 20, disabled, hidden with its frame until crossings are sought.
    m_ui->Text4->setText(QStringLiteral("20"));
    m_ui->Text4->setEnabled(false);
    m_ui->Frame2->hide();
    m_ui->Text4->hide();
    m_ui->Label2->hide();
    m_ui->Check8->hide();

    // Korvix: without comments, without group pre-selection.
    m_ui->Option1->setChecked(false);
    m_ui->Option2->setChecked(true);
    m_ui->Check1->setChecked(false);

    m_ui->Text2->setText(QStringLiteral("1"));
    m_ui->frame3->hide();
    m_ui->Frame1->hide();

    resize(kNormalWidth, kNormalHeight);

    m_ui->ProgressBar1->hide();
    m_ui->ListView1->hide();
    m_ui->Label8->hide();
    m_ui->Command3->show();
    m_ui->Label5->hide();
    m_ui->Text2->hide();
    m_ui->Label8->setText(QString());
    m_ui->Label14->hide();

    m_ui->Label11->hide();
    m_ui->Combo1->hide();

    // The window never gets so small that a control of the left column is cut.
    QRect leftColumn;
    for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (child != m_ui->Frame1)
            leftColumn |= child->geometry();
    }
    setMinimumSize(std::max(kNormalWidth, leftColumn.right() + 4),
                   std::max(kNormalHeight, leftColumn.bottom() + 4));
}

void tendancesForm1::connectCommands()
{
    connect(m_ui->Command1, &QPushButton::clicked, this, &tendancesForm1::runCommand);
    connect(m_ui->Command2, &QPushButton::clicked, this, &tendancesForm1::helpCommand);
    connect(m_ui->Command3, &QPushButton::clicked, this, &tendancesForm1::printCommand);
    connect(m_ui->Command4, &QPushButton::clicked, this, &tendancesForm1::korvixCommand);
    connect(m_ui->Command5, &QPushButton::clicked, this, &tendancesForm1::close);
    connect(m_ui->Command6, &QPushButton::clicked, this, &tendancesForm1::basesCommand);
    connect(m_ui->Command7, &QPushButton::clicked, this, &tendancesForm1::groupCommand);
    connect(m_ui->Combo1, &QComboBox::activated, this, &tendancesForm1::chooseBase);
    connect(m_ui->Check2, &QCheckBox::clicked, this, &tendancesForm1::proximityClicked);
    connect(m_ui->Check6, &QCheckBox::clicked, this, &tendancesForm1::crossingClicked);
    connect(m_ui->Check8, &QCheckBox::clicked, this, &tendancesForm1::volumeFilterClicked);
    connect(m_ui->Check7, &QCheckBox::clicked, this, &tendancesForm1::resultsClicked);
    connect(m_ui->ListView1->header(), &QHeaderView::sectionClicked, this, &tendancesForm1::sortByColumn);
    connect(m_ui->newOnlyBox, &QCheckBox::toggled, this, &tendancesForm1::applyNewOnlyFilter);
}

bool tendancesForm1::startUp()
{
    // A log that cannot be deleted (held open elsewhere) is appended to instead.
    static_cast<void>(scan::deleteErrorLog(m_programFolder));

    const std::filesystem::path iniFile = m_programFolder / scan::kSettingsFileName;
    if (!evaluation::ExistFile(iniFile) && m_pathDialog)
        m_pathDialog();

    m_settings = scan::loadSettings(iniFile);
    applyChooser(scan::setUpActiveBase(m_settings));

    // An empty "exe" names no folder at all: it must not find a korvix.exe in whatever folder the
    // program was started from.
    const bool korvixFound =
        !m_settings.pathkvx.empty()
        && scan::findKorvixExecutable(scan::mapSettingsPath(m_settings.pathkvx, m_pathEnvironment));
    if (!korvixFound) {
        m_messages.information(this, QStringLiteral("Parvane"),
                               QStringLiteral("Korvix n'est pas a la position indiquee\n"
                                              "dans le fichier Zarbel.ini"));
        return false;
    }
    return true;
}

void tendancesForm1::setPathDialog(std::function<void()> hook)
{
    m_pathDialog = std::move(hook);
}

void tendancesForm1::setGroupDialog(std::function<void()> hook)
{
    m_groupDialog = std::move(hook);
}

void tendancesForm1::setPrintCommand(std::function<void()> hook)
{
    m_printCommand = std::move(hook);
}

void tendancesForm1::showStatus(const QString& text)
{
    if (text.isEmpty())
        return;
    // A long path would be cut at the label's edge; its end names the file.
    const QFontMetrics metrics(m_ui->Label8->font());
    m_ui->Label8->setText(metrics.elidedText(text, Qt::ElideMiddle, m_ui->Label8->width()));
    m_ui->Label8->setToolTip(text);
    m_ui->Label8->show();
}

void tendancesForm1::setKorvixCommand(std::function<void()> hook)
{
    m_korvixCommand = std::move(hook);
}

void tendancesForm1::setDocumentOpener(std::function<bool(const QUrl&)> opener)
{
    m_openDocument = std::move(opener);
}

void tendancesForm1::setQuitHandler(std::function<void()> handler)
{
    m_quit = std::move(handler);
}

void tendancesForm1::setRunEnvironment(std::unique_ptr<scan::RunEnvironment> environment)
{
    if (environment)
        m_environment = std::move(environment);
}

std::filesystem::path tendancesForm1::activeBaseFolder() const
{
    if (baseactive.empty())
        return {};
    return scan::mapSettingsPath(baseactive, m_pathEnvironment);
}

QTreeWidget* tendancesForm1::resultsList() const
{
    return m_ui->ListView1;
}

bool tendancesForm1::isGroupPreselection() const
{
    return m_ui->Check1->isChecked();
}

bool tendancesForm1::isWithComments() const
{
    return m_ui->Option1->isChecked();
}

void tendancesForm1::minimise()
{
    showMinimized();
}

void tendancesForm1::applyChooser(const scan::BaseChooser& chooser)
{
    baseactive = chooser.baseactive;
    m_ui->Label11->setVisible(chooser.visible);
    m_ui->Combo1->setVisible(chooser.visible);
    m_ui->Combo1->setCurrentIndex(chooser.selectedIndex);
    m_ui->Combo1->setToolTip(qt::fromDiskName(chooser.tooltip));
}

scan::ScanOptions tendancesForm1::scanOptions() const
{
    scan::ScanOptions options;
    options.proximity = m_ui->Check2->isChecked();
    options.daily = m_ui->Check3->isChecked();
    options.weekly = m_ui->Check4->isChecked();
    options.crossing = m_ui->Check6->isChecked();
    options.volumeFilter = m_ui->Check8->isChecked();
    options.csvFile = m_ui->Check9->isChecked();
    options.commentsGroup = m_ui->Check5->isChecked();
    options.maxGap = typedNumber(m_ui->Text2->text());
    options.volumeThreshold = typedNumber(m_ui->Text4->text());
    options.dailyAgeLimit = evaluation::kDailyAgeLimit;
    options.weeklyAgeLimit = evaluation::kWeeklyAgeLimit;
    return options;
}

void tendancesForm1::runCommand()
{
    if (encours)
        return;
    encours = true;

    const std::filesystem::path root = activeBaseFolder();
    const scan::BaseLayout layout = scan::BaseLayout::resolve(root, m_settings.droite, m_settings.histo);
    if (const auto refusal = scan::checkBaseFolder(baseactive, layout.base)) {
        // The message names the base's folder: a name from the disk.
        m_messages.information(this, qt::fromWindows1252(refusal->title), qt::fromDiskName(refusal->text));
        encours = false;
        return;
    }

    scan::ScanOptions options = scanOptions();
    if (const auto refusal = scan::checkThresholds(options)) {
        m_messages.information(this, qt::fromWindows1252(refusal->title), qt::fromWindows1252(refusal->text));
        encours = false;
        return;
    }

    setScanBoxesEnabled(false);
    m_ui->newOnlyBox->setEnabled(false);
    m_ui->ProgressBar1->show();
    m_ui->Label8->show();
    m_ui->Label5->show();

    // Proximity without a unit while crossings are sought: only crossings are sought, and the
    // window shows it before the walk starts.
    if (scan::runCondition(options) && scan::proximityWithoutUnit(options)) {
        m_ui->Check2->setChecked(false);
        showProximityControls(false);
    }

    ResultsListSink results(*m_ui->ListView1);
    ProgressObserver observer(*m_ui->Label8, *m_ui->ProgressBar1, *m_ui->Label14,
                              [this] { return !m_closing; });
    observer.setBeforeEvents([&results] { results.flushIfDue(); });
    m_ui->Frame1->setTitle(QStringLiteral("Resultats"));
    scan::ErrorLog errorLog(m_programFolder / scan::kErrorLogFileName, *m_environment);
    scan::RunOutcome outcome;
    // A chart opened on a row during the run reads it with the options that found it.
    if (scan::runCondition(options))
        m_runOptions = options;
    // The run empties the list when it updates the comments group or scans; rows that it adds are
    // marked only when it ends.
    m_rowsMarked = m_rowsMarked && !options.commentsGroup && !scan::runCondition(options);
    try {
        outcome = scan::runScan(layout, options, m_selection, results, observer, errorLog, *m_environment);
    } catch (const std::exception& error) {
        // The core reports bad files as values; what reaches here is the system failing (memory).
        if (!m_closing) {
            m_messages.information(this, QStringLiteral("Parvane"),
                                   QStringLiteral("Execution interrompue: ")
                                       + QString::fromLocal8Bit(error.what()));
        }
    }

    if (m_closing) {
        encours = false;
        endProgram();
        return;
    }

    if (outcome.proximitySwitchedOff) {
        m_ui->Check2->setChecked(false);
        showProximityControls(false);
    }
    if (outcome.scanned) {
        m_ui->Label8->setToolTip(qt::fromWindows1252(outcome.tooltip));
        m_ui->Label8->setText(qt::fromWindows1252(outcome.status));
        // The last rows and the sizing, then the sort in two halves, then the marks of new rows, each step
        // short and followed by a pass of the event loop: the view lays itself out there. No step reads the
        // rows' texts again: the run kept the widest ones and the sort keys.
        QTreeWidget* list = m_ui->ListView1;
        results.flush();
        dialogs::ajustecolonnes(list, this, results.widestItems());
        QCoreApplication::processEvents();
        m_sortColumn = 0;
        m_sortDirection = scan::SortDirection::Ascending;
        const std::vector<std::size_t> order = resultsListOrder(*list, m_sortColumn, m_sortDirection);
        QCoreApplication::processEvents();
        applyResultsListOrder(*list, order, m_sortColumn, m_sortDirection);
        QCoreApplication::processEvents();
        m_runOptions = options;
        markNewRows(layout, options, !outcome.report.cancelled);
        if (m_closing) {
            encours = false;
            endProgram();
            return;
        }
    }

    encours = false;
    setScanBoxesEnabled(true);
    m_ui->newOnlyBox->setEnabled(m_rowsMarked);
    applyNewOnlyFilter();
}

void tendancesForm1::markNewRows(const scan::BaseLayout& layout, const scan::ScanOptions& options,
                                 bool complete)
{
    QTreeWidget* list = m_ui->ListView1;
    std::vector<ResultItem*> items(static_cast<std::size_t>(list->topLevelItemCount()));
    for (std::size_t i = 0; i < items.size(); ++i)
        items[i] = ResultItem::of(list->topLevelItem(static_cast<int>(i)));
    // The kept rows of the previous run are read and replaced (a file written through to the disk)
    // beside the event loop: the window answers meanwhile, and the run ends when they are. The
    // rows stay, as nothing else runs until then. The same base and options make the same run in
    // parvane-scan, whose --groups names the groups that the dialog ticks here.
    std::future<scan::NewRowsResult> work = std::async(
        std::launch::async, [&items, &layout, complete, key = scan::runOptionsKey(options, m_selection),
                             file = scan::keptRowsFile(m_programFolder, layout.base)] {
            std::vector<scan::RowIdentity> rows;
            rows.reserve(items.size());
            for (const ResultItem* item : items)
                rows.push_back(item != nullptr ? item->identity : scan::RowIdentity{});
            return scan::markNewRows(file, layout, key, rows, complete);
        });
    while (work.wait_for(kMarkingWait) != std::future_status::ready)
        QCoreApplication::processEvents();
    const scan::NewRowsResult marked = work.get();
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i] != nullptr)
            items[i]->isNew = marked.isNew[i];
    }
    m_rowsMarked = true;
    if (!marked.problems.empty()) {
        QString text;
        for (const std::string& problem : marked.problems)
            text += (text.isEmpty() ? QString() : QStringLiteral("\n")) + qt::fromDiskName(problem);
        m_messages.information(this, QStringLiteral("Parvane - Nouveaux seulement"), text);
    }
}

void tendancesForm1::applyNewOnlyFilter()
{
    // Hidden rows stay in the list: unticking the box shows them again, and the printer skips them.
    QTreeWidget* list = m_ui->ListView1;
    const bool newOnly = m_rowsMarked && m_ui->newOnlyBox->isChecked();
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
        // By row: a row found by its item is looked up among all the others.
        const ResultItem* item = ResultItem::of(list->topLevelItem(row));
        const bool hidden = newOnly && (item == nullptr || !item->isNew);
        if (list->isRowHidden(row, QModelIndex()) != hidden)
            list->setRowHidden(row, QModelIndex(), hidden);
    }
    showRowCount();
}

void tendancesForm1::showRowCount()
{
    // "Resultats: 54972 lignes", and how many show when "Nouveaux seulement" hides some.
    QTreeWidget* list = m_ui->ListView1;
    const int count = list->topLevelItemCount();
    int shown = 0;
    for (int row = 0; row < count; ++row)
        shown += list->isRowHidden(row, QModelIndex()) ? 0 : 1;
    QString title = QStringLiteral("Resultats: %1 %2")
                        .arg(count)
                        .arg(count > 1 ? QStringLiteral("lignes") : QStringLiteral("ligne"));
    if (shown != count)
        title += QStringLiteral(", %1 %2").arg(shown).arg(shown > 1 ? QStringLiteral("affichees")
                                                                    : QStringLiteral("affichee"));
    m_ui->Frame1->setTitle(title);
}

void tendancesForm1::setScanBoxesEnabled(bool enabled)
{
    for (QWidget* box :
         std::initializer_list<QWidget*>{m_ui->Check8, m_ui->Check9, m_ui->Check2, m_ui->Check3, m_ui->Check4,
                                         m_ui->Check5, m_ui->Check6, m_ui->Combo1})
        box->setEnabled(enabled);
}

void tendancesForm1::showProximityControls(bool visible)
{
    m_ui->frame3->setVisible(visible);
    m_ui->Text2->setVisible(visible);
}

void tendancesForm1::basesCommand()
{
    if (encours)
        return;
    if (!m_messages.confirm(this, QStringLiteral("Parvane - Base(s)"),
                            QStringLiteral("Fonction utilisee pour mettre a jour / Modifier / ajouter\n"
                                           "la (les) base(s) de travaille de Korvix")))
        return;
    selbase = true;
    if (m_pathDialog)
        m_pathDialog();
    // Only the bases are read again: Korvix's folder and the base layout keep their start-up values.
    const scan::Settings reread = scan::loadSettings(m_programFolder / scan::kSettingsFileName);
    m_settings.base1 = reread.base1;
    m_settings.base2 = reread.base2;
    m_settings.base3 = reread.base3;
    applyChooser(scan::chooserAfterBasesCommand(m_settings));
    // Shown or hidden, the chooser names base 1 again.
    m_ui->Combo1->setToolTip(qt::fromDiskName(m_settings.base1));
    // The chosen groups named files of the base they were chosen in: the bases may have changed.
    clearGroupSelection();
}

void tendancesForm1::clearGroupSelection()
{
    m_selection.active = false;
    setWindowTitle(QStringLiteral("Parvane"));
}

void tendancesForm1::groupCommand()
{
    if (encours)
        return;
    clearGroupSelection();
    m_ui->Command7->setEnabled(false);
    if (m_groupDialog)
        m_groupDialog();
    m_ui->Command7->setEnabled(true);
}

void tendancesForm1::printCommand()
{
    if (encours)
        return;
    if (m_printCommand)
        m_printCommand();
}

void tendancesForm1::korvixCommand()
{
    if (encours)
        return;
    if (m_korvixCommand)
        m_korvixCommand();
}

void tendancesForm1::helpCommand()
{
    if (encours)
        return;
    for (const std::filesystem::path& page : helpPageCandidates(m_programFolder)) {
        if (evaluation::ExistFile(page)) {
            openDocument(fileUrl(page));
            return;
        }
    }
    QString searched;
    for (const std::filesystem::path& page : helpPageCandidates(m_programFolder))
        searched += QStringLiteral("\n") + qt::fromDiskPath(page.lexically_normal());
    m_messages.information(this, QStringLiteral("Parvane - Aide"),
                           QStringLiteral("La page d'aide est introuvable. Cherchee dans:") + searched);
}

void tendancesForm1::contactCommand()
{
    if (encours)
        return;
    const QString address = QString::fromUtf8(kContactAddress);
    if (!address.isEmpty())
        openDocument(QUrl(QStringLiteral("Mailto:") + address));
}

void tendancesForm1::errorLogCommand()
{
    if (encours)
        return;
    openDocument(fileUrl(m_programFolder / scan::kErrorLogFileName));
}

void tendancesForm1::openDocument(const QUrl& url)
{
    if (!m_openDocument || m_openDocument(url))
        return;
    const QString what = url.isLocalFile() ? url.toLocalFile() : url.toString();
    m_messages.information(this, QStringLiteral("Parvane"),
                           QStringLiteral("Aucun programme n'a pu ouvrir:\n") + what);
}

void tendancesForm1::chooseBase(int index)
{
    if (encours)
        return;
    if (const auto base = scan::baseForChooserIndex(m_settings, index)) {
        if (*base != baseactive)
            clearGroupSelection();
        baseactive = *base;
        m_ui->Combo1->setToolTip(qt::fromDiskName(*base));
    }
}

void tendancesForm1::proximityClicked(bool on)
{
    if (encours)
        return;
    showProximityControls(on);
}

void tendancesForm1::crossingClicked(bool on)
{
    for (QWidget* control :
         std::initializer_list<QWidget*>{m_ui->Frame2, m_ui->Text4, m_ui->Label2, m_ui->Check8})
        control->setVisible(on);
}

void tendancesForm1::volumeFilterClicked(bool on)
{
    m_ui->Text4->setEnabled(on);
}

void tendancesForm1::resultsClicked(bool on)
{
    m_ui->Frame1->setVisible(on);
    m_ui->ListView1->setVisible(on);
    if (on) {
        // Without a window manager nothing maximises a window: the window takes the screen's free
        // area itself first (a window manager then maximises it as usual).
        m_normalPosition = pos();
        if (const QScreen* where = screen(); where != nullptr && !isMaximized())
            setGeometry(where->availableGeometry());
        showMaximized();
    } else {
        showNormal();
        resize(kNormalWidth, kNormalHeight);
        move(m_normalPosition);
    }
}

void tendancesForm1::sortByColumn(int column)
{
    if (encours)
        return;
    // The first click on a column sorts it in ascending order; a click on the column sorted last
    // turns its order round. Rows keep their hidden state through the sort, which takes them out
    // and puts them back.
    // A list emptied by a run since (its header without a mark) is not sorted by any column.
    if (!m_ui->ListView1->header()->isSortIndicatorShown())
        m_sortColumn = -1;
    const bool reverse = column == m_sortColumn && m_sortDirection == scan::SortDirection::Ascending;
    m_sortColumn = column;
    m_sortDirection = reverse ? scan::SortDirection::Descending : scan::SortDirection::Ascending;
    sortResultsList(*m_ui->ListView1, m_sortColumn, m_sortDirection);
}

void tendancesForm1::applyResizeRule()
{
    const int outerWidth = width() + kOuterFrameWidth;
    const int outerHeight = height() + kOuterFrameHeight;
    const int listWidth = std::max(outerWidth - kListWidthAllowance, kListMinWidth);
    const int listHeight = std::max(outerHeight - kListHeightAllowance, kListMinHeight);
    const int frameWidth = std::max(outerWidth - kFrameWidthAllowance, kFrameMinWidth);
    const int frameHeight = std::max(outerHeight - kFrameHeightAllowance, kFrameMinHeight);
    m_ui->Frame1->resize(frameWidth, frameHeight);
    m_ui->ListView1->resize(listWidth, listHeight);
    QCheckBox* newOnly = m_ui->newOnlyBox;
    newOnly->resize(newOnly->sizeHint().width(), newOnly->height());
    newOnly->move(frameWidth - newOnly->width() - kTitleBoxMargin, newOnly->y());
}

void tendancesForm1::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    applyResizeRule();
}

void tendancesForm1::keyPressEvent(QKeyEvent* event)
{
    // The boxes and buttons of a plain window pass Enter on. As in a dialog, it presses the button
    // that has the focus, and otherwise runs the scan when it can.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        if (auto* focused = qobject_cast<QPushButton*>(focusWidget());
            focused != nullptr && focused->isEnabled()) {
            focused->animateClick();
            return;
        }
        if (!encours && m_ui->Command1->isEnabled()) {
            m_ui->Command1->animateClick();
            return;
        }
    }
    QWidget::keyPressEvent(event);
}

bool tendancesForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (const auto caption = m_captionBoxes.find(watched); caption != m_captionBoxes.end()) {
            QCheckBox* box = caption->second;
            if (box->isEnabled() && box->isVisible())
                box->click();
            return true;
        }
    }
    if (watched == m_ui->Label8 && event->type() == QEvent::MouseButtonDblClick) {
        errorLogCommand();
        return true;
    }
    if (watched == m_ui->Label3 && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        contactCommand();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void tendancesForm1::closeEvent(QCloseEvent* event)
{
    m_closing = true;
    event->accept();
    // During a run the program ends when the run has closed its files, at the next stock.
    if (!encours)
        endProgram();
}

void tendancesForm1::endProgram()
{
    if (m_quitRequested)
        return;
    m_quitRequested = true;
    if (m_quit)
        m_quit();
}

void tendancesForm1::applyStartOptions(const StartOptions& start)
{
    if (encours)
        return;
    baseactive = qt::toDiskPath(start.base).string();
    m_ui->Combo1->setToolTip(start.base);
    clearGroupSelection();
    if (!start.groups.isEmpty()) {
        // Named as typed, as parvane-scan's --groups: the files may be UTF-8 or Windows-1252.
        const scan::BaseLayout layout =
            scan::BaseLayout::resolve(activeBaseFolder(), m_settings.droite, m_settings.histo);
        const std::vector<std::string> known = scan::listegroupes(layout);
        std::vector<std::string> groups;
        for (const QString& group : start.groups) {
            if (auto name = scan::findGroupName(known, group.toStdString()))
                groups.push_back(std::move(*name));
        }
        m_selection = scan::buildSelection(layout, groups);
    }
    m_ui->Check2->setChecked(start.proximity);
    m_ui->Check3->setChecked(start.daily);
    m_ui->Check4->setChecked(start.weekly);
    m_ui->Check6->setChecked(start.crossing);
    m_ui->Check8->setChecked(start.volume.has_value());
    if (!start.maxGap.isEmpty())
        m_ui->Text2->setText(start.maxGap);
    if (start.volume)
        m_ui->Text4->setText(*start.volume);
    showProximityControls(start.proximity);
    crossingClicked(start.crossing);
    volumeFilterClicked(start.volume.has_value());
    m_ui->Check7->setChecked(true);
    resultsClicked(true);

    runCommand();
    if (!start.showNew || !m_rowsMarked)
        return;
    // The kept rows already hold the run that found these rows new: the hits named are the new ones.
    const QSet<QString> fresh(start.newRows.begin(), start.newRows.end());
    QTreeWidget* list = m_ui->ListView1;
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
        if (ResultItem* item = ResultItem::of(list->topLevelItem(row)))
            item->isNew = fresh.contains(QString::fromStdString(scan::hitText(item->identity)));
    }
    m_ui->newOnlyBox->setEnabled(true);
    m_ui->newOnlyBox->setChecked(true);
    applyNewOnlyFilter();
}

} // namespace parvane::mainwindow
