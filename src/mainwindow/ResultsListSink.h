#pragma once

#include <cstddef>
#include <string_view>

#include <QtGlobal>

#include "core/scan/ResultsSink.h"

class QTreeWidget;

namespace parvane::mainwindow {

// The results list ListView1 as the scan's results sink. Rows are root items of the tree, added
// at the end; texts arrive as Windows-1252 bytes and are shown decoded. `list` must outlive the
// sink.
class ResultsListSink final : public scan::ResultsSink
{
    Q_DISABLE_COPY_MOVE(ResultsListSink)

public:
    explicit ResultsListSink(QTreeWidget& list);

    // Removes every column and row, then adds the seven headers "Action" to "Commentaires" with
    // the default width.
    void clear() override;

    void addRow() override;

    // Sets the text of column `column` of row `row` (1 for the first row added). A row that does
    // not exist is ignored.
    void setText(std::size_t row, scan::ResultColumn column, std::string_view text) override;

private:
    QTreeWidget& m_list;
};

} // namespace parvane::mainwindow
