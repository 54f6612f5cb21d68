#include "core/scan/KeptRows.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <map>
#include <set>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "core/scan/FolderIndex.h"
#include "core/scan/GroupFile.h"
#include "core/scan/GroupSelection.h"
#include "core/scan/StockFinder.h"
#include "core/text/DiskName.h"
#include "core/text/FileRead.h"
#include "core/text/FileWrite.h"
#include "core/text/TextLines.h"
#include "core/text/Windows1252.h"

namespace parvane::scan {

namespace {

constexpr std::string_view kHeader =
    "# Parvane: lignes gardees (options, genre, UT, fichier de l'action); base ";
// The first line of the files of the earlier form, whose hits were the texts shown.
constexpr std::string_view kEarlierHeader = "# Lignes gardees par parvane-scan:";
constexpr std::string_view kGroupsField = " groups=";

std::string numberText(double value)
{
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

// One hit as a line of the kept file, without the options and the line end.
std::string hitText(bool crossing, std::string_view unit, std::string_view fileName)
{
    std::string text = crossing ? "X\t" : "P\t";
    text += trimmed(unit);
    text += '\t';
    text += text::diskNameToUtf8(fileName);
    return text;
}

// "groups=" and the names as a sorted set, in UTF-8.
std::string groupsField(std::vector<std::string> groups)
{
    std::sort(groups.begin(), groups.end());
    groups.erase(std::unique(groups.begin(), groups.end()), groups.end());
    std::string field = std::string(kGroupsField.substr(1));
    for (std::size_t i = 0; i < groups.size(); ++i)
        field += (i == 0 ? "" : ",") + groups[i];
    return field;
}

std::string withoutLineBreaks(std::string text)
{
    // The key ends at the first Tab of a line of the kept file.
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
    return text;
}

std::uint64_t fnv1a(std::string_view bytes)
{
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    return hash;
}

// The base folder as the kept file names it and as its name is made: the same base reached by
// another path (a link, a relative path) is the same base.
std::filesystem::path canonicalBase(const std::filesystem::path& base)
{
    std::error_code error;
    std::filesystem::path folder = std::filesystem::weakly_canonical(base, error);
    if (error)
        folder = std::filesystem::absolute(base, error);
    return folder;
}

// An exclusive lock on `file` + ".lock" for the life of the object; without it (the lock file
// cannot be made) the kept rows are still compared and written.
class FileLock
{
public:
    explicit FileLock(const std::filesystem::path& file)
    {
        const std::string lock = file.string() + ".lock";
        m_fd = ::open(lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (m_fd < 0)
            return;
        while (::flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
        }
    }

    ~FileLock()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }

    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

private:
    int m_fd = -1;
};

// The lines of a file of the earlier form, as lines of the present one: a hit named its stock by
// the texts the row showed (the name with its "X_" mark cut to 15 characters when longer than 16,
// the code, the unit; Windows-1252), and its options by the group names as given.
class EarlierFormConverter
{
public:
    explicit EarlierFormConverter(const BaseLayout& layout)
        : m_groups(listegroupes(layout))
    {
        for (const std::string& file : listTextFiles(layout.droite)) {
            const std::string windows = text::diskNameToWindows1252(file).bytes;
            if (const auto stock = splitStockFileName(windows))
                m_byCode.emplace(std::string(stock->code), std::pair{std::string(stock->name), file});
        }
    }

    // The lines of the present form for one earlier line; none when its stock is gone.
    std::vector<std::string> convert(std::string_view line) const
    {
        std::vector<std::string_view> fields;
        for (std::size_t start = 0;;) {
            const std::size_t tab = line.find('\t', start);
            fields.push_back(line.substr(start, tab - start));
            if (tab == std::string_view::npos)
                break;
            start = tab + 1;
        }
        if (fields.size() != 5 || (fields[1] != "X" && fields[1] != "P"))
            return {};
        const bool crossing = fields[1] == "X";
        const std::string key = convertKey(fields[0]);
        std::vector<std::string> lines;
        const auto [first, last] = m_byCode.equal_range(std::string(fields[3]));
        for (auto it = first; it != last; ++it) {
            std::string marked = (crossing ? "X_" : "") + it->second.first;
            if (marked.size() > 16)
                marked.resize(15);
            std::string_view shown = trimmed(marked);
            if (crossing)
                shown.remove_prefix(2);
            if (shown == fields[2])
                lines.push_back(key + '\t' + hitText(crossing, fields[4], it->second.second));
        }
        return lines;
    }

private:
    std::string convertKey(std::string_view key) const
    {
        const std::size_t at = key.rfind(kGroupsField);
        if (at == std::string_view::npos)
            return std::string(key);
        std::vector<std::string> groups;
        std::string_view names = key.substr(at + kGroupsField.size());
        while (!names.empty()) {
            const std::size_t comma = names.find(',');
            const std::string_view name = names.substr(0, comma);
            const auto found = findGroupName(m_groups, name);
            groups.push_back(text::diskNameToUtf8(found ? *found : name));
            names = comma == std::string_view::npos ? std::string_view() : names.substr(comma + 1);
        }
        return withoutLineBreaks(std::string(key.substr(0, at + 1)) + groupsField(std::move(groups)));
    }

    std::vector<std::string> m_groups;
    std::multimap<std::string, std::pair<std::string, std::string>> m_byCode; // code -> name, file
};

} // namespace

std::string hitText(const RowIdentity& row)
{
    return hitText(row.crossing, row.unit, row.fileName);
}

std::string runOptionsKey(const ScanOptions& options, const Selection& selection)
{
    std::string key = "proximity=";
    key += options.proximity ? (options.daily ? "D" : "") + std::string(options.weekly ? "W" : "") : "off";
    key += options.proximity ? " max-gap=" + numberText(options.maxGap) : "";
    key += " crossing=";
    key += options.crossing ? "on" : "off";
    key += options.crossing && options.volumeFilter ? " volume=" + numberText(options.volumeThreshold) : "";
    std::vector<std::string> groups;
    if (selection.active) {
        for (const std::string& group : selection.groups)
            groups.push_back(text::diskNameToUtf8(group));
    }
    return withoutLineBreaks(key + " " + groupsField(std::move(groups)));
}

std::filesystem::path keptRowsFile(const std::filesystem::path& programFolder,
                                   const std::filesystem::path& base)
{
    const std::filesystem::path folder = canonicalBase(base);
    std::array<char, 16> hex{};
    const auto result = std::to_chars(hex.data(), hex.data() + hex.size(), fnv1a(folder.native()), 16);
    const std::string digits(hex.data(), result.ptr);
    return programFolder / ("newrows-" + std::string(hex.size() - digits.size(), '0') + digits + ".txt");
}

NewRowsResult markNewRows(const std::filesystem::path& file, const BaseLayout& layout,
                          const std::string& optionsKey, const std::vector<RowIdentity>& rows, bool complete)
{
    NewRowsResult result;
    const FileLock lock(file);
    std::string bytes;
    const text::FileStatus status = text::readWholeFile(file, bytes);
    const bool readable = status.ok() || status.isMissing();
    if (!readable) {
        result.problems.push_back("lignes de la recherche precedente illisibles (" + file.string()
                                  + "): " + std::strerror(status.code));
        bytes.clear();
    }

    const std::string baseText = text::diskNameToUtf8(canonicalBase(layout.base).string());
    const std::string header = std::string(kHeader) + baseText;
    const std::string prefix = optionsKey + '\t';
    std::set<std::string, std::less<>> previous;
    std::string kept = header + "\r\n";
    std::optional<EarlierFormConverter> converter;
    bool first = true;
    bool otherBase = false;
    const auto keep = [&](std::string_view line) {
        if (line.starts_with(prefix)) {
            previous.emplace(line.substr(prefix.size()));
        } else {
            kept += line;
            kept += "\r\n";
        }
    };
    text::forEachLine(bytes, [&](std::string_view line) {
        if (first) {
            first = false;
            if (line.starts_with(kEarlierHeader)) {
                converter.emplace(layout);
                return;
            }
            if (line.starts_with(kHeader)) {
                otherBase = line != header;
                return;
            }
        }
        if (otherBase)
            return;
        if (!converter) {
            keep(line);
            return;
        }
        for (const std::string& converted : converter->convert(line))
            keep(converted);
    });
    if (otherBase) {
        result.problems.push_back("les lignes gardees dans " + file.string()
                                  + " etaient celles d'une autre base: elles sont remplacees");
    }

    std::set<std::string> written;
    result.isNew.reserve(rows.size());
    for (const RowIdentity& row : rows) {
        std::string hit = hitText(row);
        result.isNew.push_back(!previous.contains(hit));
        if (written.insert(hit).second)
            kept += prefix + hit + "\r\n";
    }
    if (complete && readable) {
        if (const int error = text::replaceFile(file, kept); error != 0)
            result.problems.push_back("impossible d'ecrire " + file.string() + ": " + std::strerror(error));
    }
    return result;
}

} // namespace parvane::scan
