#include "core/text/FileRead.h"

#include <cerrno>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/TestFiles.h"

namespace parvane::evaluation {
namespace {

using test::TempDir;
using test::writeFile;

TEST(FileRead, ReadsEveryByteOfABinaryFile)
{
    const TempDir dir;
    std::string bytes;
    for (int i = 0; i < 256; ++i)
        bytes.push_back(static_cast<char>(i));
    bytes += std::string("\r\n\0\r", 4);
    writeFile(dir.path() / "binary.txt", bytes);

    std::string out = "previous content";
    ASSERT_TRUE(text::readWholeFile(dir.path() / "binary.txt", out).ok());
    EXPECT_EQ(out, bytes);
}

TEST(FileRead, ReadsAnEmptyFile)
{
    const TempDir dir;
    writeFile(dir.path() / "empty.txt", "");
    std::string out = "x";
    EXPECT_TRUE(text::readWholeFile(dir.path() / "empty.txt", out).ok());
    EXPECT_EQ(out, "");
}

TEST(FileRead, ReportsAMissingFileOrFolder)
{
    const TempDir dir;
    writeFile(dir.path() / "plain.txt", "x");
    std::string out = "stale";

    const text::FileStatus missing = text::readWholeFile(dir.path() / "nothing.txt", out);
    EXPECT_EQ(missing.code, ENOENT);
    EXPECT_TRUE(missing.isMissing());
    EXPECT_EQ(out, "");

    const text::FileStatus missingFolder = text::readWholeFile(dir.path() / "nofolder" / "a.txt", out);
    EXPECT_TRUE(missingFolder.isMissing());

    // A file where a folder was expected.
    const text::FileStatus notFolder = text::readWholeFile(dir.path() / "plain.txt" / "a.txt", out);
    EXPECT_EQ(notFolder.code, ENOTDIR);
    EXPECT_TRUE(notFolder.isMissing());
}

TEST(FileRead, RefusesAFolder)
{
    const TempDir dir;
    std::string out = "stale";
    const text::FileStatus status = text::readWholeFile(dir.path(), out);
    EXPECT_EQ(status.code, EISDIR);
    EXPECT_FALSE(status.isMissing());
    EXPECT_EQ(out, "");
    EXPECT_FALSE(text::isRegularFile(dir.path()));
}

TEST(FileRead, RefusesAFifoWithoutBlocking)
{
    const TempDir dir;
    const auto fifo = dir.path() / "fifo.txt";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string out;
    const text::FileStatus status = text::readWholeFile(fifo, out);
    EXPECT_EQ(status.code, EINVAL);
    EXPECT_FALSE(status.isMissing());
    EXPECT_FALSE(text::isRegularFile(fifo));
}

TEST(FileRead, RefusesADevice)
{
    std::string out;
    EXPECT_EQ(text::readWholeFile("/dev/null", out).code, EINVAL);
    EXPECT_EQ(text::readWholeFile("/dev/zero", out).code, EINVAL);
}

TEST(FileRead, RefusesAFileLargerThanTheLimit)
{
    const TempDir dir;
    writeFile(dir.path() / "big.txt", std::string(100, 'x'));
    std::string out;
    EXPECT_EQ(text::readWholeFile(dir.path() / "big.txt", out, 99).code, EFBIG);
    EXPECT_EQ(out, "");
    EXPECT_TRUE(text::readWholeFile(dir.path() / "big.txt", out, 100).ok());
    EXPECT_EQ(out.size(), 100u);
}

TEST(FileRead, ReportsAFileThatCannotBeOpened)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not apply to root";
    const TempDir dir;
    const auto file = dir.path() / "locked.txt";
    writeFile(file, "secret");
    ASSERT_EQ(::chmod(file.c_str(), 0), 0);
    std::string out;
    const text::FileStatus status = text::readWholeFile(file, out);
    EXPECT_EQ(status.code, EACCES);
    EXPECT_FALSE(status.isMissing());
}

TEST(FileRead, ReusedBufferOnlyGrows)
{
    const TempDir dir;
    writeFile(dir.path() / "long.txt", std::string(5000, 'a'));
    writeFile(dir.path() / "short.txt", "bcd");
    std::string buffer;
    std::size_t length = 0;
    ASSERT_TRUE(text::readWholeFileInto(dir.path() / "long.txt", buffer, length).ok());
    EXPECT_EQ(length, 5000u);
    const std::size_t highWater = buffer.size();
    ASSERT_TRUE(text::readWholeFileInto(dir.path() / "short.txt", buffer, length).ok());
    EXPECT_EQ(length, 3u);
    EXPECT_EQ(buffer.substr(0, length), "bcd");
    EXPECT_EQ(buffer.size(), highWater);
    EXPECT_EQ(text::readWholeFileInto(dir.path() / "none.txt", buffer, length).code, ENOENT);
    EXPECT_EQ(length, 0u);
}

TEST(FileRead, IsRegularFileFollowsLinks)
{
    const TempDir dir;
    writeFile(dir.path() / "a.txt", "x");
    std::filesystem::create_symlink("a.txt", dir.path() / "link.txt");
    std::filesystem::create_symlink("gone.txt", dir.path() / "dangling.txt");
    EXPECT_TRUE(text::isRegularFile(dir.path() / "a.txt"));
    EXPECT_TRUE(text::isRegularFile(dir.path() / "link.txt"));
    EXPECT_FALSE(text::isRegularFile(dir.path() / "dangling.txt"));
    EXPECT_FALSE(text::isRegularFile(dir.path() / "gone.txt"));
}

} // namespace
} // namespace parvane::evaluation
