#include "core/scan/ProgramFolder.h"

#include <cstdlib>
#include <string>
#include <system_error>

#include <pwd.h>
#include <unistd.h>

namespace parvane::scan {

namespace {

std::filesystem::path configHome()
{
    // The XDG rule: a relative $XDG_CONFIG_HOME is invalid and passed over.
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg == '/')
        return xdg;
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
        return std::filesystem::path(home) / ".config";
    if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_dir != nullptr)
        return std::filesystem::path(entry->pw_dir) / ".config";
    return {};
}

// The folders where a package or `cmake --install` puts the programs: the system's, never a
// portable program folder, even for root, who can write there.
bool isSystemFolder(const std::filesystem::path& folder)
{
    const std::string text = folder.lexically_normal().string();
    return text == "/usr" || text.starts_with("/usr/") || text == "/bin" || text == "/sbin";
}

} // namespace

std::filesystem::path programFolder(const std::optional<std::filesystem::path>& home,
                                    const std::filesystem::path& executableDir)
{
    if (home)
        return *home;
    if (!executableDir.empty() && !isSystemFolder(executableDir)
        && ::access(executableDir.c_str(), W_OK) == 0)
        return executableDir;
    const std::filesystem::path folder = configHome() / "parvane";
    std::error_code error;
    // A failure shows later, when a file of the folder cannot be written.
    std::filesystem::create_directories(folder, error);
    return folder;
}

std::filesystem::path executableFolder()
{
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return {};
    return executable.parent_path();
}

} // namespace parvane::scan
