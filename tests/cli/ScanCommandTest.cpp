#include <chrono>
#include <ctime>
#include <regex>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ScanProcess.h"

namespace parvane::test {
namespace {

namespace fs = std::filesystem;

// One run of parvane-scan and its golden transcript, tests/data/cli/NAME.txt. In the arguments,
// "<tmp>" is the test's folder and "<relative>" the base's path relative to the working folder.
struct RunCase
{
    const char* name;
    Arguments arguments;
    bool onBase = true;
};

const std::vector<RunCase> kRunCases = {
    // Streams, status and files of a scan (one stock without history).
    {"table", {"--proximity", "--daily", "--max-gap", "3"}},
    {"tsv-csv", {"--proximity", "--daily", "--max-gap", "3", "--csv", "--format", "tsv"}},
    {"relative-base", {"--base", "<relative>", "--proximity", "--daily", "--max-gap", "3", "--csv"}, false},
    {"nothing-scanned", {"--proximity", "--max-gap", "3"}},
    {"comments-group-only", {"--comments-group", "--proximity"}},
    {"groups-without-trend-lines", {"--groups", "melvor", "--proximity", "--daily", "--max-gap", "3"}},
    {"settings-base1-missing", {"--proximity", "--daily"}, false},
    {"settings-base-index", {"--base-index", "2", "--proximity", "--daily", "--max-gap", "3"}, false},
    {"home-created", {"--home", "<tmp>/new/home", "--proximity", "--daily", "--max-gap", "3"}},
    {"help", {"--help"}, false},
    // Usage errors (64) and refusals (2): nothing written.
    {"usage-unknown-option", {"--frobnicate"}, false},
    {"usage-missing-value", {"--base"}, false},
    {"usage-max-gap-value", {"--max-gap"}, false},
    {"usage-format", {"--format", "xml"}, false},
    {"usage-base-index", {"--base-index", "4"}, false},
    {"usage-base-and-index", {"--base", "/x", "--base-index", "2"}, false},
    {"usage-unknown-group", {"--groups", "Melvor,Absent", "--proximity", "--daily", "--max-gap", "3"}},
    {"refused-max-gap-0", {"--proximity", "--daily", "--crossing", "--csv", "--max-gap", "0"}},
    {"refused-max-gap-abc", {"--proximity", "--daily", "--crossing", "--csv", "--max-gap", "abc"}},
    {"refused-max-gap-negative", {"--proximity", "--daily", "--crossing", "--csv", "--max-gap", "-1"}},
    {"refused-volume-0", {"--crossing", "--csv", "--volume", "0"}},
    {"refused-missing-base", {"--base", "<tmp>/nowhere", "--crossing"}, false},
    {"refused-home", {"--home", "<tmp>/file/home", "--crossing"}},
    {"refused-explain-unknown", {"--crossing", "--explain", "OMEGA_999999"}},
    {"refused-explain-outside", {"--crossing", "--explain", "../droite/ALPHA_120000"}},
};

class ScanCommandTest : public ScanTest
{
protected:
    ScanCommandTest()
    {
        m_base.addStock("ALPHA_120000.txt", kOneLine, kNear);
        m_base.addComment("ALPHA_120000.txt", "Hausse pr\xe9vue \x80\r\n"); // Windows-1252
        m_base.addStock("BETA_130000.txt", kOneLine, std::nullopt);
        // Names as Wine stores them: UTF-8 on the disk.
        for (const char* name : {"\xc3\x89LAN_400002.txt", "abc_400005.txt", "ABC_400006.txt"})
            m_base.addStock(name, kOneLine, kNear);
        m_base.addGroup("Melvor.txt", "120000\tX_ALPHA\r\n");
        m_base.addGroup("\xc3\x89lan.txt", "");
        writeFile(m_dir.path() / "file", "x");
        writeFile(home() / "zarbel.ini", "[path]\r\nexe=C:\\Program Files\\Korvix 2.0\\\r\n"
                                         "droite=\\base\\droite\\\r\nhisto=\\base\\histo\\\r\nbase1="
                                             + (m_dir.path() / "first").string()
                                             + "\r\nbase2=" + m_base.root().string() + "\r\nbase3=\r\n");
    }
};

TEST_F(ScanCommandTest, RunsMatchTheirTranscripts)
{
    const std::string relative = fs::relative(m_base.root(), fs::current_path()).string();
    for (const RunCase& c : kRunCases) {
        Arguments arguments = c.arguments;
        for (std::string& argument : arguments) {
            if (argument.rfind("<tmp>", 0) == 0)
                argument.replace(0, 5, m_dir.path().string());
            if (argument == "<relative>")
                argument = relative;
        }
        writeFile(home() / "errorlog.txt", "a line of the last start\r\n");
        const auto before = snapshotBaseTree(m_dir.path());
        expectGolden(std::string("cli/") + c.name + ".txt", transcript(scan(arguments, c.onBase), before));
    }
}

TEST_F(ScanCommandTest, AFifoNamedLikeAResultFileIsLoggedNotWaitedOn)
{
    ASSERT_EQ(::mkfifo((m_base.groupe() / "Parvane.txt").c_str(), 0644), 0);
    ASSERT_EQ(::mkfifo((m_base.groupe() / "Quennel.txt").c_str(), 0644), 0);
    // A reader on one of them: the open succeeds, and the FIFO is still refused.
    const int reader = ::open((m_base.groupe() / "Parvane.txt").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    const auto before = snapshotBaseTree(m_dir.path());
    const ScanProcessResult result = scan({"--proximity", "--daily", "--max-gap", "3", "--comments-group"});
    ::close(reader);
    expectGolden("cli/fifo.txt", transcript(result, before));
}

// The system's settings reach the numbers shown, the CSV file and the error log.
TEST_F(ScanCommandTest, TheSystemLocaleSetsTheDecimalSeparatorAndTheDates)
{
    for (const auto& [locale, logDate] : {std::pair{"fr_FR.UTF-8", "%d/%m/%Y"}, {"C", "%Y-%m-%d"}}) {
        for (const fs::path& file : csvFiles())
            fs::remove(file);
        const auto before = snapshotBaseTree(m_dir.path());
        const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
        const ScanProcessResult result =
            scan({"--proximity", "--daily", "--max-gap", "3", "--csv", "--format", "tsv"}, true, locale);
        expectGolden(std::string("cli/locale-") + locale + ".txt", transcript(result, before));
        // The CSV file is named after the run's local date and time (a minute may turn meanwhile).
        char name[40];
        std::strftime(name, sizeof name, "result_%d%m%Y_", std::localtime(&now));
        ASSERT_EQ(csvFiles().size(), 1u);
        EXPECT_EQ(csvFiles()[0].filename().string().rfind(name, 0), 0u) << csvFiles()[0];
        char date[40];
        std::strftime(date, sizeof date, logDate, std::localtime(&now));
        EXPECT_TRUE(std::regex_search(
            errorLog(), std::regex(std::string("^") + date + " [0-9]{2}:[0-9]{2}:[0-9]{2} \\| ")))
            << locale << ": " << errorLog();
    }
}

// A signal ends the run with 128 + its number and leaves the rows kept by --new-only alone.
TEST_F(ScanCommandTest, InterruptedRunExitsWith128PlusTheSignal)
{
    const Arguments arguments = {"--proximity", "--daily", "--max-gap", "3", "--new-only"};
    scan(arguments);
    const auto keptRows = [&] {
        auto files = snapshotTree(home());
        std::erase_if(files, [](const auto& file) { return file.first.rfind("newrows-", 0) != 0; });
        return files;
    };
    const auto kept = keptRows();
    ASSERT_EQ(kept.size(), 1u);
    // Enough stocks that the walk is still going when the signal comes.
    for (int i = 0; i < 400; ++i)
        m_base.addStock("S_" + std::to_string(200000 + i) + ".txt", kOneLine, kNear);
    const fs::path parvane = m_base.groupe() / "Parvane.txt";
    for (const int signal : {SIGINT, SIGTERM}) {
        fs::remove(parvane);
        const ScanProcessResult result = scan(arguments, true, "C", [&](int processId) {
            // Parvane.txt is created as the walk starts, once the program listens for signals.
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
            while (!fs::exists(parvane) && std::chrono::steady_clock::now() < deadline)
                std::this_thread::sleep_for(std::chrono::microseconds(100));
            ::kill(processId, signal);
        });
        EXPECT_EQ(result.exitStatus, 128 + signal);
        EXPECT_NE(result.err.find("Scan interrompu: les fichiers de resultats sont incomplets.\n"),
                  std::string::npos)
            << result.err;
        EXPECT_EQ(keptRows(), kept); // no temporary file left either
    }
}

} // namespace
} // namespace parvane::test
