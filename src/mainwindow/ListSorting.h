#pragma once

class QTreeWidget;

namespace parvane::mainwindow {

// How the texts of a column compare.
enum class ColumnOrder
{
    Text,   // without regard to case, accented letters among their base letters (text::compareText)
    Number, // by value, whether the decimal separator shown is "." or ","; non-numbers last, as text
};

// The order of column `column` of the results list: Dernier, Ecart% and Var% by value, the others
// as text.
ColumnOrder resultsColumnOrder(int column);

// Sorts the root items of `list` once by column `column` (0 for the first), in ascending order;
// rows that compare equal keep their order. The list is not kept sorted: rows added later stay
// where they are added, and sorting again by the same column gives the same order (the direction
// never toggles). A column outside the list leaves it unchanged.
void sortByColumnOnce(QTreeWidget& list, int column, ColumnOrder order);

} // namespace parvane::mainwindow
