#include "cli/Explain.h"

#include <ostream>

#include "cli/ScanCommand.h"
#include "core/scan/AccountText.h"
#include "core/scan/StockAccount.h"
#include "core/text/DiskName.h"

namespace parvane::cli {

int explainCommand(const scan::BaseLayout& layout, const scan::ScanOptions& options, std::string_view stock,
                   bool tsv, char decimalSeparator, std::ostream& out, std::ostream& err)
{
    const auto account = scan::explainStock(layout, options, stock, decimalSeparator);
    if (!account) {
        err << "parvane-scan: action introuvable dans la base: " << stock << '\n';
        return kExitRefused;
    }
    // The account is ASCII but for the names on the disk, which are UTF-8 when valid.
    const std::string text = tsv ? scan::stockAccountTsv(*account, decimalSeparator)
                                 : scan::stockAccountText(*account, decimalSeparator);
    out << text::diskNameToUtf8(text);
    out.flush();
    return kExitRan;
}

} // namespace parvane::cli
