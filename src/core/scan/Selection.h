#pragma once

#include <string>
#include <vector>

namespace parvane::scan {

// The stocks that the group dialog chose: while `active`, runs scan only `files` (trend-line file
// names, distinct, in the order first found), else every trend-line file of the active base.
// The choice stays in force for later runs until the dialog changes it.
struct Selection
{
    bool active = false;
    std::vector<std::string> files;
    // The groups ticked in the dialog, by name (their file names without ".txt"). Initialised so
    // that a selection written as {active, files} leaves it empty without a warning.
    std::vector<std::string> groups{};
};

} // namespace parvane::scan
