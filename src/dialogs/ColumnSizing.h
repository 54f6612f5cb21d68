#pragma once

#include <vector>

class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

namespace parvane::dialogs {

// ajustecolonnes: each column of `list` (a list in report view) becomes as wide as its widest
// entry, and never narrower than its header caption measured in `window`'s font plus 10 pixels
// (plus the sort mark's room when a click on the header sorts the list).
// A list without columns is left as it is. Measures every entry: meant for short lists.
void ajustecolonnes(QTreeWidget* list, const QWidget* window);

// The same rule when the caller already knows, per column, the entry whose text is the widest
// (measured in the list's font as the rows arrived); nullptr, or a missing column, stands for a
// column without entries. Takes the same time for any number of rows.
void ajustecolonnes(QTreeWidget* list, const QWidget* window,
                    const std::vector<const QTreeWidgetItem*>& widest);

} // namespace parvane::dialogs
