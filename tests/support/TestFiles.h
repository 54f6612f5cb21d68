#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace parvane::test {

// A fresh folder under the system's temporary folder, removed with everything in it when the
// object goes (read-only folders inside are made writable again first).
class TempDir
{
public:
    TempDir();
    ~TempDir();

    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

// Writes `bytes` exactly as given (no line-end translation), creating the parent folders.
// A failure fails the current test.
void writeFile(const std::filesystem::path& file, std::string_view bytes);

// The bytes of `file`; "" when it is missing or cannot be read.
std::string readFile(const std::filesystem::path& file);

// Everything under `root`, by relative generic path: a file's bytes, "<dir>" for a folder,
// "<link>" followed by the target for a symbolic link (never followed). For comparing a whole
// tree before and after an operation that must leave it untouched.
std::map<std::string, std::string> snapshotTree(const std::filesystem::path& root);

// A golden file's actual content. Tests never write into tests/data: with PARVANE_GOLDEN_OUT=DIR
// (set by the update-goldens target, refused under CI) `bytes` go to DIR/`relativePath`, which the
// target then copies over tests/data/`relativePath`. PARVANE_UPDATE_GOLDEN, which once rewrote
// the golden files from inside the tests, fails the test.
void keepActual(const std::string& relativePath, std::string_view bytes);

// Runs `part` as the user "nobody" when the tests run as root, as CI does, so that permissions
// hold (a read-only file, a folder without write permission): `dir` and everything in it are
// given to nobody first, and `part` runs in a child process whose failures fail the test.
// Otherwise runs `part` as it is.
void asUnprivilegedUser(const std::filesystem::path& dir, const std::function<void()>& part);

// The rows of a case table under tests/data: its lines without blank lines and "#" comments, cut
// at each Tab, each field read with the escapes \t \r \n \0 and \xHH.
std::vector<std::vector<std::string>> dataRows(const std::string& relativePath);

} // namespace parvane::test
