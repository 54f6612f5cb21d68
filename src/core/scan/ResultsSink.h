#pragma once

#include <cstddef>
#include <string_view>

#include "core/scan/RowIdentity.h"

namespace parvane::scan {

// The columns of the results list, in order.
enum class ResultColumn
{
    Action,
    Sicovam,
    Dernier,
    UT,
    Ecart,
    Var,
    Commentaires,
};

inline constexpr int kResultColumnCount = 7;

// Headers of the results list: "Action", "Sicovam", "Dernier", "UT", "Ecart%", "Var%", "Commentaires".
std::string_view resultColumnHeader(int column) noexcept;

// Where a run puts its rows: the window's list or the command's table. Texts are Windows-1252
// bytes, as the base files hold them.
class ResultsSink
{
public:
    virtual ~ResultsSink() = default;

    // Removes every row and sets up the seven columns again (the run's step that empties the list).
    virtual void clear() = 0;

    // Adds an empty row at the end for the trend line `identity`; rows are numbered from 1 in
    // order of addition. The sink keeps the identity with the row, whatever order it shows them in.
    virtual void addRow(const RowIdentity& identity) = 0;
    virtual void setText(std::size_t row, ResultColumn column, std::string_view text) = 0;
};

} // namespace parvane::scan
