#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/text/FileRead.h"

namespace parvane::evaluation {

// True only for an existing regular file: a folder or a missing path gives false.
bool ExistFile(const std::filesystem::path& strPath) noexcept;

// Reads a comment file's lines in file order, blank lines included, without line ends (CR LF,
// LF or CR). `lines` is replaced. Returns the failure of the open or read; `lines` is then empty.
[[nodiscard]] text::FileStatus readCommentLines(const std::filesystem::path& file,
                                                std::vector<std::string>& lines);

} // namespace parvane::evaluation
