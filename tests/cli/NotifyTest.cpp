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

    void startRecorder(const char* mode = "")
    {
        std::vector<std::string> texts = {PARVANE_NOTIFICATION_RECORDER, record().string(),
                                          record().string() + ".ready", mode};
        std::vector<char*> argv = {texts[0].data(), texts[1].data(), texts[2].data(), texts[3].data(),
                                   nullptr};
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

// Waits `seconds` at most for `file` to hold `count` notifications; returns what it holds.
std::size_t awaitNotifications(const fs::path& file, std::size_t count, int seconds)
{
    std::size_t found = 0;
    for (int i = 0; i <= seconds * 20 && found < count; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        const std::string text = fs::exists(file) ? readFile(file) : std::string();
        found = 0;
        for (std::size_t at = 0; (at = text.find("Notify ", at)) != std::string::npos; ++at)
            ++found;
    }
    return found;
}

// --watch --settle 1: each hit moved into the base is notified by name, once, within the settle
// time and 5 s; a change without a hit notifies nothing; the base's leaving and return are
// notified once each; a click on a notification starts the window on the base with the run's new
// rows; SIGTERM between runs ends with 0 and keeps the rows.
TEST_F(NotifyTest, WatchNotifiesEachNewHitOnceAndFollowsTheBase)
{
    startRecorder("actions");
    const fs::path window = m_dir.path() / "window.txt";
    writeFile(m_dir.path() / "bin" / "parvane",
              "#!/bin/sh\nprintf '%s\\n' \"$@\" > " + window.string() + "\n");
    fs::permissions(m_dir.path() / "bin" / "parvane", fs::perms::owner_all);
    ::setenv("PATH", ((m_dir.path() / "bin").string() + ":" + std::getenv("PATH")).c_str(), 1);
    m_base.addStock("OLD_100000.txt", kOneLine, kCrossing);
    TestBase stage(m_dir.path() / "stage");
    const auto moveIn = [&](const std::string& name, const std::string& history) {
        stage.addStock(name, kOneLine, history);
        for (const char* folder : {"droite", "histo"})
            fs::rename(stage.base() / folder / name, m_base.base() / folder / name);
    };
    const fs::path away = m_dir.path() / "away";
    Arguments watch = kNotify;
    watch.insert(watch.end(), {"--new-only", "--watch", "--settle", "1"});
    const ScanProcessResult result = scan(watch, true, "C", [&](int processId) {
        EXPECT_EQ(awaitNotifications(record(), 1, 10), 1U);
        moveIn("NEW_200000.txt", kCrossing);
        EXPECT_EQ(awaitNotifications(record(), 2, 1 + 5), 2U);
        const std::string invoke =
            "dbus-send --session --print-reply=literal --dest=org.freedesktop.Notifications "
            "/org/freedesktop/Notifications org.freedesktop.Notifications.Invoke uint32:2 >/dev/null";
        EXPECT_EQ(std::system(invoke.c_str()), 0);
        moveIn("FAR_300000.txt", dailyHistory(100, "12", "12.1"));
        EXPECT_EQ(awaitNotifications(record(), 3, 1 + 3), 2U);
        fs::rename(m_base.root(), away);
        EXPECT_EQ(awaitNotifications(record(), 3, 10), 3U);
        fs::rename(away, m_base.root());
        EXPECT_EQ(awaitNotifications(record(), 4, 10), 4U);
        moveIn("BACK_400000.txt", kCrossing);
        EXPECT_EQ(awaitNotifications(record(), 5, 1 + 5), 5U);
        EXPECT_EQ(awaitNotifications(record(), 6, 2), 5U);
        ::kill(processId, SIGTERM);
    });
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    std::string transcript = readFile(record()) + "--- parvane\n" + readFile(window);
    for (std::size_t at = 0; (at = transcript.find(m_dir.path().string(), at)) != std::string::npos;)
        transcript.replace(at, m_dir.path().string().size(), "<tmp>");
    expectGolden("cli/watch-notifications.txt", transcript);
    watch.resize(watch.size() - 3);
    EXPECT_NE(scan(watch).err.find("Rien de nouveau"), std::string::npos);
}

} // namespace
} // namespace parvane::test
