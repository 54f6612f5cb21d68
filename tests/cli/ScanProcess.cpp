#include "ScanProcess.h"

#include <chrono>
#include <thread>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/TestFiles.h"

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

} // namespace parvane::test
