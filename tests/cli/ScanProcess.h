#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace parvane::test {

// What one run of parvane-scan left behind.
struct ScanProcessResult
{
    int exitStatus = -1; // the exit status; -1 when the program did not exit by itself
    bool timedOut = false;
    std::string out; // standard output
    std::string err; // standard error
};

// Runs the parvane-scan built with the tests with `arguments`, its standard input empty, with
// LC_ALL set to `locale` and HOME set to `scratch` (so that nothing outside the test's folders is
// touched). Its output is collected in files under `scratch`. A run that takes longer than two
// minutes is killed and reported as timed out. `whileRunning`, when given, is called with the
// process id once the program has been started, before it is waited for.
ScanProcessResult runScanProgram(const std::vector<std::string>& arguments,
                                 const std::filesystem::path& scratch,
                                 const std::function<void(int processId)>& whileRunning = {},
                                 const std::string& locale = "C");

} // namespace parvane::test
