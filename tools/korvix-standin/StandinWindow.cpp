#include "StandinWindow.h"

#include <algorithm>

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QVBoxLayout>

namespace {

// The entry of `folder` named `name` without regard to case; `name` itself when none matches.
QString entryIgnoringCase(const QString& folder, const QString& name)
{
    const QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return QDir(folder).filePath(entry);
    }
    return QDir(folder).filePath(name);
}

QVector<StandinStock> readGroup(const QString& file)
{
    QVector<StandinStock> stocks;
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return stocks;
    const QByteArray bytes = in.readAll();
    for (QByteArray line : bytes.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() >= 2 && !fields.at(1).isEmpty())
            stocks.push_back({QString::fromLatin1(fields.at(0)), QString::fromLatin1(fields.at(1))});
    }
    return stocks;
}

} // namespace

StandinWindow::StandinWindow(const QString& base, QWidget* parent)
    : QMainWindow(parent)
    , m_base(base)
{
    QMenu* fichier = menuBar()->addMenu(QStringLiteral("&Fichier"));
    connect(fichier->addAction(QStringLiteral("&Groupes...")), &QAction::triggered, this,
            &StandinWindow::showGroupPreselection);
    fichier->addSeparator();
    QAction* quit = fichier->addAction(QStringLiteral("&Quitter"));
    quit->setShortcut(QKeySequence::Quit);
    connect(quit, &QAction::triggered, qApp, &QApplication::quit);

    m_chart = new QLabel(this);
    m_chart->setAlignment(Qt::AlignCenter);
    setCentralWidget(m_chart);
    setFocusPolicy(Qt::StrongFocus);
    resize(640, 400);
    showIdle();
}

QString StandinWindow::groupFolder() const
{
    return entryIgnoringCase(entryIgnoringCase(m_base, QStringLiteral("base")), QStringLiteral("groupe"));
}

QStringList StandinWindow::groupNames() const
{
    QStringList names;
    const QDir folder(groupFolder());
    for (const QString& entry : folder.entryList(QDir::Files, QDir::Name)) {
        if (entry.endsWith(QStringLiteral(".txt"), Qt::CaseInsensitive))
            names.push_back(entry.chopped(4));
    }
    return names;
}

bool StandinWindow::openGroup(const QString& name, int position)
{
    m_stocks = readGroup(entryIgnoringCase(groupFolder(), name + QStringLiteral(".txt")));
    if (m_stocks.isEmpty()) {
        showIdle();
        return false;
    }
    showStock(std::clamp(position, 0, static_cast<int>(m_stocks.size()) - 1));
    return true;
}

void StandinWindow::showGroupPreselection()
{
    QDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("Pre-selection de groupe"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* list = new QListWidget(&dialog);
    list->addItems(groupNames());
    list->setCurrentRow(0);
    layout->addWidget(list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    connect(list, &QListWidget::itemActivated, &dialog, &QDialog::accept);
    list->setFocus();
    if (dialog.exec() == QDialog::Accepted && list->currentItem())
        openGroup(list->currentItem()->text(), 0);
}

void StandinWindow::showStock(int position)
{
    m_position = position;
    const StandinStock& stock = m_stocks.at(position);
    setWindowTitle(QStringLiteral("Korvix - ") + QDir(m_base).dirName() + QStringLiteral(" - ") + stock.name);
    m_chart->setText(stock.name + QStringLiteral(" (") + stock.code + QStringLiteral(")\n")
                     + QString::number(position + 1) + QStringLiteral(" / ")
                     + QString::number(m_stocks.size()));
}

void StandinWindow::showIdle()
{
    m_position = -1;
    setWindowTitle(QStringLiteral("Korvix"));
    m_chart->setText(QStringLiteral("Aucune valeur affichee"));
}

void StandinWindow::keyPressEvent(QKeyEvent* event)
{
    if (m_position >= 0 && (event->key() == Qt::Key_PageDown || event->key() == Qt::Key_PageUp)) {
        const int step = event->key() == Qt::Key_PageDown ? 1 : -1;
        showStock(std::clamp(m_position + step, 0, static_cast<int>(m_stocks.size()) - 1));
        return;
    }
    QMainWindow::keyPressEvent(event);
}
