#include "cli/NewRows.h"

#include <ostream>

namespace parvane::cli {

std::vector<PrintedRow> newRowsSincePreviousRun(const std::filesystem::path& file,
                                                const scan::BaseLayout& layout, const std::string& optionsKey,
                                                const std::vector<PrintedRow>& rows, bool complete,
                                                std::ostream& err)
{
    std::vector<scan::RowIdentity> identities;
    identities.reserve(rows.size());
    for (const PrintedRow& row : rows)
        identities.push_back(row.identity);
    const scan::NewRowsResult marked = scan::markNewRows(file, layout, optionsKey, identities, complete);
    for (const std::string& problem : marked.problems)
        err << "parvane-scan: " << problem << '\n';
    std::vector<PrintedRow> fresh;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (marked.isNew[i])
            fresh.push_back(rows[i]);
    }
    return fresh;
}

} // namespace parvane::cli
