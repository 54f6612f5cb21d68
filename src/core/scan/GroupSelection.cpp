#include "core/scan/GroupSelection.h"

#include <unordered_set>

#include "core/scan/FolderIndex.h"
#include "core/scan/GroupFile.h"
#include "core/text/DiskName.h"

namespace parvane::scan {

namespace {

// dedoublonne: the names without repeats, each at the place of its first finding.
std::vector<std::string> dedoublonne(const std::vector<std::string>& droitesgroupe)
{
    std::vector<std::string> files;
    std::unordered_set<std::string_view> seen;
    seen.reserve(droitesgroupe.size());
    for (const std::string& name : droitesgroupe) {
        if (!name.empty() && seen.insert(name).second)
            files.push_back(name);
    }
    return files;
}

void report(const std::function<void(double)>& callback, double value)
{
    if (callback)
        callback(value);
}

} // namespace

std::vector<std::string> listegroupes(const BaseLayout& layout)
{
    std::vector<std::string> groups;
    for (const std::string& name : listTextFiles(layout.groupe)) {
        if (name == "All.txt")
            continue;
        groups.push_back(name.substr(0, name.size() - 4));
    }
    return groups;
}

Selection buildSelection(const BaseLayout& layout, const std::vector<std::string>& tickedGroups,
                         const SelectionProgress& progress)
{
    Selection selection;
    if (tickedGroups.empty())
        return selection;

    FolderIndex groups(layout.groupe);
    std::size_t total = 0;
    for (const std::string& group : tickedGroups)
        total += compteligne(groups.resolve(group + ".txt"));
    report(progress.range, static_cast<double>(total) + 1);
    report(progress.value, 0.1);

    FolderIndex trendLines(resolveUnderBase(layout.root, "\\base\\droite\\"));
    std::vector<std::string> droitesgroupe;
    std::vector<GroupEntry> entries;
    double value = 0.1;
    for (const std::string& group : tickedGroups) {
        if (progress.groupStarted)
            progress.groupStarted(group);
        if (!readGroupFile(groups.resolve(group + ".txt"), entries).ok())
            continue;
        for (const GroupEntry& entry : entries) {
            // A code or name that could lead out of the trend-line folder names no stock.
            const std::string fileName = stockFileName(entry.name, entry.code);
            if (!isPlainFileName(fileName))
                continue;
            // The line is Windows-1252; Wine keeps the file under the name's UTF-8 form, a copy
            // from Windows under the raw bytes.
            std::optional<std::filesystem::path> file;
            for (const std::string& name : text::diskNamesOf(fileName)) {
                if ((file = trendLines.findFile(name)))
                    break;
            }
            if (!file)
                continue;
            droitesgroupe.push_back(file->filename().string());
            value += 1;
            report(progress.value, value);
        }
    }

    if (!droitesgroupe.empty()) {
        selection.files = dedoublonne(droitesgroupe);
        selection.groups = tickedGroups;
        selection.active = true;
        report(progress.value, 0.1);
    }
    return selection;
}

} // namespace parvane::scan
