#pragma once

class QTreeWidget;

namespace parvane::mainwindow {

// Sorts the root items of `list` once by the text of column `column` (0 for the first), in
// ascending order without regard to case; rows with equal texts keep their order. The list is
// not kept sorted: rows added later stay where they are added, and sorting again by the same
// column gives the same order (the direction never toggles). Numbers sort as text. A column
// outside the list leaves it unchanged.
void sortByColumnOnce(QTreeWidget& list, int column);

} // namespace parvane::mainwindow
