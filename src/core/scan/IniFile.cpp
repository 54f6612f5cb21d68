#include "core/scan/IniFile.h"

#include <cerrno>
#include <new>
#include <optional>
#include <system_error>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "core/scan/AsciiCase.h"
#include "core/text/FileRead.h"
#include "core/text/FileWrite.h"

namespace parvane::scan {

namespace {

// GetPrivateProfileString fills a buffer of 255 characters, the last one for the terminating NUL.
constexpr std::size_t kMaxValueLength = 254;

constexpr std::string_view kNewLine = "\r\n";

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view trimBlanks(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// One line of the file: its text without the line end, and where the next line starts.
struct Line
{
    std::size_t start = 0;
    std::size_t contentEnd = 0;
    std::size_t end = 0;
};

// The lines of a profile. A UTF-8 byte order mark, which some editors put at the start, is kept
// in the file but is no part of the first line.
std::vector<Line> splitLines(std::string_view text)
{
    std::vector<Line> lines;
    std::size_t start = text.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
    while (start < text.size()) {
        std::size_t i = start;
        while (i < text.size() && text[i] != '\n' && text[i] != '\r')
            ++i;
        Line line{start, i, i};
        if (i < text.size()) {
            line.end = i + 1;
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                line.end = i + 2;
        }
        lines.push_back(line);
        start = line.end;
    }
    return lines;
}

// The name of a section line ("[name]", blanks around the name ignored).
std::optional<std::string_view> sectionName(std::string_view line)
{
    line = trimBlanks(line);
    if (line.empty() || line.front() != '[')
        return std::nullopt;
    const std::size_t close = line.rfind(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return trimBlanks(line.substr(1, close - 1));
}

struct KeyValue
{
    std::string_view key;
    std::string_view value;
};

// A value line "key=value"; comment lines (";") and lines without "=" are none.
std::optional<KeyValue> keyValue(std::string_view line)
{
    line = trimBlanks(line);
    if (line.empty() || line.front() == ';')
        return std::nullopt;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    return KeyValue{trimBlanks(line.substr(0, equals)), trimBlanks(line.substr(equals + 1))};
}

std::string_view unquoted(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

bool holdsLineBreakOrNul(std::string_view text)
{
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

// The content of the file after writing `key`=`value` into `section`.
std::string withKey(std::string_view bytes, std::string_view section, std::string_view key,
                    std::string_view value)
{
    std::string keyLine;
    keyLine.append(key).append("=").append(value);

    const std::vector<Line> lines = splitLines(bytes);
    std::size_t index = 0;
    for (; index < lines.size(); ++index) {
        const Line& line = lines[index];
        const auto name = sectionName(bytes.substr(line.start, line.contentEnd - line.start));
        if (name && equalsIgnoringCase(*name, section))
            break;
    }

    std::string content;
    content.reserve(bytes.size() + keyLine.size() + section.size() + 8);
    if (index == lines.size()) {
        content.assign(bytes);
        if (!lines.empty() && content.back() != '\n' && content.back() != '\r')
            content.append(kNewLine);
        content.append("[").append(section).append("]").append(kNewLine);
        content.append(keyLine).append(kNewLine);
        return content;
    }

    // The key's line in the section, or the section's last line that is not blank (the key is
    // added after it, before the blank lines that part the section from the next one).
    std::size_t lastFilled = index;
    for (std::size_t k = index + 1; k < lines.size(); ++k) {
        const Line& line = lines[k];
        const std::string_view text = bytes.substr(line.start, line.contentEnd - line.start);
        if (sectionName(text))
            break;
        const auto entry = keyValue(text);
        if (entry && equalsIgnoringCase(entry->key, key)) {
            content.append(bytes.substr(0, line.start));
            content.append(keyLine);
            content.append(bytes.substr(line.contentEnd));
            return content;
        }
        if (!trimBlanks(text).empty())
            lastFilled = k;
    }
    const Line& after = lines[lastFilled];
    content.append(bytes.substr(0, after.end));
    if (after.end == after.contentEnd)
        content.append(kNewLine);
    content.append(keyLine).append(kNewLine);
    content.append(bytes.substr(after.end));
    return content;
}

} // namespace

std::string lireini(std::string_view section, std::string_view key, const std::filesystem::path& file)
{
    try {
        std::string bytes;
        if (!text::readWholeFile(file, bytes).ok())
            return {};
        section = trimBlanks(section);
        key = trimBlanks(key);
        bool inSection = false;
        for (const Line& line : splitLines(bytes)) {
            const std::string_view text =
                std::string_view(bytes).substr(line.start, line.contentEnd - line.start);
            if (const auto name = sectionName(text)) {
                // Only the first section of the name is looked at, as the profile functions do.
                if (inSection)
                    return {};
                inSection = equalsIgnoringCase(*name, section);
                continue;
            }
            if (!inSection)
                continue;
            const auto entry = keyValue(text);
            if (entry && equalsIgnoringCase(entry->key, key))
                return std::string(unquoted(entry->value).substr(0, kMaxValueLength));
        }
        return {};
    } catch (const std::bad_alloc&) {
        return {};
    }
}

bool ecrireini(std::string_view section, std::string_view key, std::string_view value,
               const std::filesystem::path& file)
{
    section = trimBlanks(section);
    key = trimBlanks(key);
    value = trimBlanks(value);
    // A line break would split the entry into lines that read back as something else.
    if (key.empty() || holdsLineBreakOrNul(section) || holdsLineBreakOrNul(key) || holdsLineBreakOrNul(value)
        || section.find(']') != std::string_view::npos || key.find('=') != std::string_view::npos
        || key.front() == '[' || key.front() == ';')
        return false;

    try {
        std::error_code error;
        std::filesystem::path target = file;
        if (std::filesystem::is_symlink(file, error)) {
            // Write through a link to the file it names, so that the link stays a link.
            const std::filesystem::path resolved = std::filesystem::canonical(file, error);
            if (!error)
                target = resolved;
        }

        std::string bytes;
        std::optional<mode_t> mode;
        const text::FileStatus status = text::readWholeFile(target, bytes);
        if (status.ok()) {
            struct stat info
            {};

            if (::stat(target.c_str(), &info) != 0 || ::access(target.c_str(), W_OK) != 0)
                return false;
            mode = info.st_mode & 07777;
        } else if (status.code != ENOENT) {
            return false;
        }

        return text::replaceFile(target, withKey(bytes, section, key, value), mode) == 0;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace parvane::scan
