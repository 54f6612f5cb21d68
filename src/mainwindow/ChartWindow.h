#pragma once

#include <filesystem>
#include <optional>

#include <QMargins>
#include <QRect>
#include <QString>
#include <QWidget>

#include "core/scan/StockAccount.h"

class QCompleter;
class QLineEdit;
class QStringListModel;
class QPlainTextEdit;
class QPushButton;
class QTreeWidgetItem;

namespace parvane::dialogs {
class MessageBoxes;
}

namespace parvane::mainwindow {

class ChartView;
class tendancesForm1;

// "Graphique": a window of its own that shows the chart of the selected row of the results list
// with the account of its trend line beneath it, and follows the selection (mouse, Up and Down).
// Clicking a row, Enter, or the list's context-menu entry "Graphique" opens it. A box at its top
// takes a stock name and shows the account of all its lines under the options the boxes say now.
// The chart can be saved as PNG.
class ChartWindow final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ChartWindow)

public:
    // Follows `window`'s results list; `messages` must outlive the window.
    ChartWindow(tendancesForm1& window, dialogs::MessageBoxes& messages, QWidget* parent = nullptr);
    ~ChartWindow() override;

    // Shows the chart and the account of a row of the results list.
    void showRow(const QTreeWidgetItem* item);

    // Shows the account of every line of the stock that `nameCode` names (as typed: name and
    // code or the name alone, any case, see scan::findStock); else says so with close names.
    void showStock(const QString& nameCode);

    // Saves the chart as a PNG file; false (after a message) when it cannot be written.
    bool savePng(const QString& file);

    ChartView& chart() { return *m_chart; }

    QString accountText() const;

    QLineEdit& stockBox() { return *m_stockBox; }

    // Where the window goes when it opens (its geometry, frame aside): inside `area` (the
    // available part of the main window's screen) with its `frame`, at the right, above or below
    // `row` (the clicked row, in screen coordinates) without covering it, shortened when neither
    // side holds `size`.
    static QRect placement(const QRect& area, QSize size, const QMargins& frame, const QRect& row);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static constexpr int kRowMargin = 8;
    static constexpr int kShortestHeight = 320;

    void openFor(const QTreeWidgetItem* item);
    void showNothing(const QString& why);
    void loadCompleterNames();
    void chooseFileAndSave();
    scan::BaseLayout layout() const;
    char decimalSeparator() const;

    tendancesForm1& m_window;
    dialogs::MessageBoxes& m_messages;
    ChartView* m_chart;
    QPlainTextEdit* m_account;
    QLineEdit* m_stockBox;
    QPushButton* m_save;
    QCompleter* m_completer;
    QStringListModel* m_completerNames;
    std::filesystem::path m_completerBase; // the base whose names the completer holds
    bool m_placed = false;
};

} // namespace parvane::mainwindow
