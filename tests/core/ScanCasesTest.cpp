#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/evaluation/NumberRules.h"
#include "core/scan/GroupSelection.h"
#include "core/scan/ResultsOrder.h"
#include "core/scan/ScanRun.h"
#include "core/support/ScanRecorders.h"
#include "support/TestBase.h"
#include "support/TestFiles.h"

namespace parvane::scan {
namespace {

namespace fs = std::filesystem;
using Tree = std::map<std::string, std::string>;

// The scan's behaviour as data. Each folder of tests/data/scan holds one case:
// - "options": one option a line: proximity, daily, weekly, crossing, csv, comments-group,
//   max-gap=TEXT, volume=TEXT, groups=A,B (the group dialog's ticked groups), separator=C,
//   files=A,B (the selection itself, stocks missing included), stop-after=N (cancels after N
//   stocks), trader-base (the base is test::addTraderStocks's, with no "base/" folder in the case),
//   identities (the rows' identities are recorded too), too-large=PATH (under base/: a sparse file of 256 MiB
//   + 1), fifo=PATH (a FIFO), cold (the base's files are put on the disk and dropped from the page
//   cache);
// - "base/": the base as the run finds it (stock names on the disk as Wine writes them; links kept);
// - "expected/rows": the list after the end-of-run sort, a row a line, cells Tab-separated;
// - "expected/identities": with the option identities, each row's identity in the order the rows
//   were added: Action, file name, line, unit, kind, base ("$ROOT/root");
// - "expected/status": Label8 after the run;
// - "expected/errorlog.txt": the error log, "$ROOT" standing for the case's temporary folder;
// - "expected/progress": what the window was shown: status texts, progress bar, CSV label;
// - "expected/base/": each file of the base that the run creates or rewrites, byte for byte;
//   every other file of the base must be left as it was; a file left empty holds "<empty>".
// An empty expected file is left out. The run's moment is fixed (3 February
// 2026, 09:05:07) and so is its decimal separator ("," unless the case says otherwise). Every run,
// cancelled ones included, leaves no file descriptor open.
// "cases.txt" names every case, one a line: a case folder that goes missing fails its test, and a
// folder that the list does not name fails IndexNamesEveryCaseFolder.
const fs::path kCases = fs::path(PARVANE_TEST_DATA_DIR) / "scan";

std::vector<std::string> caseNames()
{
    std::vector<std::string> names;
    std::istringstream lines(test::readFile(kCases / "cases.txt"));
    for (std::string line; std::getline(lines, line);)
        if (!line.empty() && line[0] != '#')
            names.push_back(line);
    return names;
}

std::ptrdiff_t openDescriptors()
{
    return std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator());
}

TEST(ScanCases, IndexNamesEveryCaseFolder)
{
    std::vector<std::string> folders;
    for (const auto& entry : fs::directory_iterator(kCases))
        if (entry.is_directory())
            folders.push_back(entry.path().filename().string());
    std::sort(folders.begin(), folders.end());
    std::vector<std::string> listed = caseNames();
    std::sort(listed.begin(), listed.end());
    EXPECT_FALSE(listed.empty());
    EXPECT_EQ(folders, listed);
}

Tree filesUnder(const fs::path& root)
{
    Tree tree = test::snapshotTree(root);
    std::erase_if(tree, [](const auto& entry) { return entry.second == "<dir>"; });
    return tree;
}

std::string replaceAll(std::string text, std::string_view from, std::string_view to)
{
    for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
        text.replace(at, from.size(), to);
    return text;
}

class ScanCases : public ::testing::TestWithParam<std::string>
{};

TEST_P(ScanCases, LeaveTheExpectedListFilesAndLog)
{
    const fs::path source = kCases / GetParam();
    ASSERT_TRUE(fs::is_regular_file(source / "options")) << "a case without its options: " << source;
    const bool madeBase = test::readFile(source / "options").find("trader-base") != std::string::npos;
    ASSERT_TRUE((madeBase || fs::is_directory(source / "base")) && fs::is_directory(source / "expected"))
        << source;
    test::TempDir dir;
    const fs::path root = dir.path() / "root";
    fs::create_directories(root);
    if (fs::exists(source / "base"))
        fs::copy(source / "base", root / "base",
                 fs::copy_options::recursive | fs::copy_options::copy_symlinks);
    // Git keeps no empty folder: a case's empty folder holds a ".keep" file, removed here.
    std::vector<fs::path> keeps;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.path().filename() == ".keep")
            keeps.push_back(entry.path());
    for (const fs::path& keep : keeps)
        fs::remove(keep);

    ScanOptions options;
    char separator = ',';
    bool identities = false;
    bool cold = false;
    std::map<std::string, std::vector<std::string>> lists;
    test::RecordingSink sink;
    test::RecordingObserver observer;
    std::istringstream lines(test::readFile(source / "options"));
    for (std::string line; std::getline(lines, line);) {
        const std::size_t equals = line.find('=');
        const std::string key = line.substr(0, equals);
        const std::string value = equals == std::string::npos ? "" : line.substr(equals + 1);
        const std::map<std::string, bool*> flags = {
            {"proximity", &options.proximity}, {"daily", &options.daily},
            {"weekly", &options.weekly},       {"crossing", &options.crossing},
            {"csv", &options.csvFile},         {"comments-group", &options.commentsGroup},
            {"volume", &options.volumeFilter}};
        if (flags.contains(key))
            *flags.at(key) = true;
        if (key == "max-gap")
            options.maxGap = evaluation::readNumber(value);
        else if (key == "volume")
            options.volumeThreshold = evaluation::readNumber(value);
        else if (key == "separator")
            separator = value.at(0);
        else if (key == "stop-after")
            observer.stopAfter = std::stoul(value);
        else if (key == "trader-base")
            test::addTraderStocks(test::TestBase(root));
        else if (key == "identities")
            identities = true;
        else if (key == "too-large")
            test::writeSparseFile(root / "base" / value, (std::uintmax_t{256} << 20) + 1);
        else if (key == "fifo")
            ASSERT_EQ(::mkfifo((root / "base" / value).c_str(), 0600), 0);
        else if (key == "cold")
            cold = true;
        else if (key == "groups" || key == "files") {
            std::istringstream names(value);
            for (std::string name; std::getline(names, name, ',');)
                lists[key].push_back(name);
        } else if (!flags.contains(key))
            FAIL() << "unknown option: " << line;
    }

    const BaseLayout layout = BaseLayout::resolve(root, "", "");
    Selection selection = buildSelection(layout, lists["groups"]);
    if (lists.contains("files"))
        selection = {true, lists["files"]};
    FixedEnvironment environment(test::fixedMoment(), separator);
    ErrorLog log(dir.path() / "errorlog.txt", environment);
    const Tree before = filesUnder(root / "base");
    for (const auto& entry : fs::recursive_directory_iterator(root / "base")) {
        const int fd = cold && entry.is_regular_file() ? ::open(entry.path().c_str(), O_RDONLY) : -1;
        if (fd >= 0 && ::fsync(fd) == 0)
            ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        if (fd >= 0)
            ::close(fd);
    }
    const std::ptrdiff_t descriptors = openDescriptors();
    const RunOutcome outcome = runScan(layout, options, selection, sink, observer, log, environment);
    EXPECT_EQ(openDescriptors(), descriptors);

    Tree actual;
    for (const auto& [name, bytes] : filesUnder(root / "base")) {
        const auto found = before.find(name);
        if (found == before.end() || found->second != bytes)
            actual["base/" + name] = bytes.empty() ? "<empty>\n" : bytes;
    }
    for (const auto& [name, bytes] : before) {
        if (!fs::exists(root / "base" / name))
            actual["base/" + name] = "<deleted>";
    }
    for (std::size_t i = 0; identities && i < sink.rows.size(); ++i) {
        const RowIdentity& row = sink.identities[i];
        actual["identities"] += sink.rows[i][0] + "\t" + row.fileName + "\t" + std::to_string(row.lineNumber)
                                + "\t" + row.unit + "\t" + (row.crossing ? "crossing" : "proximity") + "\t"
                                + replaceAll(row.base.string(), dir.path().string(), "$ROOT") + "\n";
    }
    std::vector<ResultTexts> rows(sink.rows.begin(), sink.rows.end());
    sortResultRows(rows, ResultColumn::Action);
    for (const ResultTexts& row : rows) {
        for (std::size_t column = 0; column < row.size(); ++column)
            actual["rows"] += (column == 0 ? "" : "\t") + row[column];
        actual["rows"] += '\n';
    }
    const std::string status = outcome.scanned                ? outcome.status
                               : observer.statusTexts.empty() ? std::string()
                                                              : observer.statusTexts.back();
    actual["status"] = status + "\n";
    std::ostringstream shown;
    for (const std::string& text : observer.statusTexts)
        shown << "status " << text << '\n';
    for (const auto& [name, numbers] : {std::pair{"range", observer.ranges},
                                        {"value", observer.values},
                                        {"stock", observer.stockProgress}}) {
        shown << name;
        for (const double number : numbers)
            shown << ' ' << number;
        shown << '\n';
    }
    shown << "bar " << observer.progressVisible << "\ncsv " << observer.csvFile.string() << '\n';
    actual["progress"] = replaceAll(shown.str(), dir.path().string(), "$ROOT");
    actual["errorlog.txt"] =
        replaceAll(test::readFile(dir.path() / "errorlog.txt"), dir.path().string(), "$ROOT");
    std::erase_if(actual, [](const auto& entry) { return entry.second.empty(); });

    for (const auto& [name, bytes] : actual)
        test::keepActual("scan/" + GetParam() + "/expected/" + name, bytes);
    EXPECT_EQ(actual, filesUnder(source / "expected"));
}

INSTANTIATE_TEST_SUITE_P(Data, ScanCases, ::testing::ValuesIn(caseNames()),
                         [](const auto& param) { return param.param; });

} // namespace
} // namespace parvane::scan
