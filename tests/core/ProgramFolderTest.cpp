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

// The tests run as separate processes: the environment they set goes with them.
TEST(ProgramFolder, HomeOptionWinsThenAWritableExecutableFolderThenTheConfigFolder)
{
    const TempDir dir;
    EXPECT_EQ(programFolder(dir.path() / "home", dir.path()), dir.path() / "home");
    ::setenv("XDG_CONFIG_HOME", (dir.path() / "config").c_str(), 1);
    EXPECT_EQ(programFolder(std::nullopt, dir.path()), dir.path());
    EXPECT_FALSE(fs::exists(dir.path() / "config"));
    EXPECT_TRUE(fs::is_directory(executableFolder()));
    // Installed programs, even for root, and programs of unknown folder use the config folder,
    // which they create; a relative XDG_CONFIG_HOME is ignored for HOME's .config.
    for (const char* folder : {"/usr/bin", "/usr/local/bin", "/bin", ""})
        EXPECT_EQ(programFolder(std::nullopt, folder), dir.path() / "config" / "parvane") << folder;
    EXPECT_TRUE(fs::is_directory(dir.path() / "config" / "parvane"));
    ::setenv("XDG_CONFIG_HOME", "relative/ignored", 1);
    ::setenv("HOME", (dir.path() / "user").c_str(), 1);
    EXPECT_EQ(programFolder(std::nullopt, "/usr/bin"), dir.path() / "user" / ".config" / "parvane");
    EXPECT_TRUE(fs::is_directory(dir.path() / "user" / ".config" / "parvane"));
}

} // namespace
} // namespace parvane::scan
