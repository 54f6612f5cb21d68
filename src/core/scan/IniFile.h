#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace parvane::scan {

// Profile (INI) access to the settings file, with the semantics of the Windows profile functions:
// section and key names match without regard to (ASCII) case; blanks around names and values are
// ignored and a value in matching quotes loses them; lines starting with ";" are comments.

// lireini: the value of `key` in `section` of `file`, cut to its first 254 characters; "" when the
// file, the section or the key is missing or cannot be read.
std::string lireini(std::string_view section, std::string_view key, const std::filesystem::path& file);

// ecrireini: writes `key`=`value` into `section` of `file`, replacing the key's value line when it
// exists; creates the file and the section when missing. Every other section, key and line of the
// file is kept byte for byte (line ends included). The file is written to a temporary file beside
// it and renamed over it, so that a crash never leaves a half-written file. Returns false when the
// file could not be written (the profile functions' callers ignore it).
bool ecrireini(std::string_view section, std::string_view key, std::string_view value,
               const std::filesystem::path& file);

} // namespace parvane::scan
