#include "mainwindow/ChartWindow.h"

#include <algorithm>

#include <QCompleter>
#include <QEvent>
#include <QFileDialog>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStringListModel>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/evaluation/TimeUnits.h"
#include "core/scan/AccountText.h"
#include "core/scan/ChartModel.h"
#include "core/scan/FolderIndex.h"
#include "core/scan/ResultsSink.h"
#include "dialogs/MessageBoxes.h"
#include "mainwindow/ChartView.h"
#include "mainwindow/LocaleEnvironment.h"
#include "mainwindow/ResultsListSink.h"
#include "mainwindow/tendancesForm1.h"
#include "qt/TextConversion.h"

namespace parvane::mainwindow {

namespace {

// Bars shown: about half a year of days, or two years of weeks.
constexpr std::size_t kMaxBars = 120;

QString linesText(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return qt::fromDiskName(text);
}

QString chartTitle(const scan::StockAccount& stock, const evaluation::TrendLineAccount& line)
{
    // The unit as the list's column "UT" shows it.
    std::string unit = line.unit;
    while (!unit.empty() && unit.back() == ' ')
        unit.pop_back();
    const std::string title = stock.fileName.substr(0, stock.fileName.size() - 4) + " - droite "
                              + std::to_string(line.lineNumber) + " - " + unit;
    return qt::fromDiskName(title);
}

} // namespace

ChartWindow::ChartWindow(tendancesForm1& window, dialogs::MessageBoxes& messages, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_window(window)
    , m_messages(messages)
    , m_chart(new ChartView(this))
    , m_account(new QPlainTextEdit(this))
    , m_stockBox(new QLineEdit(this))
    , m_save(new QPushButton(QStringLiteral("Enregistrer en PNG..."), this))
    , m_completer(new QCompleter(this))
    , m_completerNames(new QStringListModel(this))
{
    setObjectName(QStringLiteral("ChartWindow"));
    setWindowTitle(QStringLiteral("Parvane - Graphique"));
    // The list keeps the focus, so that Up and Down go on moving its selection.
    setAttribute(Qt::WA_ShowWithoutActivating);

    m_stockBox->setObjectName(QStringLiteral("StockBox"));
    m_stockBox->setPlaceholderText(QStringLiteral("NOM_CODE, puis Entree"));
    m_account->setObjectName(QStringLiteral("AccountText"));
    m_account->setReadOnly(true);
    m_account->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_account->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_chart->setEmptyText(QStringLiteral("Choisissez une ligne de la liste des resultats."));

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Pourquoi cette action ?"), this));
    top->addWidget(m_stockBox, 1);
    top->addWidget(m_save);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_chart, 3);
    layout->addWidget(m_account, 2);
    resize(760, 640);

    // Names of the base's stocks as the user types, without regard to case, anywhere in the name.
    m_completer->setModel(m_completerNames);
    m_completer->setCaseSensitivity(Qt::CaseInsensitive);
    m_completer->setFilterMode(Qt::MatchContains);
    m_completer->setMaxVisibleItems(10);
    m_stockBox->setCompleter(m_completer);
    connect(m_stockBox, &QLineEdit::textEdited, this, [this] { loadCompleterNames(); });
    connect(m_completer, qOverload<const QString&>(&QCompleter::activated), this,
            [this](const QString& name) { showStock(name); });
    connect(m_stockBox, &QLineEdit::returnPressed, this, [this] { showStock(m_stockBox->text().trimmed()); });
    connect(m_save, &QPushButton::clicked, this, &ChartWindow::chooseFileAndSave);

    QTreeWidget* list = m_window.resultsList();
    list->installEventFilter(this);
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list, &QTreeWidget::customContextMenuRequested, this, [this, list](const QPoint& at) {
        QTreeWidgetItem* item = list->itemAt(at);
        if (!item)
            return;
        QMenu menu(list);
        QAction* chart = menu.addAction(QStringLiteral("Graphique"));
        if (menu.exec(list->viewport()->mapToGlobal(at)) == chart)
            openFor(item);
    });
    connect(list, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { openFor(item); });
    connect(list, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
        if (isVisible() && current)
            showRow(current);
    });
}

ChartWindow::~ChartWindow() = default;

scan::BaseLayout ChartWindow::layout() const
{
    const scan::Settings& settings = m_window.settings();
    return scan::BaseLayout::resolve(m_window.activeBaseFolder(), settings.droite, settings.histo);
}

char ChartWindow::decimalSeparator() const
{
    return LocaleEnvironment().decimalSeparator();
}

void ChartWindow::openFor(const QTreeWidgetItem* item)
{
    showRow(item);
    if (!isVisible()) {
        if (const QScreen* screen = m_window.screen()) {
            QTreeWidget* list = m_window.resultsList();
            const QRect cell = list->visualItemRect(item);
            const QRect row(list->viewport()->mapToGlobal(QPoint(0, cell.top())),
                            QSize(list->viewport()->width(), cell.height()));
            // The window manager's frame is known once the window has been shown; before, leave
            // room for a title bar and borders.
            const QMargins frame = m_placed ? QMargins(geometry().left() - frameGeometry().left(),
                                                       geometry().top() - frameGeometry().top(),
                                                       frameGeometry().right() - geometry().right(),
                                                       frameGeometry().bottom() - geometry().bottom())
                                            : QMargins(4, 30, 4, 4);
            setGeometry(placement(screen->availableGeometry(), size(), frame, row));
        }
        m_placed = true;
        show();
    }
    raise();
}

void ChartWindow::showNothing(const QString& why)
{
    m_chart->setModel(std::nullopt, QString());
    m_chart->setEmptyText(why);
    m_account->clear();
}

QRect ChartWindow::placement(const QRect& area, QSize size, const QMargins& frame, const QRect& row)
{
    // Fully on the screen of the main window, at its right, above or below the clicked row on
    // the side with more room; the window is made shorter when neither side can hold it.
    const QRect inner = area.marginsRemoved(frame);
    size = size.boundedTo(inner.size());
    const int above = row.top() - inner.top() - frame.bottom() - kRowMargin;
    const int below = inner.bottom() - row.bottom() - frame.top() - kRowMargin;
    const bool fitsAbove = above >= size.height();
    const bool fitsBelow = below >= size.height();
    const bool goBelow = fitsBelow || (!fitsAbove && below > above);
    const int room = goBelow ? below : above;
    if (room < size.height())
        size.setHeight(std::max(room, std::min(kShortestHeight, inner.height())));
    const int left = inner.right() - size.width() + 1;
    int top = goBelow ? row.bottom() + 1 + kRowMargin + frame.top()
                      : row.top() - kRowMargin - frame.bottom() - size.height();
    top = std::clamp(top, inner.top(), inner.bottom() + 1 - size.height());
    return {QPoint(left, top), size};
}

void ChartWindow::showRow(const QTreeWidgetItem* item)
{
    if (!item)
        return;
    // The row names its trend line by its stock's file name and the line's place in its file, in
    // the base it came from: another base chosen since the scan does not change what it shows.
    const auto identity = ResultsListSink::identityOf(item);
    if (!identity) {
        showNothing(QStringLiteral("Cette ligne ne vient pas d'un scan."));
        return;
    }
    const scan::Settings& settings = m_window.settings();
    const scan::BaseLayout rowLayout =
        scan::BaseLayout::resolve(identity->base, settings.droite, settings.histo);
    const bool otherBase = identity->base != m_window.activeBaseFolder();
    const QString baseName = qt::fromDiskName(identity->base.string());
    const char separator = decimalSeparator();
    const auto found = scan::findRowLine(rowLayout, m_window.runOptions(), *identity, separator);
    if (!found) {
        showNothing(otherBase
                        ? QStringLiteral("La base a change depuis le scan: cette ligne vient de la base ")
                              + baseName + QStringLiteral(", ou son action n'y est plus.")
                        : QStringLiteral("Aucune droite de la base ne donne plus cette ligne: l'action "
                                         "ou ses droites ont change depuis le scan."));
        return;
    }
    const evaluation::TrendLineAccount& line = found->stock.lines[found->index];
    m_chart->setModel(scan::loadChartModel(found->stock.historyFile, line, kMaxBars),
                      chartTitle(found->stock, line));
    QString account = linesText(scan::trendLineAccountLines(line, separator));
    if (otherBase)
        account.prepend(QStringLiteral("Ligne de la base ") + baseName
                        + QStringLiteral(", qui n'est plus la base active.\n\n"));
    m_account->setPlainText(account);
}

void ChartWindow::loadCompleterNames()
{
    const std::filesystem::path base = m_window.activeBaseFolder();
    if (m_completerBase == base && !m_completerBase.empty())
        return;
    m_completerBase = base;
    QStringList names;
    for (const std::string& name : scan::typedStockNames(scan::listTextFiles(layout().droite)))
        names.append(QString::fromStdString(name));
    m_completerNames->setStringList(names);
}

void ChartWindow::showStock(const QString& nameCode)
{
    if (nameCode.isEmpty())
        return;
    const char separator = decimalSeparator();
    const scan::BaseLayout base = layout();
    const scan::StockSearch search = scan::findStockInBase(base, nameCode.toStdString());
    const auto account = search.fileName
                             ? scan::explainStock(base, m_window.scanOptions(), *search.fileName, separator)
                             : std::nullopt;
    if (!account) {
        QString why = QStringLiteral("Action introuvable dans la base: ") + nameCode;
        if (!search.suggestions.empty()) {
            QStringList close;
            for (const std::string& name : search.suggestions)
                close.append(QString::fromStdString(name));
            why += QStringLiteral("\nVoulez-vous dire ") + close.join(QStringLiteral(", "))
                   + QStringLiteral(" ?");
            // The close names in the completer, until the box is typed into again.
            m_completerNames->setStringList(close);
            m_completerBase.clear();
            m_completer->setCompletionPrefix(QString());
            m_completer->complete();
        }
        showNothing(why);
        return;
    }
    m_account->setPlainText(qt::fromDiskName(scan::stockAccountText(*account, separator)));
    // The chart shows the first line that was placed against the last bar.
    for (const evaluation::TrendLineAccount& line : account->lines) {
        if (line.gapsComputed) {
            m_chart->setModel(scan::loadChartModel(account->historyFile, line, kMaxBars),
                              chartTitle(*account, line));
            return;
        }
    }
    m_chart->setModel(std::nullopt, QString());
    m_chart->setEmptyText(
        QStringLiteral("Aucune droite de cette action n'a ete placee sur le dernier cours."));
}

QString ChartWindow::accountText() const
{
    return m_account->toPlainText();
}

bool ChartWindow::savePng(const QString& file)
{
    if (m_chart->grab().save(file, "PNG"))
        return true;
    m_messages.information(this, QStringLiteral("Graphique"),
                           QStringLiteral("Le fichier n'a pas pu etre ecrit: ") + file);
    return false;
}

void ChartWindow::chooseFileAndSave()
{
    const QString file =
        QFileDialog::getSaveFileName(this, QStringLiteral("Enregistrer le graphique"),
                                     QStringLiteral("graphique.png"), QStringLiteral("Images PNG (*.png)"));
    if (!file.isEmpty())
        savePng(file);
}

bool ChartWindow::eventFilter(QObject* watched, QEvent* event)
{
    QTreeWidget* list = m_window.resultsList();
    if (watched == list && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && list->currentItem()) {
            openFor(list->currentItem());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace parvane::mainwindow
