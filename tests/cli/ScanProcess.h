#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/TestBase.h"
#include "support/TestFiles.h"

namespace parvane::test {

using Arguments = std::vector<std::string>;

inline const std::string kOneLine = trendLineFile({TrendLineFields{}});
// Against kOneLine's flat line at 10: within 3 %, and a crossing.
inline const std::string kNear = dailyHistory(100, "9.9", "9.8");
inline const std::string kCrossing = dailyHistory(100, "10.2", "9.9");

// What one run of parvane-scan left behind.
struct ScanProcessResult
{
    int exitStatus = -1; // the exit status; -1 when the program did not exit by itself
    std::string out;     // standard output
    std::string err;     // standard error
};

// A base ("<tmp>/root") and a program folder ("<tmp>/home") in a temporary folder, and
// parvane-scan run over them.
class ScanTest : public ::testing::Test
{
protected:
    ScanTest();
    ~ScanTest() override;

    std::filesystem::path home() const { return m_dir.path() / "home"; }

    // Runs parvane-scan with "--home" (unless given) and "--base" (when `onBase`) put first, its
    // standard input empty, LC_ALL set to `locale`, HOME and WINEPREFIX in the test's folder.
    // `whileRunning` is called with the process id once started.
    ScanProcessResult scan(Arguments arguments, bool onBase = true, const std::string& locale = "C",
                           const std::function<void(int processId)>& whileRunning = {});

    // A command of a case file, on a path under the test's folder (replacing any file there): "write PATH
    // BYTES" (parts joined by "+", see part()), "dir PATH", "link PATH TARGET", "sparse PATH SIZE", "fifo
    // PATH", "reader PATH" (a FIFO open for reading until the test ends), or "traders PATH" (the base
    // of addTraderStocks, its stocks and groups); "<tmp>" is the test's folder.
    void apply(std::string command);

    // Runs the case files of tests/data/FOLDER in name order. A case file starts with its
    // commands, each on a line "$ COMMAND": set-up commands then "[LC_ALL=LOCALE ]parvane-scan
    // ARGUMENTS"; the transcript of that run follows. Set-up files ("00-*") hold commands only; any
    // other file without a run, or a folder without a run, fails. The CSV files of earlier runs are
    // removed before each run.
    void runCases(const std::string& folder);

    // What a run did, as text: its status, its output streams, then every file of the temporary
    // folder that it created, changed or removed (the error log as its messages), with the folder
    // written "<tmp>", the dates and times of the error log as their shape, and today's CSV names
    // "result_<date>_<time>.csv".
    std::string transcript(const ScanProcessResult& result,
                           const std::map<std::string, std::string>& before) const;

    // Checks `actual` against the golden file tests/data/`name` (see keepActual()).
    static void expectGolden(const std::string& name, const std::string& actual);

    TempDir m_dir;
    TestBase m_base;
    std::vector<int> m_readers;
};

} // namespace parvane::test
