#include "host/x11/X11HostWindows.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QTest>
#include <QTimer>

#include "host/KeySequence.h"
#include "host/KorvixCommand.h"
#include "host/formcomm1.h"
#include "support/TestFiles.h"

namespace {

using parvane::host::DetachedStart;
using parvane::host::formcomm1;
using parvane::host::KorvixCommand;
using parvane::host::KorvixCommandHooks;
using parvane::host::KorvixCommandInputs;
using parvane::host::parseKeySequence;
using parvane::host::StackDirection;
using parvane::host::StartOutcome;
using parvane::host::WindowId;
using parvane::host::X11HostWindows;
using parvane::test::TempDir;
using parvane::test::writeFile;

// A loaded machine may take long to start a Qt program and to map its windows.
constexpr int kWaitMs = 30000;

std::vector<std::string> fileLines(const std::filesystem::path& file)
{
    std::vector<std::string> lines;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

double processorSeconds()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// True while `pid` runs (a process that ended but was not reaped yet counts as ended).
bool isRunning(qint64 pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text;
    if (!std::getline(stat, text))
        return false;
    const auto close = text.rfind(')');
    return close != std::string::npos && close + 2 < text.size() && text[close + 2] != 'Z';
}

TEST(X11HostWindows, ReachesTheDisplayAndSeesWhetherAWindowManagerRuns)
{
    X11HostWindows host;
    ASSERT_TRUE(host.isReachable()) << "DISPLAY=" << (std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "");
    // run-with-xvfb.sh starts a window manager only when asked to.
    EXPECT_EQ(host.hasWindowManager(), std::getenv("PARVANE_TEST_WINDOW_MANAGER") != nullptr);
}

TEST(X11HostWindows, UnreachableDisplayFindsNothingAndFailsNothing)
{
    X11HostWindows host(":9876");
    EXPECT_FALSE(host.isReachable());
    EXPECT_EQ(host.findWindow("Korvix"), 0u);
    EXPECT_EQ(host.nextWindow(1, StackDirection::Down), 0u);
    EXPECT_EQ(host.windowCaption(1), "");
    EXPECT_FALSE(host.activateWindow("Korvix"));
    EXPECT_FALSE(host.sendKeys(*parseKeySequence("%fG")));
    EXPECT_FALSE(host.setTopMost(1, true));
}

TEST(X11HostWindows, FindsReadsAndWalksTopLevelWindows)
{
    X11HostWindows host;
    QWidget lower;
    lower.setWindowTitle(QStringLiteral("Parvane essai - dessous"));
    lower.show();
    QWidget upper;
    upper.setWindowTitle(QStringLiteral("Société Générale – 12 €"));
    upper.show();
    const auto lowerId = static_cast<WindowId>(lower.winId());
    const auto upperId = static_cast<WindowId>(upper.winId());
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return host.findWindow("Société Générale – 12 €") == upperId; }, kWaitMs));
    EXPECT_EQ(host.findWindow("Parvane essai - dessous"), lowerId);
    EXPECT_EQ(host.findWindow("Parvane essai"), 0u) << "captions match exactly";
    EXPECT_EQ(host.windowCaption(upperId), "Société Générale – 12 €");

    const auto reaches = [&](WindowId from, WindowId to, StackDirection direction) {
        for (WindowId w = host.nextWindow(from, direction); w != 0; w = host.nextWindow(w, direction)) {
            if (w == to)
                return true;
        }
        return false;
    };
    EXPECT_TRUE(reaches(upperId, lowerId, StackDirection::Down));
    EXPECT_TRUE(reaches(lowerId, upperId, StackDirection::Up));
    EXPECT_FALSE(reaches(upperId, lowerId, StackDirection::Up));

    // The walk ends with 0 at both ends.
    WindowId bottom = upperId;
    for (WindowId w = upperId; w != 0; w = host.nextWindow(w, StackDirection::Down))
        bottom = w;
    EXPECT_EQ(host.nextWindow(bottom, StackDirection::Down), 0u);
}

TEST(X11HostWindows, CutsLongCaptionsAt255Characters)
{
    X11HostWindows host;
    QWidget window;
    const QString title = QStringLiteral("é").repeated(300);
    window.setWindowTitle(title);
    window.show();
    const auto id = static_cast<WindowId>(window.winId());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !host.windowCaption(id).empty(); }, kWaitMs));
    EXPECT_EQ(host.windowCaption(id), title.left(255).toStdString());
}

TEST(X11HostWindows, VanishedWindowGivesEmptyCaptionAndNoError)
{
    X11HostWindows host;
    WindowId id = 0;
    {
        QWidget window;
        window.setWindowTitle(QStringLiteral("Parvane essai - disparue"));
        window.show();
        id = static_cast<WindowId>(window.winId());
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return host.findWindow("Parvane essai - disparue") == id; }, kWaitMs));
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.windowCaption(id).empty(); }, kWaitMs));
    EXPECT_EQ(host.nextWindow(id, StackDirection::Up), 0u);
    EXPECT_NE(host.nextWindow(id, StackDirection::Down), id);
    EXPECT_FALSE(host.activateWindow(id));
    EXPECT_FALSE(host.setTopMost(id, true));
    EXPECT_TRUE(host.isReachable());
}

TEST(X11HostWindows, ActivatesAWindowAndTypesIntoIt)
{
    X11HostWindows host;
    QLineEdit edit;
    edit.setWindowTitle(QStringLiteral("Parvane essai - saisie"));
    edit.show();
    const auto id = static_cast<WindowId>(edit.winId());
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.findWindow("Parvane essai - saisie") == id; }, kWaitMs));
    ASSERT_TRUE(host.activateWindow("Parvane essai - saisie"));
    EXPECT_TRUE(host.setTopMost(id, true));
    ASSERT_TRUE(host.sendKeys(*parseKeySequence("aB+c1")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return edit.text() == QStringLiteral("aBC1"); }, kWaitMs))
        << edit.text().toStdString();
}

// A base with two groups and comments for ALPHA and BETA, the stand-in Korvix as pathkvx, and a
// key log; every stand-in started is ended at the end.
class StandinKorvix : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(host.isReachable());
        base = temp.path() / "Bourse1";
        writeFile(temp.path() / "Bourse1/Base/groupe/Demo.txt",
                  "120000\tALPHA\r\n200000\tBETA\r\n300000\tGAMMA\r\n");
        writeFile(temp.path() / "Bourse1/Base/groupe/Parvane.txt", "200000\tBETA\r\n");
        writeFile(temp.path() / "Bourse1/Base/comment/ALPHA_120000.txt",
                  "Support \xE0 12,50\r\nObjectif 15\r\n");
        writeFile(temp.path() / "Bourse1/Base/comment/BETA_200000.txt", "R\xE9sistance\r\n");
        program = temp.path() / "parvane";
        std::filesystem::create_directories(program);
        keyLog = temp.path() / "keys.log";
        ::setenv("KORVIX_STANDIN_KEYLOG", keyLog.c_str(), 1);
        inputs.pathkvx = std::string(KORVIX_STANDIN_DIR) + "/";
        inputs.baseactive = base.string();
        inputs.programFolder = program;
        hooks.minimiseMainWindow = [this] { ++minimised; };
        hooks.report = [this](const QString&, const QString& text) {
            messages.push_back(text.toStdString());
        };
    }

    void TearDown() override
    {
        for (const qint64 pid : pids)
            ::kill(static_cast<pid_t>(pid), SIGTERM);
        for (const qint64 pid : pids)
            EXPECT_TRUE(QTest::qWaitFor([&] { return !isRunning(pid); }, kWaitMs)) << "stand-in " << pid;
        // The next case starts from a desktop without Korvix.
        EXPECT_TRUE(QTest::qWaitFor([&] { return host.findWindow("Korvix") == 0; }, kWaitMs));
        ::unsetenv("KORVIX_STANDIN_KEYLOG");
        std::filesystem::current_path(std::filesystem::temp_directory_path());
    }

    KorvixCommand command()
    {
        return KorvixCommand(host, [this](const DetachedStart& start) {
            StartOutcome outcome = parvane::host::detachedProcessStarter()(start);
            if (outcome.started)
                pids.push_back(outcome.pid);
            return outcome;
        });
    }

    // Starts the stand-in in the base on stock `stock` (from 1) of group Demo.
    qint64 startOnGroup(int stock)
    {
        qint64 pid = 0;
        const bool started = QProcess::startDetached(QStringLiteral(KORVIX_STANDIN_DIR "/korvix.exe"),
                                                     {QStringLiteral("--group"), QStringLiteral("Demo"),
                                                      QStringLiteral("--stock"), QString::number(stock)},
                                                     QString::fromStdString(base.string()), &pid);
        if (started)
            pids.push_back(pid);
        return started ? pid : 0;
    }

    // Waits until the window captioned `caption` exists and takes the focus: a program just started
    // has to map its window first.
    bool waitUntilSwitchable(std::string_view caption)
    {
        return QTest::qWaitFor([&] { return host.activateWindow(caption); }, kWaitMs);
    }

    bool waitForKeys(const std::vector<std::string>& keys)
    {
        return QTest::qWaitFor([&] { return fileLines(keyLog) == keys; }, kWaitMs);
    }

    TempDir temp;
    X11HostWindows host;
    std::filesystem::path base;
    std::filesystem::path program;
    std::filesystem::path keyLog;
    KorvixCommandInputs inputs;
    KorvixCommandHooks hooks;
    std::vector<qint64> pids;
    std::vector<std::string> messages;
    int minimised = 0;
};

TEST_F(StandinKorvix, Command4StartsKorvixInTheActiveBase)
{
    command().click(inputs, hooks);
    ASSERT_EQ(pids.size(), 1u) << (messages.empty() ? std::string() : messages[0]);
    EXPECT_EQ(minimised, 1);
    EXPECT_EQ(std::filesystem::current_path(), program);
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.findWindow("Korvix") != 0; }, kWaitMs));
    const auto cwd = std::filesystem::read_symlink("/proc/" + std::to_string(pids[0]) + "/cwd");
    EXPECT_EQ(cwd, std::filesystem::canonical(base));
}

TEST_F(StandinKorvix, SecondClickSwitchesToKorvixAndOpensTheGroupPreselection)
{
    command().click(inputs, hooks);
    ASSERT_EQ(pids.size(), 1u);
    ASSERT_TRUE(waitUntilSwitchable("Korvix"));
    inputs.Check1 = true;
    command().click(inputs, hooks);
    EXPECT_EQ(pids.size(), 1u) << "a running Korvix must not be started again";
    ASSERT_TRUE(waitForKeys({"Alt+F", "G"}));
    // The group pre-selection lists the base's groups; Return opens the first, Demo, on ALPHA.
    ASSERT_TRUE(waitUntilSwitchable("Pre-selection de groupe"));
    ASSERT_TRUE(host.sendKeys(*parseKeySequence("~")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return host.findWindow("Korvix - Bourse1 - ALPHA") != 0; }, kWaitMs));
    EXPECT_EQ(host.findWindow("Korvix"), 0u);
}

TEST_F(StandinKorvix, NoKeysReachKorvixWithoutCheck1)
{
    command().click(inputs, hooks);
    ASSERT_EQ(pids.size(), 1u);
    ASSERT_TRUE(waitUntilSwitchable("Korvix"));
    command().click(inputs, hooks);
    EXPECT_EQ(pids.size(), 1u);
    // A marker typed afterwards shows that the log is live and that it holds nothing before it.
    ASSERT_TRUE(host.sendKeys(*parseKeySequence("x")));
    EXPECT_TRUE(waitForKeys({"x"})) << "log: " << fileLines(keyLog).size() << " line(s)";
}

TEST_F(StandinKorvix, CommentsStripFollowsKorvixUntilItQuits)
{
    const qint64 pid = startOnGroup(1);
    ASSERT_NE(pid, 0);
    WindowId korvix = 0;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (korvix = host.findWindow("Korvix - Bourse1 - ALPHA")) != 0; },
                                kWaitMs));
    ASSERT_TRUE(waitUntilSwitchable("Korvix - Bourse1 - ALPHA"));

    formcomm1 strip(host, [this] { return base.string(); });
    auto* list = strip.findChild<QListWidget*>(QStringLiteral("Listcomm1"));
    const auto lines = [&] {
        QStringList texts;
        for (int row = 0; row < list->count(); ++row)
            texts.push_back(list->item(row)->text());
        return texts;
    };
    bool timedOut = false;
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &strip, [&] {
        timedOut = true;
        strip.close();
    });
    guard.start(5 * kWaitMs);
    QTimer::singleShot(0, &strip, [&] {
        EXPECT_EQ(strip.hostHandle(), korvix);
        EXPECT_EQ(lines(), (QStringList{QStringLiteral("Support à 12,50"), QStringLiteral("Objectif 15")}));

        EXPECT_TRUE(host.activateWindow(korvix));
        EXPECT_TRUE(host.sendKeys(*parseKeySequence("{PGDN}")));
        EXPECT_TRUE(QTest::qWaitFor([&] { return strip.loadedKey() == "BETA_"; }, kWaitMs));
        EXPECT_EQ(lines(), QStringList{QStringLiteral("Résistance")});

        EXPECT_TRUE(host.sendKeys(*parseKeySequence("{PGDN}")));
        EXPECT_TRUE(QTest::qWaitFor([&] { return strip.loadedKey() == "GAMMA_"; }, kWaitMs));
        EXPECT_EQ(list->count(), 0);

        // The strip waits on a timer between rounds: over a few seconds it should cost next to no
        // processor time (this process holds nothing else busy meanwhile).
        const auto wallStart = std::chrono::steady_clock::now();
        const double processorStart = processorSeconds();
        QEventLoop idle;
        QTimer::singleShot(3000, &idle, &QEventLoop::quit);
        idle.exec();
        const double processor = processorSeconds() - processorStart;
        const double wall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
        std::printf("[ figures  ] comments strip polling: %.3f s processor over %.3f s (%.1f %%)\n",
                    processor, wall, 100.0 * processor / wall);
        EXPECT_LT(processor, 0.3 * wall);
        EXPECT_TRUE(strip.isPolling());

        ::kill(static_cast<pid_t>(pid), SIGTERM);
    });
    strip.commentaires();
    EXPECT_FALSE(timedOut) << "the strip did not close after Korvix quit";
    EXPECT_FALSE(strip.isPolling());
    EXPECT_FALSE(strip.isVisible());
}

} // namespace
