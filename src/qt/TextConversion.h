#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include <QString>

namespace parvane::qt {

// The one place where the windows turn bytes into QString and back; the rule itself lives in
// core/text/DiskName.h. Texts read from inside Korvix's files (comments, group lines, result rows)
// are Windows-1252; names on the disk and paths are UTF-8 when valid, else Windows-1252.

QString fromWindows1252(std::string_view bytes);
std::string toWindows1252(const QString& text);
// Appends the Windows-1252 form of `text` to `bytes`, without a string of its own for Latin-1 text.
void appendWindows1252(std::string& bytes, const QString& text);

QString fromDiskName(std::string_view name);
QString fromDiskPath(const std::filesystem::path& path);

// A path typed or chosen in a window, as the bytes that name it on the disk (UTF-8).
std::filesystem::path toDiskPath(const QString& text);

} // namespace parvane::qt
