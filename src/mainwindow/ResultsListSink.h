#pragma once

#include <array>
#include <cstddef>
#include <future>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include <QElapsedTimer>
#include <QFontMetrics>
#include <QList>
#include <QtGlobal>

#include "core/scan/ResultsOrder.h"
#include "core/scan/ResultsSink.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace parvane::mainwindow {

// The results list ListView1 as the scan's results sink. Rows are root items of the tree
// (ResultItem), added at the end; texts arrive as Windows-1252 bytes and are shown decoded. Each
// text is measured in the list's font as it arrives (by the advances of its characters, which a
// full layout of every text would make several times slower than the scan itself), and its sort
// key taken, so that the columns can be sized and the rows sorted at the end of a run of any size
// without going over the texts again. `list` must outlive the sink.
class ResultsListSink final : public scan::ResultsSink
{
    Q_DISABLE_COPY_MOVE(ResultsListSink)

public:
    explicit ResultsListSink(QTreeWidget& list);
    // Adds the rows still waiting to the list; waits for the deletion of removed rows.
    ~ResultsListSink() override;

    // Removes every column and row, then adds the seven headers "Action" to "Commentaires" with
    // the default width. The rows are deleted on another thread once out of the list: 100,000 of
    // them take longer than a pass of the event loop may.
    void clear() override;

    // Adds an empty row about `identity` (see identityOf). Rows reach the list in
    // batches: by flushIfDue(), at most every kFlushIntervalMs, and all of them by flush() or when
    // the sink goes.
    void addRow(const scan::RowIdentity& identity) override;

    // The trend line that a row of the list is about, kept in the row so that it follows the row
    // through every sort; std::nullopt for an item that no scan added.
    static std::optional<scan::RowIdentity> identityOf(const QTreeWidgetItem* item);

    // Adds the rows still waiting to the list.
    void flush();

    // Adds the rows still waiting when the last batch went kFlushIntervalMs ago or more, or when
    // none has gone since the list was cleared (the first rows of a run show at once): called
    // between stocks, so that the rows found so far show during a run.
    void flushIfDue();

    // The rows added since the list was cleared, in the list or waiting.
    std::size_t rowCount() const { return m_rows.size(); }

    static constexpr qint64 kFlushIntervalMs = 250;

    // Sets the text of column `column` of row `row` (1 for the first row added). A row that does
    // not exist is ignored.
    void setText(std::size_t row, scan::ResultColumn column, std::string_view text) override;

    // Per column, the row whose text is the widest so far (nullptr while the column is empty), for
    // dialogs::ajustecolonnes. Valid while the rows stay in the list.
    std::vector<const QTreeWidgetItem*> widestItems() const;

private:
    // The width of `text` as the sum of its characters' advances, kerning aside.
    int textWidth(const QString& text);

    QTreeWidget& m_list;
    std::vector<QTreeWidgetItem*> m_rows;         // every row, by number - 1
    QList<QTreeWidgetItem*> m_pending;            // rows not yet in the list, owned by the sink
    std::shared_ptr<scan::ResultSortKeys> m_keys; // of the rows since the list was cleared
    std::future<void> m_deletion;                 // of the rows removed by clear()
    QElapsedTimer m_sinceFlush;
    QFontMetrics m_metrics;
    std::array<int, 256> m_advances{}; // by Latin-1 code; 0 until measured
    std::array<int, scan::kResultColumnCount> m_widestWidth{};
    std::array<const QTreeWidgetItem*, scan::kResultColumnCount> m_widestItem{};
};

} // namespace parvane::mainwindow
