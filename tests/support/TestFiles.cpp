#include "support/TestFiles.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/TestBase.h"

namespace parvane::test {

namespace fs = std::filesystem;

TempDir::TempDir()
{
    std::string pattern = (fs::temp_directory_path() / "parvane-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        ADD_FAILURE() << "cannot create a temporary folder from " << pattern;
    m_path = pattern;
}

TempDir::~TempDir()
{
    std::error_code error;
    // A test may leave folders without write or search permission; removal needs both.
    fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::add, error);
    for (fs::recursive_directory_iterator entry(m_path, fs::directory_options::skip_permission_denied, error),
         end;
         !error && entry != end; entry.increment(error)) {
        std::error_code ignored;
        if (entry->is_directory(ignored) && !entry->is_symlink(ignored))
            fs::permissions(entry->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
    error.clear();
    fs::remove_all(m_path, error);
}

void writeFile(const fs::path& file, std::string_view bytes)
{
    std::error_code error;
    if (file.has_parent_path())
        fs::create_directories(file.parent_path(), error);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        ADD_FAILURE() << "cannot write " << file;
}

std::string readFile(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return {};
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::map<std::string, std::string> snapshotTree(const fs::path& root)
{
    return snapshotBaseTree(root);
}

void keepActual(const std::string& relativePath, std::string_view bytes)
{
    if (std::getenv("PARVANE_UPDATE_GOLDEN") != nullptr)
        ADD_FAILURE()
            << "PARVANE_UPDATE_GOLDEN is set: golden files are updated by the update-goldens target";
    const char* out = std::getenv("PARVANE_GOLDEN_OUT");
    if (out == nullptr)
        return;
    const fs::path data = fs::weakly_canonical(PARVANE_TEST_DATA_DIR);
    const fs::path target = fs::weakly_canonical(fs::path(out) / relativePath);
    if (std::getenv("CI") != nullptr || target.string().starts_with(data.string()))
        ADD_FAILURE() << "golden output refused (under CI, or into tests/data): " << target;
    else
        writeFile(target, bytes);
}

void asUnprivilegedUser(const fs::path& dir, const std::function<void()>& part)
{
    if (::geteuid() != 0) {
        part();
        return;
    }
    const passwd* nobody = ::getpwnam("nobody");
    ASSERT_NE(nobody, nullptr) << "no user nobody";
    std::error_code error;
    ASSERT_EQ(::lchown(dir.c_str(), nobody->pw_uid, nobody->pw_gid), 0) << dir;
    for (fs::recursive_directory_iterator entry(dir, error), end; !error && entry != end;
         entry.increment(error))
        ASSERT_EQ(::lchown(entry->path().c_str(), nobody->pw_uid, nobody->pw_gid), 0) << entry->path();
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0)
            ::_exit(3);
        part();
        ::_exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "the part run as nobody failed (status " << status << "; its failures are printed above)";
}

std::vector<std::vector<std::string>> dataRows(const std::string& relativePath)
{
    std::istringstream lines(readFile(fs::path(PARVANE_TEST_DATA_DIR) / relativePath));
    EXPECT_TRUE(lines.rdbuf()->in_avail() > 0) << "no case table " << relativePath;
    std::vector<std::vector<std::string>> rows;
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<std::string> row(1);
        for (std::size_t i = 0; i < line.size(); ++i) {
            const char c = line[i];
            if (c == '\t') {
                row.emplace_back();
            } else if (c != '\\' || i + 1 == line.size()) {
                row.back() += c;
            } else if (const char e = line[++i]; e == 'x') {
                row.back() += static_cast<char>(std::stoi(line.substr(i + 1, 2), nullptr, 16));
                i += 2;
            } else {
                row.back() += e == 't' ? '\t' : e == 'r' ? '\r' : e == 'n' ? '\n' : e == '0' ? '\0' : e;
            }
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace parvane::test
