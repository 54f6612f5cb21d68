#pragma once

#include <filesystem>
#include <optional>

namespace parvane::scan {

// The program folder, which holds zarbel.ini, errorlog.txt and help-parvane.htm: `home` when
// given; else `executableDir` when the user can write there (a portable install) and it is not a
// system folder (/usr/..., /bin, /sbin: an installed program, even run by root); else
// $XDG_CONFIG_HOME/parvane (~/.config/parvane), created when missing.
std::filesystem::path programFolder(const std::optional<std::filesystem::path>& home,
                                    const std::filesystem::path& executableDir);

// The folder of the running executable (/proc/self/exe); empty when unknown.
std::filesystem::path executableFolder();

} // namespace parvane::scan
