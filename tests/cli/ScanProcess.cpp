#include "ScanProcess.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <regex>
#include <thread>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace parvane::test {

namespace {

constexpr auto kTimeLimit = std::chrono::minutes(2);

bool isReplaced(const std::string& entry)
{
    for (const char* name : {"LC_ALL=", "LANG=", "LC_NUMERIC=", "LC_TIME=", "HOME=", "WINEPREFIX="}) {
        if (entry.rfind(name, 0) == 0)
            return true;
    }
    return false;
}

} // namespace

ScanProcessResult runScanProgram(const std::vector<std::string>& arguments,
                                 const std::filesystem::path& scratch,
                                 const std::function<void(int processId)>& whileRunning,
                                 const std::string& locale)
{
    ScanProcessResult result;
    std::filesystem::create_directories(scratch);
    const std::string outFile = (scratch / "stdout.txt").string();
    const std::string errFile = (scratch / "stderr.txt").string();

    std::vector<std::string> argumentTexts = {PARVANE_SCAN_PROGRAM};
    argumentTexts.insert(argumentTexts.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& text : argumentTexts)
        argv.push_back(text.data());
    argv.push_back(nullptr);

    std::vector<std::string> environment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        if (!isReplaced(*entry))
            environment.emplace_back(*entry);
    }
    environment.push_back("LC_ALL=" + locale);
    environment.push_back("HOME=" + scratch.string());
    environment.push_back("WINEPREFIX=" + (scratch / "wine").string());
    std::vector<char*> envp;
    for (std::string& text : environment)
        envp.push_back(text.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    const int spawnError = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawnError != 0) {
        ADD_FAILURE() << "cannot start " << argv[0] << ": error " << spawnError;
        return result;
    }

    if (whileRunning)
        whileRunning(pid);
    const auto deadline = std::chrono::steady_clock::now() + kTimeLimit;
    int status = 0;
    for (;;) {
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid)
            break;
        if (done < 0) {
            ADD_FAILURE() << "waitpid failed";
            return result;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            result.timedOut = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (!result.timedOut && WIFEXITED(status))
        result.exitStatus = WEXITSTATUS(status);
    result.out = readFile(outFile);
    result.err = readFile(errFile);
    return result;
}

ScanTest::ScanTest()
    : m_base(m_dir.path() / "root")
{
    std::filesystem::create_directories(home());
}

ScanProcessResult ScanTest::scan(Arguments arguments, bool onBase, const std::string& locale,
                                 const std::function<void(int processId)>& whileRunning)
{
    if (onBase)
        arguments.insert(arguments.begin(), {"--base", m_base.root().string()});
    if (std::find(arguments.begin(), arguments.end(), "--home") == arguments.end())
        arguments.insert(arguments.begin(), {"--home", home().string()});
    ScanProcessResult result = runScanProgram(arguments, m_dir.path() / "scratch", whileRunning, locale);
    EXPECT_FALSE(result.timedOut);
    return result;
}

std::vector<std::filesystem::path> ScanTest::csvFiles() const
{
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(m_base.base())) {
        if (entry.path().extension() == ".csv")
            files.push_back(entry.path());
    }
    return files;
}

std::string ScanTest::transcript(const ScanProcessResult& result,
                                 const std::map<std::string, std::string>& before) const
{
    std::string text =
        "status " + std::to_string(result.exitStatus) + "\n--- out\n" + result.out + "--- err\n" + result.err;
    const auto after = snapshotBaseTree(m_dir.path());
    for (const auto& [name, bytes] : after) {
        const auto old = before.find(name);
        if (name.rfind("scratch", 0) == 0 || (old != before.end() && old->second == bytes))
            continue;
        text += "--- " + name + "\n";
        if (name.ends_with("errorlog.txt")) {
            for (const std::string& message : errorLogMessages(bytes))
                text += message + "\n";
        } else {
            text +=
                bytes.starts_with("<dir>") || bytes.starts_with("<link>") || bytes.starts_with("<special>")
                    ? bytes + "\n"
                    : bytes;
        }
    }
    for (const auto& [name, bytes] : before) {
        if (!after.contains(name))
            text += "--- removed " + name + "\n";
    }
    const std::string tmp = m_dir.path().string();
    for (std::size_t at = text.find(tmp); at != std::string::npos; at = text.find(tmp, at))
        text.replace(at, tmp.size(), "<tmp>");
    return std::regex_replace(text, std::regex(R"(result_[0-9]{8}_[0-9]{4}\.csv)"), "result_<time>.csv");
}

void ScanTest::expectGolden(const std::string& name, const std::string& actual)
{
    const std::filesystem::path file = std::filesystem::path(PARVANE_TEST_DATA_DIR) / name;
    if (std::getenv("PARVANE_UPDATE_GOLDEN") != nullptr)
        writeFile(file, actual);
    EXPECT_EQ(actual, readFile(file)) << name;
}

} // namespace parvane::test
