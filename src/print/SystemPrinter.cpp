#include "print/SystemPrinter.h"

namespace parvane::print {

QPrinterInfo systemPrinter()
{
    QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (printer.isNull()) {
        const QList<QPrinterInfo> installed = QPrinterInfo::availablePrinters();
        if (!installed.isEmpty())
            printer = installed.constFirst();
    }
    return printer;
}

std::optional<QPageSize::PageSizeId> pageSizeForPaperCode(int code)
{
    // Qt knows the DMPAPER numbering, small variants (2 Letter Small, 10 A4 Small) included, and
    // answers Custom for a number it does not know.
    const QPageSize::PageSizeId id = QPageSize::id(code);
    if (id == QPageSize::Custom)
        return std::nullopt;
    return id;
}

int paperCodeForPageSize(const QPageSize& pageSize)
{
    if (!pageSize.isValid())
        return kPaperCodeUser;
    const int code = pageSize.windowsId();
    return code > 0 ? code : kPaperCodeUser;
}

} // namespace parvane::print
