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
    const scan::StockSearch search = scan::findStockInBase(layout, stock);
    const auto account = search.fileName
                             ? scan::explainStock(layout, options, *search.fileName, decimalSeparator)
                             : std::nullopt;
    if (!account) {
        err << "parvane-scan: action introuvable dans la base: " << stock << '\n';
        if (!search.suggestions.empty()) {
            err << "voulez-vous dire";
            for (std::size_t i = 0; i < search.suggestions.size(); ++i)
                err << (i == 0 ? " " : ", ") << search.suggestions[i];
            err << " ?\n";
        }
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
