#include "core/scan/PathMapping.h"

#include <cstdlib>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include <pwd.h>
#include <unistd.h>

#include "core/scan/AsciiCase.h"

namespace parvane::scan {

namespace {

constexpr std::string_view kBaseFolder = "\\base";
constexpr std::string_view kDefaultDroite = "\\base\\droite\\";
constexpr std::string_view kDefaultHisto = "\\base\\histo\\";
constexpr std::string_view kGroupeFolder = "\\base\\groupe\\";
constexpr std::string_view kCommentFolder = "\\Base\\comment\\";

bool isSeparator(char c)
{
    return c == '\\' || c == '/';
}

std::vector<std::string_view> components(std::string_view text)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = start;
        while (end < text.size() && !isSeparator(text[end]))
            ++end;
        if (end > start)
            parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

// The entry of `folder` named `name` without regard to ASCII case: the exact spelling when it
// exists, else the first match in byte order (so that two spellings in one folder always give the
// same answer); std::nullopt when nothing matches or the folder cannot be listed.
std::optional<std::string> matchEntry(const std::filesystem::path& folder, std::string_view name)
{
    std::error_code error;
    if (std::filesystem::exists(std::filesystem::symlink_status(folder / name, error)))
        return std::string(name);
    std::optional<std::string> best;
    const std::filesystem::directory_iterator end;
    for (std::filesystem::directory_iterator entry(folder, error); !error && entry != end;
         entry.increment(error)) {
        std::string entryName = entry->path().filename().string();
        if (equalsIgnoringCase(entryName, name) && (!best || entryName < *best))
            best = std::move(entryName);
    }
    return best;
}

// Appends `parts` to `path`, each matched against what exists until one matches nothing; that one
// and the rest keep their spelling. "." is passed over; ".." goes up, never above `path` itself.
std::filesystem::path appendMatched(std::filesystem::path path, const std::vector<std::string_view>& parts)
{
    bool matching = true;
    std::size_t depth = 0;
    for (const std::string_view part : parts) {
        if (part == ".")
            continue;
        if (part == "..") {
            if (depth > 0) {
                path = path.parent_path();
                --depth;
            }
            continue;
        }
        std::optional<std::string> entry;
        if (matching)
            entry = matchEntry(path, part);
        matching = entry.has_value();
        path /= entry ? std::filesystem::path(*entry) : std::filesystem::path(part);
        ++depth;
    }
    return path;
}

std::filesystem::path homeFolder()
{
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
        return home;
    if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_dir != nullptr)
        return entry->pw_dir;
    return {};
}

bool isAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

std::filesystem::path driveFolder(char letter, const PathEnvironment& environment)
{
    const char lower = lowerAscii(letter);
    const std::filesystem::path devices = environment.winePrefix / "dosdevices";
    std::filesystem::path drive = devices / (std::string(1, lower) + ":");
    std::error_code error;
    if (lower == 'c' && !std::filesystem::exists(drive, error))
        drive = environment.winePrefix / "drive_c";
    return drive;
}

} // namespace

PathEnvironment pathEnvironmentFromSystem()
{
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix != nullptr && *prefix != '\0')
        return PathEnvironment{prefix};
    return PathEnvironment{homeFolder() / ".wine"};
}

std::filesystem::path mapSettingsPath(std::string_view text, const PathEnvironment& environment)
{
    if (text.empty())
        return {};
    if (text.front() == '/') {
        // A Linux path: "\" may be part of a Linux file name, so it stays as written.
        while (text.size() > 1 && text.back() == '/')
            text.remove_suffix(1);
        return std::filesystem::path(std::string(text));
    }
    if (text.size() >= 2 && isAsciiLetter(text[0]) && text[1] == ':')
        return appendMatched(driveFolder(text[0], environment), components(text.substr(2)));
    if (text.size() >= 2 && isSeparator(text[0]) && isSeparator(text[1])) {
        // "\\server\share\...": Wine reaches network shares through dosdevices/unc.
        return appendMatched(environment.winePrefix / "dosdevices" / "unc", components(text.substr(2)));
    }
    if (isSeparator(text[0])) {
        // A path from the root of the current drive; under Wine that is drive C.
        return appendMatched(driveFolder('c', environment), components(text));
    }
    std::filesystem::path relative;
    for (const std::string_view part : components(text))
        relative /= std::filesystem::path(part);
    return relative;
}

std::filesystem::path resolveUnderBase(const std::filesystem::path& root, std::string_view relative)
{
    return appendMatched(root, components(relative));
}

BaseLayout BaseLayout::resolve(const std::filesystem::path& root, std::string_view droiteText,
                               std::string_view histoText)
{
    BaseLayout layout;
    layout.root = root;
    layout.base = resolveUnderBase(root, kBaseFolder);
    layout.droite = resolveUnderBase(root, droiteText.empty() ? kDefaultDroite : droiteText);
    layout.histo = resolveUnderBase(root, histoText.empty() ? kDefaultHisto : histoText);
    layout.groupe = resolveUnderBase(root, kGroupeFolder);
    layout.comment = resolveUnderBase(root, kCommentFolder);
    return layout;
}

} // namespace parvane::scan
