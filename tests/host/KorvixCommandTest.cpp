#include "host/KorvixCommand.h"

#include <cstdlib>
#include <filesystem>
#include <optional>

#include <gtest/gtest.h>

#include <QFile>

#include "support/RecordingHostWindows.h"
#include "support/TestFiles.h"

namespace {

using parvane::host::DetachedStart;
using parvane::host::KorvixCommand;
using parvane::host::KorvixCommandHooks;
using parvane::host::KorvixCommandInputs;
using parvane::host::StartOutcome;
using parvane::test::RecordingHostWindows;
using parvane::test::TempDir;
using parvane::test::writeFile;

QString qPath(const std::filesystem::path& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

void makeExecutable(const std::filesystem::path& file)
{
    std::filesystem::permissions(file, std::filesystem::perms::owner_all, std::filesystem::perm_options::add);
}

// An environment variable set for the life of the object.
class ScopedVariable
{
public:
    ScopedVariable(const char* name, const std::string& value)
        : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        ::setenv(name, value.c_str(), 1);
    }

    ~ScopedVariable()
    {
        if (m_old)
            ::setenv(m_name, m_old->c_str(), 1);
        else
            ::unsetenv(m_name);
    }

    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

// A Korvix folder with an executable, a base and a program folder; the host starts empty, every
// start and message is recorded with the host's calls.
class KorvixCommandTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(temp.path().empty());
        exe = temp.path() / "Korvix 2.0/korvix.exe";
        writeFile(exe, "#!/bin/sh\nexit 0\n");
        makeExecutable(exe);
        base = temp.path() / "Bourse1";
        std::filesystem::create_directories(base / "base");
        program = temp.path() / "parvane";
        std::filesystem::create_directories(program);
        elsewhere = temp.path() / "elsewhere";
        std::filesystem::create_directories(elsewhere);
        std::filesystem::current_path(elsewhere);
        inputs.pathkvx = (temp.path() / "Korvix 2.0").string() + "/";
        inputs.baseactive = base.string();
        inputs.programFolder = program;
        hooks.minimiseMainWindow = [this] { host.events.push_back("minimise"); };
        hooks.commentaires = [this] { host.events.push_back("commentaires"); };
        hooks.report = [this](const QString& title, const QString& text) {
            host.events.push_back("report " + title.toStdString());
            messages.push_back(text);
        };
    }

    void TearDown() override { std::filesystem::current_path(std::filesystem::temp_directory_path()); }

    KorvixCommand command()
    {
        return KorvixCommand(host, [this](const DetachedStart& start) {
            host.events.push_back("start");
            starts.push_back(start);
            directoryAtStart = std::filesystem::current_path();
            return startOutcome;
        });
    }

    TempDir temp;
    std::filesystem::path exe;
    std::filesystem::path base;
    std::filesystem::path program;
    std::filesystem::path elsewhere;
    RecordingHostWindows host;
    KorvixCommandInputs inputs;
    KorvixCommandHooks hooks;
    std::vector<DetachedStart> starts;
    std::vector<QString> messages;
    std::filesystem::path directoryAtStart;
    StartOutcome startOutcome{.started = true, .pid = 4242, .error = {}};
};

using Events = std::vector<std::string>;

TEST_F(KorvixCommandTest, DoesNothingAtAllDuringAScan)
{
    inputs.encours = true;
    inputs.Option1 = true;
    command().click(inputs, hooks);
    EXPECT_TRUE(host.events.empty());
    EXPECT_EQ(std::filesystem::current_path(), elsewhere);
}

TEST_F(KorvixCommandTest, SwitchesToRunningKorvixWithoutStartingIt)
{
    host.putOnTop(5, "Korvix");
    inputs.Check1 = true;
    command().click(inputs, hooks);
    EXPECT_EQ(host.events, (Events{"minimise", "find Korvix", "activate Korvix", "keys %fG"}));
    EXPECT_EQ(host.activeWindow, 5u);
    EXPECT_TRUE(starts.empty());
}

TEST_F(KorvixCommandTest, NeverTypesKeysWithoutCheck1)
{
    host.putOnTop(5, "Korvix");
    command().click(inputs, hooks);
    EXPECT_EQ(host.events, (Events{"minimise", "find Korvix", "activate Korvix"}));
    host.remove(5);
    host.events.clear();
    command().click(inputs, hooks);
    EXPECT_EQ(host.events, (Events{"minimise", "find Korvix", "start"}));
    EXPECT_TRUE(host.sentKeys.empty());
}

TEST_F(KorvixCommandTest, KorvixShowingAStockIsNotFoundSoAnotherIsStarted)
{
    host.putOnTop(5, "Korvix - Bourse1 - ALPHA");
    host.putOnTop(6, "korvix");
    inputs.Check1 = true;
    command().click(inputs, hooks);
    EXPECT_EQ(host.events, (Events{"minimise", "find Korvix", "start", "keys %fG"}));
}

TEST_F(KorvixCommandTest, StartsKorvixInTheBaseAndComesBackToTheProgramFolder)
{
    command().click(inputs, hooks);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].program, qPath(exe));
    EXPECT_TRUE(starts[0].arguments.isEmpty());
    EXPECT_EQ(starts[0].workingDirectory, qPath(base));
    EXPECT_EQ(directoryAtStart, base);
    EXPECT_EQ(std::filesystem::current_path(), program);
    EXPECT_TRUE(messages.empty());
}

TEST_F(KorvixCommandTest, FindsTheExecutableWithoutRegardToCase)
{
    std::filesystem::rename(exe, exe.parent_path() / "KORVIX.EXE");
    command().click(inputs, hooks);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].program, qPath(exe.parent_path() / "KORVIX.EXE"));
}

TEST_F(KorvixCommandTest, StartsAWindowsExecutableThroughWine)
{
    writeFile(temp.path() / "Korvix 2.0/korvix.exe", std::string("MZ\x90\0\3\0", 6));
    const auto wine = temp.path() / "bin/wine";
    writeFile(wine, "#!/bin/sh\n");
    makeExecutable(wine);
    ScopedVariable path("PATH", (temp.path() / "bin").string());
    command().click(inputs, hooks);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].program, qPath(wine));
    EXPECT_EQ(starts[0].arguments, QStringList{qPath(exe)});
    EXPECT_EQ(starts[0].workingDirectory, qPath(base));
}

TEST_F(KorvixCommandTest, WindowsExecutableWithoutWineIsReported)
{
    writeFile(temp.path() / "Korvix 2.0/korvix.exe", "MZ");
    ScopedVariable path("PATH", (temp.path() / "nowhere").string());
    inputs.Check1 = true;
    command().click(inputs, hooks);
    EXPECT_TRUE(starts.empty());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("wine")));
    EXPECT_TRUE(host.sentKeys.empty());
    EXPECT_EQ(std::filesystem::current_path(), program);
}

TEST_F(KorvixCommandTest, FailedStartIsReportedAndTheProgramFolderRestored)
{
    startOutcome = StartOutcome{.started = false, .pid = 0, .error = QStringLiteral("Permission denied")};
    inputs.Check1 = true;
    inputs.Option1 = true;
    command().click(inputs, hooks);
    EXPECT_EQ(host.events, (Events{"minimise", "find Korvix", "start", "report Parvane", "commentaires"}));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("Korvix ne peut pas etre lance")));
    EXPECT_TRUE(messages[0].contains(QStringLiteral("Permission denied")));
    EXPECT_EQ(std::filesystem::current_path(), program);
}

TEST_F(KorvixCommandTest, MissingOrNonExecutableKorvixIsReported)
{
    std::filesystem::permissions(exe,
                                 std::filesystem::perms::owner_exec | std::filesystem::perms::group_exec
                                     | std::filesystem::perms::others_exec,
                                 std::filesystem::perm_options::remove);
    command().click(inputs, hooks);
    std::filesystem::remove(exe);
    command().click(inputs, hooks);
    EXPECT_TRUE(starts.empty());
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("n'est pas un programme executable")));
    EXPECT_TRUE(messages[1].startsWith(QStringLiteral("Korvix n'est pas a la position indiquee\n"
                                                      "dans le fichier Zarbel.ini")));
    EXPECT_EQ(std::filesystem::current_path(), program);
}

TEST_F(KorvixCommandTest, MissingBaseFolderIsReportedWithoutStarting)
{
    inputs.baseactive = (temp.path() / "gone").string();
    command().click(inputs, hooks);
    EXPECT_TRUE(starts.empty());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("gone")));
    EXPECT_EQ(std::filesystem::current_path(), program);
}

TEST_F(KorvixCommandTest, MapsWindowsPathsThroughTheWinePrefix)
{
    const auto prefix = temp.path() / "wineprefix";
    std::filesystem::create_directories(prefix / "dosdevices");
    std::filesystem::create_directory_symlink(temp.path(), prefix / "dosdevices" / "d:");
    ScopedVariable winePrefix("WINEPREFIX", prefix.string());
    inputs.pathkvx = "D:\\korvix 2.0\\";
    inputs.baseactive = "d:\\BOURSE1";
    command().click(inputs, hooks);
    ASSERT_EQ(starts.size(), 1u) << (messages.empty() ? std::string() : messages[0].toStdString());
    EXPECT_EQ(std::filesystem::canonical(starts[0].program.toStdString()), std::filesystem::canonical(exe));
    EXPECT_EQ(std::filesystem::canonical(starts[0].workingDirectory.toStdString()),
              std::filesystem::canonical(base));
}

TEST_F(KorvixCommandTest, FollowsWithCommentsOnlyWithOption1)
{
    host.putOnTop(5, "Korvix");
    inputs.Option1 = true;
    command().click(inputs, hooks);
    EXPECT_EQ(host.events, (Events{"minimise", "find Korvix", "activate Korvix", "commentaires"}));
    host.events.clear();
    inputs.Option1 = false;
    command().click(inputs, hooks);
    EXPECT_EQ(host.events, (Events{"minimise", "find Korvix", "activate Korvix"}));
}

TEST_F(KorvixCommandTest, UnreachableDesktopIsReportedAndNothingElseHappens)
{
    host.reachable = false;
    inputs.Option1 = true;
    command().click(inputs, hooks);
    EXPECT_EQ(host.events, (Events{"report Parvane"}));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("Les fenetres de Korvix ne sont pas accessibles")));
}

} // namespace
