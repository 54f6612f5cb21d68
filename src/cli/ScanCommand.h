#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace parvane::cli {

// Exit statuses of parvane-scan.
inline constexpr int kExitRan = 0;     // a run took place (errors logged or not)
inline constexpr int kExitRefused = 2; // the base check or a threshold refused the run
inline constexpr int kExitUsage = 64;  // the command line is wrong
// SIGINT or SIGTERM cut the run short: 128 + the signal number, as a shell reports a process
// that the signal ended, so that a script never takes the incomplete result files for a run.
inline constexpr int kExitInterruptedBase = 128;

// parvane-scan: one program start and one run, as the window's "OK!" does it. `arguments` are
// the command-line arguments without the program name. The results go to `out`, the status and
// every message to `err`. Returns the exit status.
int runScanCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace parvane::cli
