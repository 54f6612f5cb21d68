#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include "ScanProcess.h"
#include "support/TestBase.h"
#include "support/TestFiles.h"

extern char** environ;

namespace parvane::test {
namespace {

namespace fs = std::filesystem;
using Arguments = std::vector<std::string>;

const std::string kOneLine = trendLineFile({TrendLineSpec{}});

// A session bus of its own (no service started on demand) with the recording notification server
// on it; parvane-scan finds it through DBUS_SESSION_BUS_ADDRESS.
class NotifyTest : public ::testing::Test
{
protected:
    NotifyTest()
        : m_base(m_dir.path() / "root")
    {
        fs::create_directories(home());
        const fs::path config = m_dir.path() / "bus.conf";
        // The policy of the standard session bus, without its service folders.
        writeFile(config,
                  "<busconfig><type>session</type><listen>unix:dir=" + m_dir.path().string()
                      + "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
                        "<allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
                        "<allow own=\"*\"/></policy></busconfig>\n");
        const std::string command =
            "dbus-daemon --config-file=" + config.string() + " --fork --print-address=1 --print-pid=1";
        FILE* output = ::popen(command.c_str(), "r");
        std::array<char, 512> address{};
        std::array<char, 32> pid{};
        if (output == nullptr || std::fgets(address.data(), address.size(), output) == nullptr
            || std::fgets(pid.data(), pid.size(), output) == nullptr) {
            ADD_FAILURE() << "cannot start dbus-daemon";
        }
        if (output != nullptr)
            ::pclose(output);
        m_busPid = std::atoi(pid.data());
        std::string busAddress(address.data());
        busAddress.erase(busAddress.find_last_not_of('\n') + 1);
        ::setenv("DBUS_SESSION_BUS_ADDRESS", busAddress.c_str(), 1);
    }

    ~NotifyTest() override
    {
        for (const int pid : {m_recorderPid, m_busPid}) {
            if (pid > 0)
                ::kill(pid, SIGTERM);
        }
        if (m_recorderPid > 0)
            ::waitpid(m_recorderPid, nullptr, 0);
    }

    void startRecorder()
    {
        const fs::path ready = m_dir.path() / "recorder.ready";
        std::vector<std::string> texts = {PARVANE_NOTIFICATION_RECORDER, record().string(), ready.string()};
        std::vector<char*> argv = {texts[0].data(), texts[1].data(), texts[2].data(), nullptr};
        ASSERT_EQ(::posix_spawn(&m_recorderPid, argv[0], nullptr, nullptr, argv.data(), environ), 0);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!fs::exists(ready) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        ASSERT_TRUE(fs::exists(ready));
    }

    fs::path home() const { return m_dir.path() / "home"; }

    fs::path record() const { return m_dir.path() / "notifications.txt"; }

    ScanProcessResult scan()
    {
        ScanProcessResult result =
            runScanProgram({"--home", home().string(), "--base", m_base.root().string(), "--proximity",
                            "--daily", "--max-gap", "3", "--crossing", "--notify", "--format", "tsv"},
                           m_dir.path() / "scratch");
        EXPECT_FALSE(result.timedOut);
        return result;
    }

    TempDir m_dir;
    TestBase m_base;
    pid_t m_busPid = 0;
    pid_t m_recorderPid = 0;
};

TEST_F(NotifyTest, SumsUpWhatIsNewOnceThenStaysQuiet)
{
    startRecorder();
    for (int i = 1; i <= 12; ++i) {
        const std::string number = std::to_string(100 + i);
        m_base.addStock("C" + number + "_" + number + "000.txt", kOneLine, dailyHistory(100, "10.2", "9.9"));
    }
    m_base.addStock("N&B_900000.txt", kOneLine, dailyHistory(100, "9.9", "9.8"));
    m_base.addStock("LOST_910000.txt", kOneLine, std::nullopt);

    const ScanProcessResult first = scan();
    EXPECT_EQ(first.exitStatus, 0);
    EXPECT_EQ(first.err, "FIN: 1 erreur(s)\nvoir errorlog.txt\n");
    EXPECT_EQ(readFile(record()),
              "Notify Parvane parvane desktop-entry=parvane\n"
              "Parvane: 12 nouveaux croisements, 1 nouvelle proximite\n"
              "Croisements: C101, C102, C103, C104, C105, C106, C107, C108, C109, C110 et 2 autres\n"
              "Proximites: 1 autre action\n"
              "1 erreur(s): voir errorlog.txt\n.\n");

    // Nothing new: no notification, and the results are printed whole without --new-only.
    const ScanProcessResult second = scan();
    EXPECT_EQ(second.exitStatus, 0);
    EXPECT_EQ(std::count(second.out.begin(), second.out.end(), '\n'), 14);
    EXPECT_EQ(second.err, "FIN: 1 erreur(s)\nvoir errorlog.txt\n"
                          "Rien de nouveau depuis la recherche precedente: pas de notification.\n");

    m_base.addStock("N&B_900000.txt", kOneLine, dailyHistory(100, "10.2", "9.9"));
    EXPECT_EQ(scan().exitStatus, 0);
    EXPECT_EQ(readFile(record()).substr(readFile(record()).find(".\nNotify") + 2),
              "Notify Parvane parvane desktop-entry=parvane\n"
              "Parvane: 1 nouveau croisement\n"
              "Croisements: N&amp;B\n"
              "1 erreur(s): voir errorlog.txt\n.\n");
}

TEST_F(NotifyTest, WithoutANotificationServiceTheRunKeepsItsResults)
{
    m_base.addStock("ALPHA_120000.txt", kOneLine, dailyHistory(100, "10.2", "9.9"));
    const ScanProcessResult noService = scan();
    EXPECT_EQ(noService.exitStatus, 0);
    EXPECT_NE(noService.out.find("X_ALPHA"), std::string::npos);
    EXPECT_NE(noService.err.find("FIN: 0 erreur(s)\nparvane-scan: notification impossible, pas de service de "
                                 "notification ("),
              std::string::npos)
        << noService.err;

    ::setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + (m_dir.path() / "no-bus").string()).c_str(), 1);
    m_base.addStock("BETA_130000.txt", kOneLine, dailyHistory(100, "10.2", "9.9"));
    const ScanProcessResult noBus = scan();
    EXPECT_EQ(noBus.exitStatus, 0);
    EXPECT_NE(noBus.out.find("X_BETA"), std::string::npos);
    EXPECT_NE(noBus.err.find("parvane-scan: notification impossible, pas de bus de session D-Bus ("),
              std::string::npos)
        << noBus.err;
}

} // namespace
} // namespace parvane::test
