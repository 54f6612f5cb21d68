#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace parvane::cli {

// Exit statuses of parvane-scan.
inline constexpr int kExitRan = 0;     // a run took place (errors logged or not)
inline constexpr int kExitRefused = 2; // the base check or a threshold refused the run
inline constexpr int kExitUsage = 64;  // the command line is wrong

// parvane-scan: one program start and one run, as the window's "OK!" does it. `arguments` are
// the command-line arguments without the program name. The results go to `out`, the status and
// every message to `err`. Returns the exit status.
int runScanCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace parvane::cli
