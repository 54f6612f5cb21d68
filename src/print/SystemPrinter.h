#pragma once

#include <optional>

#include <QPageSize>
#include <QPrinterInfo>

namespace parvane::print {

// Windows DMPAPER_USER: a paper size the printer defines itself. A page with this code keeps the
// printer's own paper.
inline constexpr int kPaperCodeUser = 256;

// The printer a print goes to: the system's default printer, else the first installed printer.
// A null QPrinterInfo when no printer is installed.
QPrinterInfo systemPrinter();

// The Qt page size of a Windows DMPAPER_* code (9 A4, 1 Letter, 5 Legal, 8 A3, 11 A5 ...);
// std::nullopt for a code that names no paper.
std::optional<QPageSize::PageSizeId> pageSizeForPaperCode(int code);

// The DMPAPER_* code of a Qt page size; kPaperCodeUser when it has none.
int paperCodeForPageSize(const QPageSize& pageSize);

} // namespace parvane::print
