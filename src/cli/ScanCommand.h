#pragma once

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "cli/NewRows.h"
#include "core/scan/PathMapping.h"
#include "core/scan/ScanOptions.h"

namespace parvane::cli {

// Exit statuses of parvane-scan.
inline constexpr int kExitRan = 0;     // a run took place (errors logged or not)
inline constexpr int kExitRefused = 2; // the base check or a threshold refused the run
inline constexpr int kExitUsage = 64;  // the command line is wrong
// SIGINT or SIGTERM cut the run short: 128 + the signal number, as a shell reports a process
// that the signal ended, so that a script never takes the incomplete result files for a run.
inline constexpr int kExitInterruptedBase = 128;

// The command line of parvane-scan, as read.
struct ScanArguments
{
    std::optional<std::string> home;
    std::optional<std::string> base;
    int baseIndex = 1;
    bool baseIndexGiven = false;
    std::vector<std::string> groups;
    bool groupsGiven = false;
    scan::ScanOptions options;
    std::string maxGapText = "1";
    std::string volumeText = "20";
    bool tsv = false;
    bool newOnly = false;
    bool notify = false;
    std::optional<std::string> explain;
    bool watch = false;
    int settleSeconds = 10;
};

// What one run did, for the watch and the notification's action.
struct RunReport
{
    int exitStatus = 0;
    bool baseMissing = false; // the run was refused because the base folder is missing
    std::filesystem::path programFolder;
    scan::BaseLayout layout;
    std::vector<PrintedRow> fresh; // with --new-only or --notify, the rows new since the previous run
    // The notification that offers to open the new rows, when one was sent.
    std::optional<std::uint32_t> notification;
};

// Reads the command line `arguments` into `parsed`. Returns the exit status when the command ends
// there: after the usage on `out` (--help), or after a usage error on `err`.
std::optional<int> parseCommandLine(const std::vector<std::string>& arguments, ScanArguments& parsed,
                                    std::ostream& out, std::ostream& err);

// One run of parvane-scan as the command line `parsed` asks: the checks, the scan, the results on
// `out`, the status and every message on `err`, the kept rows, the notification. Returns the exit
// status and what the watch and the notification's action need.
RunReport runOnce(const ScanArguments& parsed, std::ostream& out, std::ostream& err);

// parvane-scan: one program start and one run, as the window's "OK!" does it. `arguments` are
// the command-line arguments without the program name. With --watch, runs until SIGINT or SIGTERM
// (see runWatch). The results go to `out`, the status and
// every message to `err`. Returns the exit status.
int runScanCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace parvane::cli
