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

TEST(FileRead, ReadsEveryByteOrRefusesWithItsReason)
{
    const TempDir dir;
    const auto at = [&](const char* name) { return dir.path() / name; };
    std::string bytes;
    for (int i = 0; i < 256; ++i)
        bytes.push_back(static_cast<char>(i));
    bytes += std::string("\r\n\0\r", 4);
    writeFile(at("binary.txt"), bytes);
    writeFile(at("empty.txt"), "");
    writeFile(at("plain.txt"), std::string(100, 'x'));
    ASSERT_EQ(::mkfifo(at("fifo.txt").c_str(), 0600), 0);
    std::filesystem::create_symlink("binary.txt", at("link.txt"));
    std::filesystem::create_symlink("gone.txt", at("dangling.txt"));
    writeFile(at("locked.txt"), "secret");
    ASSERT_EQ(::chmod(at("locked.txt").c_str(), 0), 0);

    const struct
    {
        std::filesystem::path file;
        int code;
        bool missing, regular;
        std::string content;
    } cases[] = {
        {at("binary.txt"), 0, false, true, bytes},
        {at("link.txt"), 0, false, true, bytes},
        {at("empty.txt"), 0, false, true, ""},
        {at("nothing.txt"), ENOENT, true, false, ""},
        {at("dangling.txt"), ENOENT, true, false, ""},
        {at("nofolder/a.txt"), ENOENT, true, false, ""},
        {at("plain.txt/a.txt"), ENOTDIR, true, false, ""},
        {dir.path(), EISDIR, false, false, ""},
        {at("fifo.txt"), EINVAL, false, false, ""},
        {"/dev/null", EINVAL, false, false, ""},
        {"/dev/zero", EINVAL, false, false, ""},
        {at("locked.txt"), EACCES, false, true, ""},
    };

    test::asUnprivilegedUser(dir.path(), [&] {
        for (const auto& c : cases) {
            std::string out = "stale";
            const text::FileStatus status = text::readWholeFile(c.file, out);
            EXPECT_EQ(status.code, c.code) << c.file;
            EXPECT_EQ(status.isMissing(), c.missing) << c.file;
            EXPECT_EQ(text::isRegularFile(c.file), c.regular) << c.file;
            EXPECT_EQ(out, c.content) << c.file;
        }
    });
    std::string out;
    EXPECT_EQ(text::readWholeFile(at("plain.txt"), out, 99).code, EFBIG);
    EXPECT_EQ(out, "");
    EXPECT_TRUE(text::readWholeFile(at("plain.txt"), out, 100).ok());
    EXPECT_EQ(out.size(), 100u);
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
    EXPECT_EQ(buffer.substr(0, length), "bcd");
    EXPECT_EQ(buffer.size(), highWater);
    EXPECT_EQ(text::readWholeFileInto(dir.path() / "none.txt", buffer, length).code, ENOENT);
    EXPECT_EQ(length, 0u);
}

} // namespace
} // namespace parvane::evaluation
