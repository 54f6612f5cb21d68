// The Korvix button and the comments strip against the Windows stand-in of Korvix under Wine, on a
// private X server (with openbox, and bare): the path of our users, through the real X11 desktop.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QTest>
#include <QTimer>

#include "host/KeySequence.h"
#include "host/KorvixCommand.h"
#include "host/formcomm1.h"
#include "host/x11/X11HostWindows.h"
#include "mainwindow/ParvaneProgram.h"
#include "mainwindow/tendancesForm1.h"
#include "support/RecordingMessageBoxes.h"
#include "support/TestFiles.h"

namespace {

using namespace parvane::host;
using Clock = std::chrono::system_clock;

const std::vector<std::string> kStocks = {"ALPHA", "BETA", "DELTA", "EPSILON", "GAMMA", "IOTA", "KAPPA"};

// Bounded waits, long enough for Wine on a loaded machine.
constexpr int kWindowWaitMs = 60000;
constexpr int kStepWaitMs = 5000;

long long nowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch()).count();
}

// A window of another program whose caption starts like Korvix's; it counts the keys it receives.
struct Decoy
{
    explicit Decoy(const char* caption)
    {
        edit.setWindowTitle(QString::fromUtf8(caption));
        edit.resize(300, 80);
        edit.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&edit));
    }

    void takeFocus(HostWindows& desktop)
    {
        desktop.activateWindow(static_cast<WindowId>(edit.winId()));
        edit.setFocus();
        EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == &edit; }, 5000));
    }

    QLineEdit edit;
};

class KorvixWine : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(desktop.isReachable());
        for (std::size_t i = 0; i < kStocks.size(); ++i) {
            const std::string file = kStocks[i] + "_" + std::to_string(i + 1) + ".txt";
            parvane::test::writeFile(temp.path() / "BASE1" / "base" / "histo" / file, "");
            parvane::test::writeFile(temp.path() / "BASE1" / "Base" / "comment" / file,
                                     "Comment on " + kStocks[i] + "\r\nsecond line\r\n");
        }
        // Installed with capitals: the name is matched without regard to case.
        std::filesystem::create_directories(temp.path() / "korvix" / "log");
        std::filesystem::copy_file(KORVIX_WIN32_EXE, temp.path() / "korvix" / "Korvix.exe");
        qputenv("KORVIX_STANDIN_LOG", QByteArray::fromStdString((temp.path() / "korvix" / "log").string()));
        inputs.pathkvx = (temp.path() / "korvix").string() + "/";
        inputs.baseactive = (temp.path() / "BASE1").string();
        inputs.programFolder = std::filesystem::current_path();
        hooks.report = [this](const QString& title, const QString& text) {
            EXPECT_EQ(title, QStringLiteral("Parvane"));
            messages.push_back(text);
        };
        hooks.commentaires = [this] { strip.commentaires(); };
    }

    void TearDown() override
    {
        qunsetenv("KORVIX_STANDIN_NO_WINDOW");
        qunsetenv("KORVIX_STANDIN_REFUSE_FOCUS");
        QProcess::execute(QStringLiteral("wineserver"), {QStringLiteral("-k")});
        QProcess::execute(QStringLiteral("wineserver"), {QStringLiteral("-w")});
    }

    // The stand-in's log, as "<ms> <event>" pairs.
    std::vector<std::pair<long long, std::string>> korvixLog()
    {
        std::vector<std::pair<long long, std::string>> events;
        std::ifstream in(temp.path() / "korvix" / "log" / "korvix-keys.log");
        for (std::string line; std::getline(in, line);) {
            if (const auto blank = line.find(' '); blank != std::string::npos)
                events.emplace_back(std::stoll(line.substr(0, blank)), line.substr(blank + 1));
        }
        return events;
    }

    // Time of the first event `event` at or after `from`; 0 when there is none.
    long long logged(const std::string& event, long long from = 0)
    {
        for (const auto& [ms, text] : korvixLog()) {
            if (ms >= from && text == event)
                return ms;
        }
        return 0;
    }

    int starts()
    {
        int count = 0;
        for (const auto& entry : korvixLog())
            count += entry.second.starts_with("start ");
        return count;
    }

    // The running processes of this test's Korvix: wine runs the program under the command line it
    // was given, in the base.
    int korvixProcesses()
    {
        int count = 0;
        for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
            std::ifstream in(entry.path() / "cmdline", std::ios::binary);
            std::string program;
            std::getline(in, program, '\0');
            std::error_code error;
            count += program.ends_with("/Korvix.exe")
                     && std::filesystem::read_symlink(entry.path() / "cwd", error) == temp.path() / "BASE1";
        }
        return count;
    }

    // Types `keys` into Korvix's window, as the user does.
    void typeIntoKorvix(const char* keys, formcomm1* following = nullptr)
    {
        ASSERT_TRUE(desktop.activateWindow((following != nullptr ? *following : strip).hostHandle()));
        ASSERT_TRUE(desktop.sendKeys(*parseKeySequence(keys)));
    }

    // Runs `act` once from the event loop, as soon as the strip follows Korvix's window: the strip's
    // loop runs inside the click, and the user's part runs meanwhile.
    void onceTheStripFollows(std::function<void()> act, formcomm1* following = nullptr)
    {
        formcomm1& shown = following != nullptr ? *following : strip;
        m_user.setInterval(50);
        QObject::connect(&m_user, &QTimer::timeout, [this, &shown, act = std::move(act)] {
            if (!shown.isPolling() || shown.hostHandle() == 0)
                return;
            m_user.stop();
            act();
        });
        m_user.start();
    }

    bool stripShows(const std::string& stock, const formcomm1* following = nullptr)
    {
        const formcomm1& shown = following != nullptr ? *following : strip;
        const auto* list = shown.findChild<QListWidget*>(QStringLiteral("Listcomm1"));
        return shown.loadedKey() == stock + "_" && list->count() == 2
               && list->item(0)->text() == QString::fromStdString("Comment on " + stock);
    }

    // The program, started on a program folder whose zarbel.ini names this test's Korvix and base,
    // its window shown; nullptr when it did not start or its window did not show.
    std::unique_ptr<parvane::mainwindow::ParvaneProgram>
    startProgram(parvane::test::RecordingMessageBoxes& boxes)
    {
        const auto program = temp.path() / "program";
        parvane::test::writeFile(program / "zarbel.ini",
                                 "[path]\r\nexe=" + inputs.pathkvx
                                     + "\r\ndroite=\\base\\droite\\\r\nhisto=\\base\\histo\\\r\n"
                                     + "base1=" + inputs.baseactive + "\r\n");
        auto parvane = std::make_unique<parvane::mainwindow::ParvaneProgram>(program, boxes);
        if (!parvane->startUp())
            return nullptr;
        parvane->window().show();
        return QTest::qWaitForWindowExposed(&parvane->window()) ? std::move(parvane) : nullptr;
    }

    parvane::test::TempDir temp;
    X11HostWindows desktop;
    KorvixCommand command{desktop, detachedProcessStarter(), std::chrono::milliseconds(kWindowWaitMs)};
    formcomm1 strip{desktop, [this] { return inputs.baseactive; }, nullptr,
                    std::chrono::milliseconds(kWindowWaitMs)};
    KorvixCommandInputs inputs;
    KorvixCommandHooks hooks;
    std::vector<QString> messages;

private:
    QTimer m_user;
};

TEST_F(KorvixWine, OneClickStartsKorvixOpensItsGroupsAndTheStripFollowsUntilKorvixQuits)
{
    Decoy version("Korvix 2.0");
    Decoy notes("Korvix - notes");
    notes.takeFocus(desktop);
    inputs.Check1 = true;
    inputs.Option1 = true;
    bool followed = false;
    onceTheStripFollows([&] {
        EXPECT_TRUE(QTest::qWaitFor([&] { return stripShows(kStocks[0]); }, kWindowWaitMs));
        for (std::size_t i = 1; i <= 5; ++i) {
            const long long pressed = nowMs();
            typeIntoKorvix("{PGDN}");
            ASSERT_TRUE(QTest::qWaitFor([&] { return stripShows(kStocks[i]); }, kStepWaitMs));
            std::printf("strip follows stock %zu: %lld ms\n", i, nowMs() - pressed);
        }
        // A click while Korvix shows a stock switches to it, whatever windows lie above it.
        version.edit.raise();
        notes.edit.raise();
        KorvixCommandInputs again = inputs;
        again.Option1 = false;
        const long long clicked = nowMs();
        command.click(again, hooks);
        std::printf("switch to the running Korvix: %lld ms\n", nowMs() - clicked);
        EXPECT_TRUE(QTest::qWaitFor([&] { return stripShows(kStocks[0]); }, kStepWaitMs));
        EXPECT_EQ(starts(), 1);
        EXPECT_EQ(korvixProcesses(), 1);
        followed = true;
        typeIntoKorvix("%fQ");
    });
    const long long clicked = nowMs();
    command.click(inputs, hooks);

    EXPECT_TRUE(followed);
    EXPECT_FALSE(strip.isVisible()) << "Korvix quit: the strip closes";
    EXPECT_TRUE(messages.empty()) << (messages.empty() ? "" : messages.front().toStdString());
    const long long shown = logged("shown");
    const long long keys = logged("key Alt+F", shown);
    ASSERT_NE(shown, 0);
    ASSERT_NE(keys, 0) << "Alt+F after the window was shown";
    EXPECT_NE(logged("key Shift+G", keys), 0);
    std::string base = "cwd Z:" + (temp.path() / "BASE1").string();
    std::replace(base.begin(), base.end(), '/', '\\');
    EXPECT_NE(logged(base), 0) << "Korvix runs in the active base";
    EXPECT_TRUE(version.edit.text().isEmpty() && notes.edit.text().isEmpty()) << "no key for a decoy";
    std::printf("start to window: %lld ms, start to keys: %lld ms\n", shown - clicked, keys - clicked);
}

// The program's own Korvix button, with "Selection Groupe" and "Avec comm." ticked by clicks: Korvix
// starts from the folder of zarbel.ini in the active base, gets Alt+F, G once its window shows, and
// the program's strip follows it until it quits.
TEST_F(KorvixWine, TheKorvixButtonStartsKorvixFromTheSettingsWithItsGroupsAndComments)
{
    parvane::test::RecordingMessageBoxes boxes;
    const auto program = startProgram(boxes);
    ASSERT_TRUE(program);
    auto& parvane = *program;
    auto& window = parvane.window();
    for (const char* name : {"Check1", "Option1"})
        QTest::mouseClick(window.findChild<QWidget*>(QString::fromLatin1(name)), Qt::LeftButton);
    bool followed = false;
    onceTheStripFollows(
        [&] {
            followed = QTest::qWaitFor([&] { return stripShows(kStocks[0], &parvane.commentsWindow()); },
                                       kWindowWaitMs);
            typeIntoKorvix("%fQ", &parvane.commentsWindow());
        },
        &parvane.commentsWindow());
    QTest::mouseClick(window.findChild<QWidget*>(QStringLiteral("Command4")), Qt::LeftButton);

    EXPECT_TRUE(followed);
    EXPECT_FALSE(parvane.commentsWindow().isVisible());
    EXPECT_TRUE(boxes.boxes.empty()) << (boxes.boxes.empty() ? "" : boxes.boxes[0].text.toStdString());
    EXPECT_NE(logged("key Alt+F", logged("shown")), 0);
    std::string base = "cwd Z:" + inputs.baseactive;
    std::replace(base.begin(), base.end(), '/', '\\');
    EXPECT_NE(logged(base), 0);
    EXPECT_EQ(starts(), 1);
    // The program works in its program folder, which goes with the test.
    std::filesystem::current_path(inputs.programFolder);
}

// Korvix's window comes but cannot be activated: Wine declines the focus that the window manager
// offers it, so the Korvix button must type nothing, anywhere, and say so. A bare X server gives
// the focus to any window that asks; there only "no key anywhere" holds.
TEST_F(KorvixWine, AKorvixThatDoesNotTakeTheFocusGetsNoKeysAndTheUserIsTold)
{
    Decoy notes("Korvix - notes");
    notes.takeFocus(desktop);
    qputenv("KORVIX_STANDIN_REFUSE_FOCUS", "1");
    parvane::test::RecordingMessageBoxes boxes;
    const auto program = startProgram(boxes);
    ASSERT_TRUE(program);
    auto& parvane = *program;
    auto& window = parvane.window();
    QTest::mouseClick(window.findChild<QWidget*>(QStringLiteral("Check1")), Qt::LeftButton);
    QTest::mouseClick(window.findChild<QWidget*>(QStringLiteral("Command4")), Qt::LeftButton);

    EXPECT_NE(logged("shown"), 0) << "Korvix's window came";
    if (desktop.hasWindowManager()) {
        ASSERT_EQ(boxes.boxes.size(), std::size_t{1});
        EXPECT_EQ(boxes.boxes[0].text, QStringLiteral("Korvix n'a pas pris le focus :\nla preselection des "
                                                      "groupes (Alt+F, G) n'a pas ete envoyee."));
    } else {
        std::printf("bare X server: the focus is never refused; %zu message(s)\n", boxes.boxes.size());
    }
    QTest::qWait(300);
    const auto events = korvixLog();
    EXPECT_TRUE(std::none_of(events.begin(), events.end(), [](const auto& e) {
        return e.second.starts_with("key ");
    })) << "no key for Korvix";
    EXPECT_TRUE(notes.edit.text().isEmpty()) << "no key for another window";
    std::filesystem::current_path(inputs.programFolder);
}

TEST_F(KorvixWine, TheStripStaysEmptyWhileKorvixIsIdle)
{
    inputs.Option1 = true;
    bool idleSeen = false;
    onceTheStripFollows([&] {
        QTest::qWait(500);
        const auto* list = strip.findChild<QListWidget*>(QStringLiteral("Listcomm1"));
        idleSeen = strip.isVisible() && strip.isPolling() && list->count() == 0;
        EXPECT_EQ(logged("key Alt+F"), 0) << "no key without Selection Groupe";
        typeIntoKorvix("%fG");
        EXPECT_TRUE(QTest::qWaitFor([&] { return stripShows(kStocks[0]); }, kStepWaitMs));
        typeIntoKorvix("%fQ");
    });

    command.click(inputs, hooks);

    EXPECT_TRUE(idleSeen);
    EXPECT_FALSE(strip.isVisible());
    EXPECT_TRUE(messages.empty());
}

TEST_F(KorvixWine, KorvixWithoutAWindowGetsNoKeysAndTheUserIsTold)
{
    Decoy notes("Korvix - notes");
    notes.takeFocus(desktop);
    qputenv("KORVIX_STANDIN_NO_WINDOW", "1");
    KorvixCommand impatient(desktop, detachedProcessStarter(), std::chrono::milliseconds(3000));
    inputs.Check1 = true;

    impatient.click(inputs, hooks);

    ASSERT_EQ(messages.size(), std::size_t{1});
    EXPECT_TRUE(messages.front().contains(QStringLiteral("n'a pas ouvert sa fenetre en 3 s")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return starts() == 1 && korvixProcesses() == 1; }, kWindowWaitMs));
    QTest::qWait(300);
    EXPECT_TRUE(notes.edit.text().isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), &notes.edit);
}

TEST(KorvixCommand, NoDisplaySaysSoAndStartsNothing)
{
    X11HostWindows nowhere(":65000");
    KorvixCommand command(nowhere, [](const DetachedStart&) {
        ADD_FAILURE() << "nothing may start";
        return StartOutcome{};
    });
    std::vector<QString> messages;
    KorvixCommandHooks hooks;
    hooks.report = [&](const QString&, const QString& text) { messages.push_back(text); };
    command.click({}, hooks);
    ASSERT_EQ(messages.size(), std::size_t{1});
    EXPECT_TRUE(messages.front().contains(QStringLiteral("DISPLAY")));
}

} // namespace
