#include "ScanProcess.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <regex>
#include <sstream>
#include <thread>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace parvane::test {

namespace fs = std::filesystem;

namespace {

std::vector<std::string> split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::istringstream stream(text);
    for (std::string part; std::getline(stream, part, separator);)
        parts.push_back(part);
    return parts;
}

// Literal bytes with the escapes \r, \n, \t, \\ and \xHH.
std::string unescape(const std::string& text)
{
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && text.compare(i + 1, 1, "x") == 0) {
            bytes += static_cast<char>(std::stoi(text.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else if (text[i] == '\\' && i + 1 < text.size()) {
            const char code = text[++i];
            bytes += code == 'r' ? '\r' : code == 'n' ? '\n' : code == 't' ? '\t' : code;
        } else {
            bytes += text[i];
        }
    }
    return bytes;
}

// Bytes of every value from a fixed generator, so that a failure can be replayed.
std::string garbage(std::size_t size, std::uint32_t seed)
{
    std::string bytes(size, '\0');
    for (char& byte : bytes) {
        seed = seed * 1664525u + 1013904223u;
        byte = static_cast<char>(seed >> 24);
    }
    return bytes;
}

// One part of a file's bytes: "@line[:FIELD=VALUE,...]" (a trend line), "@daily:COUNT:PREVIOUS:LAST[:
// VOLUME:VOLUME]", "@garbage:SIZE:SEED[:oneline]", or literal bytes.
std::string part(const std::string& text)
{
    const std::vector<std::string> words = split(text, ':');
    std::string bytes;
    if (words[0] == "@line") {
        TrendLineFields line;
        for (const std::string& field :
             words.size() > 1 ? split(words[1], ',') : std::vector<std::string>{}) {
            const auto equals = field.find('=');
            const std::string name = field.substr(0, equals), value = field.substr(equals + 1);
            for (auto [key, member] : {std::pair{"unit", &line.unit},
                                       {"kind", &line.kind},
                                       {"slope", &line.slope},
                                       {"intercept", &line.intercept},
                                       {"first", &line.firstAnchor},
                                       {"second", &line.secondAnchor},
                                       {"field8", &line.field8}})
                if (name == key)
                    *member = value;
        }
        bytes = trendLineFile({line});
    } else if (words[0] == "@daily") {
        bytes = dailyHistory(std::stoul(words[1]), words[2], words[3], words.size() > 4 ? words[4] : "1000",
                             words.size() > 5 ? words[5] : "1000");
    } else if (words[0] == "@garbage") {
        bytes = garbage(std::stoul(words[1]), static_cast<std::uint32_t>(std::stoul(words[2])));
        if (words.size() > 3)
            std::replace_if(
                bytes.begin(), bytes.end(), [](char c) { return c == '\n' || c == '\r'; }, 'n');
    } else {
        bytes = unescape(text);
    }
    return bytes;
}

} // namespace

ScanTest::ScanTest()
    : m_base(m_dir.path() / "root")
{
    fs::create_directories(home());
}

ScanTest::~ScanTest()
{
    for (const int reader : m_readers)
        ::close(reader);
}

ScanProcessResult ScanTest::scan(Arguments arguments, bool onBase, const std::string& locale,
                                 const std::function<void(int processId)>& whileRunning)
{
    if (onBase)
        arguments.insert(arguments.begin(), {"--base", m_base.root().string()});
    if (std::find(arguments.begin(), arguments.end(), "--home") == arguments.end())
        arguments.insert(arguments.begin(), {"--home", home().string()});
    arguments.insert(arguments.begin(), PARVANE_SCAN_PROGRAM);
    std::vector<char*> argv;
    for (std::string& text : arguments)
        argv.push_back(text.data());
    argv.push_back(nullptr);
    const fs::path scratch = m_dir.path() / "scratch";
    fs::create_directories(scratch);
    for (const char* name : {"LANG", "LC_NUMERIC", "LC_TIME"})
        ::unsetenv(name);
    ::setenv("LC_ALL", locale.c_str(), 1);
    ::setenv("HOME", scratch.c_str(), 1);
    ::setenv("WINEPREFIX", (scratch / "wine").c_str(), 1);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, (scratch / "out").c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, (scratch / "err").c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    pid_t pid = 0;
    const int spawnError = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawnError != 0) {
        ADD_FAILURE() << "cannot start " << argv[0] << ": error " << spawnError;
        return {};
    }
    if (whileRunning)
        whileRunning(pid);
    // A run that takes longer than two minutes is killed.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
    int status = 0;
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ADD_FAILURE() << "parvane-scan did not end";
            ::kill(pid, SIGKILL);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(scratch / "out"),
            readFile(scratch / "err")};
}

void ScanTest::apply(std::string command)
{
    for (std::size_t at = command.find("<tmp>"); at != std::string::npos; at = command.find("<tmp>", at))
        command.replace(at, 5, m_dir.path().string());
    const std::vector<std::string> words = split(command, ' ');
    const fs::path path = m_dir.path() / unescape(words.at(1));
    fs::create_directories(path.parent_path());
    std::error_code ignored;
    fs::remove(path, ignored); // what an earlier case wrote there
    if (words[0] == "write") {
        std::string bytes;
        for (const std::string& piece : split(words.size() > 2 ? words[2] : "", '+'))
            bytes += part(piece);
        writeFile(path, bytes);
    } else if (words[0] == "dir") {
        fs::create_directories(path);
    } else if (words[0] == "link") {
        fs::create_symlink(unescape(words.at(2)), path);
    } else if (words[0] == "sparse") {
        writeSparseFile(path, std::stoull(words.at(2)));
    } else if (words[0] == "traders") { // the base of test::addTraderStocks at PATH
        addTraderStocks(TestBase(path));
    } else if (words[0] == "fifo" || words[0] == "reader") {
        ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0) << path;
        if (words[0] == "reader") // the FIFO with a reader: opening it succeeds
            m_readers.push_back(::open(path.c_str(), O_RDONLY | O_NONBLOCK));
    } else {
        FAIL() << "unknown command: " << command;
    }
}

void ScanTest::runCases(const std::string& folder)
{
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(fs::path(PARVANE_TEST_DATA_DIR) / folder))
        files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    std::size_t runs = 0;
    for (const fs::path& file : files) {
        const std::string text = readFile(file);
        const std::string name = file.lexically_relative(PARVANE_TEST_DATA_DIR).string();
        std::string commands;
        std::optional<std::string> transcribed;
        std::size_t at = 0;
        while (text.compare(at, 2, "$ ") == 0) {
            const std::size_t end = text.find('\n', at);
            const std::string command = text.substr(at + 2, end - at - 2);
            commands += text.substr(at, end + 1 - at);
            at = end + 1;
            const auto program = command.find("parvane-scan");
            if (program == std::string::npos) {
                apply(command);
                continue;
            }
            // "[LC_ALL=LOCALE ]parvane-scan ARGUMENTS": "<tmp>" is the test's folder, "<relative>"
            // the base's path relative to the working folder.
            Arguments arguments = split(command.substr(program + 12), ' ');
            arguments.erase(arguments.begin());
            for (std::string& argument : arguments) {
                if (argument == "<relative>")
                    argument = fs::relative(m_base.root(), fs::current_path()).string();
                else if (argument.starts_with("<tmp>"))
                    argument.replace(0, 5, m_dir.path().string());
            }
            for (const auto& entry : fs::directory_iterator(m_base.base())) {
                if (entry.path().extension() == ".csv") // a run of the same minute would replace it
                    fs::remove(entry.path());
            }
            const auto before = snapshotBaseTree(m_dir.path());
            const ScanProcessResult result =
                scan(arguments, false, program == 0 ? "C" : command.substr(7, program - 8));
            transcribed = transcript(result, before);
        }
        // Only the set-up files ("00-*") go without a run, and they hold nothing but commands.
        if (file.filename().string().starts_with("00-")) {
            EXPECT_TRUE(!transcribed && at == text.size()) << name << ": a set-up file runs nothing";
        } else if (!transcribed) {
            ADD_FAILURE() << name << ": no \"$ parvane-scan\" line";
        } else {
            ++runs;
            expectGolden(name, commands + *transcribed);
        }
    }
    EXPECT_GT(runs, 0U) << "no case in tests/data/" << folder;
}

std::string ScanTest::transcript(const ScanProcessResult& result,
                                 const std::map<std::string, std::string>& before) const
{
    std::string text =
        "status " + std::to_string(result.exitStatus) + "\n--- out\n" + result.out + "--- err\n" + result.err;
    const auto after = snapshotBaseTree(m_dir.path());
    // The dates and times of an error log as their shape ("dd/dd/dddd dd:dd:dd").
    const auto shape = [](const std::string& name, std::string bytes) {
        for (std::size_t line = 0; name.ends_with("errorlog.txt") && line < bytes.size();) {
            const std::size_t bar = bytes.find(" | ", line);
            const std::size_t end = std::min(bytes.find('\n', line), bytes.size() - 1);
            for (std::size_t i = line; i < std::min(bar, end); ++i)
                bytes[i] = std::isdigit(static_cast<unsigned char>(bytes[i])) != 0 ? 'd' : bytes[i];
            line = end + 1;
        }
        return bytes;
    };
    for (const auto& [name, raw] : after) {
        const std::string bytes = shape(name, raw);
        const auto old = before.find(name);
        if (name.rfind("scratch", 0) == 0 || (old != before.end() && shape(name, old->second) == bytes))
            continue;
        const bool marker = bytes.starts_with("<dir>") || bytes.starts_with("<link>") || bytes == "<special>";
        text += "--- " + name + "\n" + bytes + (marker ? "\n" : "");
    }
    for (const auto& [name, bytes] : before) {
        if (!after.contains(name))
            text += "--- removed " + name + "\n";
    }
    const std::string tmp = m_dir.path().string();
    for (std::size_t at = text.find(tmp); at != std::string::npos; at = text.find(tmp, at))
        text.replace(at, tmp.size(), "<tmp>");
    text = std::regex_replace(text, std::regex("newrows-[0-9a-f]{16}"), "newrows-<key>");
    // CSV files are named after the run's local date and time.
    const std::time_t now = std::time(nullptr);
    char today[32];
    std::strftime(today, sizeof today, "result_%d%m%Y_", std::localtime(&now));
    return std::regex_replace(text, std::regex(std::string(today) + R"([0-9]{4}\.csv)"),
                              "result_<date>_<time>.csv");
}

void ScanTest::expectGolden(const std::string& name, const std::string& actual)
{
    keepActual(name, actual);
    EXPECT_EQ(actual, readFile(fs::path(PARVANE_TEST_DATA_DIR) / name)) << name;
}

} // namespace parvane::test
