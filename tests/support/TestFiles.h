#pragma once

#include <filesystem>
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

// The rows of a case table under tests/data: its lines without blank lines and "#" comments, cut
// at each Tab, each field read with the escapes \t \r \n \0 and \xHH.
std::vector<std::vector<std::string>> dataRows(const std::string& relativePath);

} // namespace parvane::test
