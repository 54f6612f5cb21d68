#pragma once

class QTreeWidget;
class QWidget;

namespace parvane::dialogs {

// ajustecolonnes: each column of `list` (a list in report view) becomes as wide as its widest
// entry, and never narrower than its header caption measured in `window`'s font plus 10 pixels.
// A list without columns is left as it is.
void ajustecolonnes(QTreeWidget* list, const QWidget* window);

} // namespace parvane::dialogs
