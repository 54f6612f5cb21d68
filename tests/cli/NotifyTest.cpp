#include <csignal>
#include <cstdlib>
#include <thread>

#include <spawn.h>
#include <sys/wait.h>

#include "ScanProcess.h"

extern char** environ;

namespace parvane::test {
namespace {

namespace fs = std::filesystem;

const Arguments kNotify = {"--proximity", "--daily", "--max-gap", "3", "--crossing", "--notify"};

// A session bus of the test's own, found by parvane-scan through DBUS_SESSION_BUS_ADDRESS, with
// the recording notification server on it once startRecorder() is called.
class NotifyTest : public ScanTest
{
protected:
    NotifyTest()
    {
        const fs::path bus = m_dir.path() / "bus";
        const std::string command = "dbus-daemon --session --fork --address=unix:path=" + bus.string()
                                    + " --print-pid=1 > " + (m_dir.path() / "bus.pid").string();
        EXPECT_EQ(std::system(command.c_str()), 0);
        m_busPid = std::atoi(readFile(m_dir.path() / "bus.pid").c_str());
        ::setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + bus.string()).c_str(), 1);
    }

    ~NotifyTest() override
    {
        if (m_recorderPid > 0 && ::kill(m_recorderPid, SIGTERM) == 0)
            ::waitpid(m_recorderPid, nullptr, 0);
        if (m_busPid > 0)
            ::kill(m_busPid, SIGTERM);
    }

    void startRecorder()
    {
        std::vector<std::string> texts = {PARVANE_NOTIFICATION_RECORDER, record().string(),
                                          record().string() + ".ready"};
        std::vector<char*> argv = {texts[0].data(), texts[1].data(), texts[2].data(), nullptr};
        ASSERT_EQ(::posix_spawn(&m_recorderPid, argv[0], nullptr, nullptr, argv.data(), environ), 0);
        for (int i = 0; i < 3000 && !fs::exists(texts[2]); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ASSERT_TRUE(fs::exists(texts[2]));
    }

    fs::path record() const { return m_dir.path() / "notifications.txt"; }

    pid_t m_busPid = 0;
    pid_t m_recorderPid = 0;
};

// What is new is summed up once, as tests/data/cli/notifications.txt says; a run with nothing new
// but errors says how many, and a refused run why; nothing new and no error, nothing.
TEST_F(NotifyTest, SumsUpWhatIsNewOnceAndNeverStaysSilentOnAFailure)
{
    startRecorder();
    for (int i = 101; i <= 112; ++i)
        m_base.addStock("C" + std::to_string(i) + "_" + std::to_string(i) + "000.txt", kOneLine, kCrossing);
    m_base.addStock("N&B_900000.txt", kOneLine, kNear);
    m_base.addStock("LOST_910000.txt", kOneLine, std::nullopt);
    EXPECT_EQ(scan(kNotify).exitStatus, 0);
    // Nothing new but an error: the error count, though the whole list is printed (no --new-only).
    const ScanProcessResult second = scan(kNotify);
    EXPECT_NE(second.out.find("X_C112"), std::string::npos);
    EXPECT_EQ(second.err, "FIN: 1 erreur(s)\nvoir errorlog.txt\n");
    m_base.addStock("N&B_900000.txt", kOneLine, kCrossing);
    scan(kNotify);
    std::filesystem::remove(m_base.histo() / "LOST_910000.txt");
    std::filesystem::remove(m_base.droite() / "LOST_910000.txt");
    EXPECT_EQ(scan(kNotify).err, "FIN: 0 erreur(s)\n"
                                 "Rien de nouveau depuis la recherche precedente: pas de notification.\n");
    // A base on a share that is not mounted: refused, exit status 2 as without --notify.
    Arguments unmounted = kNotify;
    unmounted.insert(unmounted.end(), {"--base", "/nonexistent/share/base"});
    EXPECT_EQ(scan(unmounted, false).exitStatus, 2);
    expectGolden("cli/notifications.txt", readFile(record()));
}

TEST_F(NotifyTest, WithoutANotificationServiceTheRunKeepsItsResults)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "pas de service de notification ("},
        {"unix:path=/nonexistent/bus", "pas de bus de session D-Bus ("}};
    for (const auto& [address, message] : cases) {
        if (!address.empty())
            ::setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 1);
        m_base.addStock("S" + std::to_string(address.size()) + "_120000.txt", kOneLine, kCrossing);
        const ScanProcessResult result = scan(kNotify);
        EXPECT_EQ(result.exitStatus, 0);
        EXPECT_NE(result.out.find("X_S" + std::to_string(address.size())), std::string::npos);
        EXPECT_NE(result.err.find("FIN: 0 erreur(s)\nparvane-scan: notification impossible, " + message),
                  std::string::npos)
            << result.err;
    }
}

} // namespace
} // namespace parvane::test
