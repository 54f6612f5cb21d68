#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace parvane::scan {

// The file name of Korvix's executable in its folder.
inline constexpr std::string_view kKorvixExecutable = "korvix.exe";

// True when `name` is "korvix.exe" without regard to ASCII case ("Korvix.exe", "KORVIX.EXE"):
// Korvix's file system ignores case, and Wine names a program's windows after it as installed.
bool isKorvixExecutableName(std::string_view name) noexcept;

// Korvix's executable in `folder`: the regular file (or a link to one) named "korvix.exe" without
// regard to case; the exact spelling wins when several match. std::nullopt when there is none or
// the folder cannot be listed. Never throws.
std::optional<std::filesystem::path> findKorvixExecutable(const std::filesystem::path& folder);

} // namespace parvane::scan
