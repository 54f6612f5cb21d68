#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/TestBase.h"
#include "support/TestFiles.h"

namespace parvane::test {

using Arguments = std::vector<std::string>;

inline const std::string kHeader = "Action\tSicovam\tDernier\tUT\tEcart%\tVar%\tCommentaires\n";
inline const std::string kOneLine = trendLineFile({TrendLineFields{}});
// Against kOneLine's flat line at 10: within 3 %, and a crossing.
inline const std::string kNear = dailyHistory(100, "9.9", "9.8");
inline const std::string kCrossing = dailyHistory(100, "10.2", "9.9");

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

// A base ("<tmp>/root") and a program folder ("<tmp>/home") in a temporary folder, and
// parvane-scan run over them.
class ScanTest : public ::testing::Test
{
protected:
    ScanTest();

    std::filesystem::path home() const { return m_dir.path() / "home"; }

    // Runs parvane-scan with "--home" (unless given) and "--base" (when `onBase`) put first.
    ScanProcessResult scan(Arguments arguments, bool onBase = true, const std::string& locale = "C",
                           const std::function<void(int processId)>& whileRunning = {});

    std::string errorLog() const { return readFile(home() / "errorlog.txt"); }

    std::vector<std::filesystem::path> csvFiles() const;

    // What a run did, as text: its status, its output streams, then every file of the temporary
    // folder that it created, changed or removed (the error log as its messages), with the folder
    // written "<tmp>" and the time in CSV names "<time>".
    std::string transcript(const ScanProcessResult& result,
                           const std::map<std::string, std::string>& before) const;

    // Checks `actual` against the golden file tests/data/`name`; with PARVANE_UPDATE_GOLDEN set,
    // writes it there first.
    static void expectGolden(const std::string& name, const std::string& actual);

    TempDir m_dir;
    TestBase m_base;
};

} // namespace parvane::test
