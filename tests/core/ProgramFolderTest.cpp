#include "core/scan/ProgramFolder.h"

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/TestFiles.h"

namespace parvane::scan {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

// Sets an environment variable for the length of a test (the tests run as separate processes).
struct ScopedEnv
{
    ScopedEnv(const char* name, const std::string& value) { ::setenv(name, value.c_str(), 1); }
};

TEST(ProgramFolder, HomeOptionWinsThenAWritableExecutableFolder)
{
    const TempDir dir;
    EXPECT_EQ(programFolder(dir.path() / "home", dir.path()), dir.path() / "home");
    const ScopedEnv config("XDG_CONFIG_HOME", (dir.path() / "config").string());
    EXPECT_EQ(programFolder(std::nullopt, dir.path()), dir.path());
    EXPECT_FALSE(fs::exists(dir.path() / "config"));
    for (const char* folder : {"/usr/bin", "/usr/local/bin", "/bin"})
        EXPECT_EQ(programFolder(std::nullopt, folder), dir.path() / "config" / "parvane") << folder;
    EXPECT_TRUE(fs::is_directory(executableFolder()));
}

TEST(ProgramFolder, OtherwiseUsesTheConfigFolderAndCreatesIt)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not apply to root";
    const TempDir dir;
    fs::create_directories(dir.path() / "bin");
    ASSERT_EQ(::chmod((dir.path() / "bin").c_str(), 0555), 0);
    {
        const ScopedEnv config("XDG_CONFIG_HOME", (dir.path() / "config").string());
        EXPECT_EQ(programFolder(std::nullopt, dir.path() / "bin"), dir.path() / "config" / "parvane");
        EXPECT_TRUE(fs::is_directory(dir.path() / "config" / "parvane"));
    }
    {
        const ScopedEnv config("XDG_CONFIG_HOME", "relative/ignored");
        const ScopedEnv home("HOME", (dir.path() / "user").string());
        EXPECT_EQ(programFolder(std::nullopt, dir.path() / "bin"),
                  dir.path() / "user" / ".config" / "parvane");
        EXPECT_TRUE(fs::is_directory(dir.path() / "user" / ".config" / "parvane"));
    }
    {
        const ScopedEnv config("XDG_CONFIG_HOME", (dir.path() / "config2").string());
        EXPECT_EQ(programFolder(std::nullopt, fs::path()), dir.path() / "config2" / "parvane");
    }
}

} // namespace
} // namespace parvane::scan
