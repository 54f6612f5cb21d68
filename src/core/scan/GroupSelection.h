#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "core/scan/PathMapping.h"
#include "core/scan/Selection.h"

namespace parvane::scan {

// listegroupes: the groups of the base, named by their file names without ".txt", in walk order;
// the exact name "All.txt" is left out ("all.txt" is listed).
std::vector<std::string> listegroupes(const BaseLayout& layout);

// Progress of the group dialog's OK!: the bar's range and value, and the group being read.
struct SelectionProgress
{
    std::function<void(double maximum)> range;
    std::function<void(double value)> value;
    std::function<void(const std::string& groupName)> groupStarted; // caption gets "-" & name
};

// The OK! of the group dialog for the ticked groups in row order: compteligne, recupdroites and
// dedoublonne. `tickedGroups` are group names as on the disk (see findGroupName for typed names).
// A group line naming a stock whose trend-line file does not exist, or whose file name would lead
// out of the trend-line folder, names no stock. The result is active, with its groups, when at
// least one trend-line file was found.
Selection buildSelection(const BaseLayout& layout, const std::vector<std::string>& tickedGroups,
                         const SelectionProgress& progress = {});

} // namespace parvane::scan
