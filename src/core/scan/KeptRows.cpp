#include "core/scan/KeptRows.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <set>

#include "core/text/FileRead.h"
#include "core/text/FileWrite.h"
#include "core/text/TextLines.h"
#include "core/text/Windows1252.h"

namespace parvane::scan {

namespace {

constexpr std::string_view kCrossingMark = "X_";

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

// One hit as a line of the kept file, without the options and the line end: kind, stock, code and
// unit, Tab separated, in Windows-1252 as the base's files hold them.
std::string hitText(const ResultRow& row, RowEncoding encoding)
{
    std::string text = isCrossing(row) ? "X" : "P";
    for (const std::string_view field :
         {stockName(row), trimmed(row[static_cast<std::size_t>(ResultColumn::Sicovam)]),
          trimmed(row[static_cast<std::size_t>(ResultColumn::UT)])}) {
        text += '\t';
        if (encoding == RowEncoding::Utf8)
            text += text::utf8ToWindows1252(field);
        else
            text += field;
    }
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

} // namespace

std::string runOptionsKey(const ScanOptions& options, std::vector<std::string> groups)
{
    std::string key = "proximity=";
    key += options.proximity ? (options.daily ? "D" : "") + std::string(options.weekly ? "W" : "") : "off";
    key += options.proximity ? " max-gap=" + numberText(options.maxGap) : "";
    key += " crossing=";
    key += options.crossing ? "on" : "off";
    key += options.crossing && options.volumeFilter ? " volume=" + numberText(options.volumeThreshold) : "";
    std::sort(groups.begin(), groups.end());
    groups.erase(std::unique(groups.begin(), groups.end()), groups.end());
    key += " groups=";
    for (std::size_t i = 0; i < groups.size(); ++i)
        key += (i == 0 ? "" : ",") + groups[i];
    // The key ends at the first Tab of a line of the kept file.
    std::replace_if(
        key.begin(), key.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
    return key;
}

std::filesystem::path keptRowsFile(const std::filesystem::path& programFolder,
                                   const std::filesystem::path& base)
{
    std::error_code error;
    std::filesystem::path folder = std::filesystem::weakly_canonical(base, error);
    if (error)
        folder = std::filesystem::absolute(base, error);
    std::array<char, 16> hex{};
    const auto result = std::to_chars(hex.data(), hex.data() + hex.size(), fnv1a(folder.native()), 16);
    const std::string digits(hex.data(), result.ptr);
    return programFolder / ("newrows-" + std::string(hex.size() - digits.size(), '0') + digits + ".txt");
}

bool isCrossing(const ResultRow& row)
{
    return row[static_cast<std::size_t>(ResultColumn::Action)].starts_with(kCrossingMark);
}

std::string_view stockName(const ResultRow& row)
{
    std::string_view action = row[static_cast<std::size_t>(ResultColumn::Action)];
    if (isCrossing(row))
        action.remove_prefix(kCrossingMark.size());
    return trimmed(action);
}

NewRowsResult markNewRows(const std::filesystem::path& file, const std::string& optionsKey,
                          const std::vector<ResultRow>& rows, RowEncoding encoding, bool complete)
{
    NewRowsResult result;
    std::string bytes;
    const text::FileStatus status = text::readWholeFile(file, bytes);
    const bool readable = status.ok() || status.isMissing();
    if (!readable) {
        result.problems.push_back("lignes de la recherche precedente illisibles (" + file.string()
                                  + "): " + std::strerror(status.code));
        bytes.clear();
    }

    const std::string prefix = optionsKey + '\t';
    std::set<std::string, std::less<>> previous;
    std::string kept = "# Lignes gardees par parvane-scan: options, genre, action, code, UT\r\n";
    bool first = true;
    text::forEachLine(bytes, [&](std::string_view line) {
        if (first && line.starts_with("# ")) {
            first = false;
            return;
        }
        first = false;
        if (line.starts_with(prefix)) {
            previous.emplace(line.substr(prefix.size()));
        } else {
            kept += line;
            kept += "\r\n";
        }
    });

    std::set<std::string> written;
    result.isNew.reserve(rows.size());
    for (const ResultRow& row : rows) {
        std::string hit = hitText(row, encoding);
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
