#include "core/scan/StockFinder.h"

#include <algorithm>
#include <functional>

#include "core/scan/AsciiCase.h"
#include "core/scan/FolderIndex.h"
#include "core/text/Collation.h"
#include "core/text/DiskName.h"
#include "core/text/Windows1252.h"

namespace parvane::scan {

namespace {

// Lower case of a Windows-1252 byte: ASCII, the accented capitals and "ŠŒŽŸ".
char lowerWindows1252(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    if ((byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7))
        return static_cast<char>(byte + 0x20);
    switch (byte) {
    case 0x8A:
    case 0x8C:
    case 0x8E:
        return static_cast<char>(byte + 0x10);
    case 0x9F:
        return static_cast<char>(0xFF);
    default:
        return c;
    }
}

std::string_view withoutTxt(std::string_view name)
{
    if (name.size() >= 4 && equalsIgnoringCase(name.substr(name.size() - 4), ".txt"))
        name.remove_suffix(4);
    return name;
}

// The name part of a stock key: before the first "_".
std::string_view namePart(std::string_view key)
{
    return key.substr(0, key.find('_'));
}

std::size_t editDistance(std::string_view a, std::string_view b)
{
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

struct Candidate
{
    const std::string* fileName;
    std::string key;   // case folded
    std::string loose; // accents and case folded
};

} // namespace

std::string typedNameKey(std::string_view name)
{
    std::string key = text::utf8ToWindows1252(text::diskNameToUtf8(name));
    std::transform(key.begin(), key.end(), key.begin(), lowerWindows1252);
    if (key.size() >= 4 && key.ends_with(".txt"))
        key.resize(key.size() - 4);
    return key;
}

bool namesTheSame(std::string_view diskName, std::string_view typed)
{
    return typedNameKey(diskName) == typedNameKey(typed);
}

std::optional<std::string> findGroupName(const std::vector<std::string>& groups, std::string_view typed)
{
    // The name as typed first, so that two groups that differ only in case stay apart.
    for (const std::string& group : groups) {
        if (group == typed)
            return group;
    }
    const std::string key = typedNameKey(typed);
    for (const std::string& group : groups) {
        if (typedNameKey(group) == key)
            return group;
    }
    return std::nullopt;
}

StockSearch findStock(const std::vector<std::string>& fileNames, std::string_view typed)
{
    StockSearch search;
    const std::string key = typedNameKey(typed);
    const std::string loose = text::collationKey(key);
    if (key.empty())
        return search;
    std::vector<Candidate> candidates;
    candidates.reserve(fileNames.size());
    for (const std::string& name : fileNames) {
        if (!isPlainFileName(name))
            continue;
        std::string folded = typedNameKey(name);
        std::string looseKey = text::collationKey(folded);
        candidates.push_back({&name, std::move(folded), std::move(looseKey)});
    }

    // Each rule in turn; the first that fits exactly one stock finds it, one that fits several
    // names them as the suggestions.
    const std::vector<std::function<bool(const Candidate&)>> rules = {
        [&](const Candidate& c) { return c.key == key; },
        [&](const Candidate& c) { return c.loose == loose; },
        [&](const Candidate& c) { return namePart(c.key) == key; },
        [&](const Candidate& c) { return namePart(c.loose) == loose; },
    };
    for (const auto& rule : rules) {
        std::vector<const Candidate*> fits;
        for (const Candidate& candidate : candidates) {
            if (rule(candidate))
                fits.push_back(&candidate);
        }
        if (fits.size() == 1) {
            search.fileName = *fits.front()->fileName;
            return search;
        }
        if (fits.size() > 1) {
            for (std::size_t i = 0; i < fits.size() && i < kMaxSuggestions; ++i)
                search.suggestions.push_back(text::diskNameToUtf8(withoutTxt(*fits[i]->fileName)));
            return search;
        }
    }

    // Nothing fits: the closest names, by the edits that turn the typed text into the name with
    // or without its code (a name that begins with the text is closest).
    const std::size_t limit = std::max<std::size_t>(2, loose.size() / 2);
    std::vector<std::pair<std::size_t, const Candidate*>> close;
    for (const Candidate& candidate : candidates) {
        std::size_t distance =
            std::min(editDistance(loose, candidate.loose), editDistance(loose, namePart(candidate.loose)));
        if (candidate.loose.starts_with(loose))
            distance = 0;
        if (distance <= limit)
            close.emplace_back(distance, &candidate);
    }
    std::stable_sort(close.begin(), close.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 0; i < close.size() && i < kMaxSuggestions; ++i)
        search.suggestions.push_back(text::diskNameToUtf8(withoutTxt(*close[i].second->fileName)));
    return search;
}

std::vector<std::string> typedStockNames(const std::vector<std::string>& fileNames)
{
    std::vector<std::string> names;
    names.reserve(fileNames.size());
    for (const std::string& name : fileNames)
        names.push_back(text::diskNameToUtf8(withoutTxt(name)));
    return names;
}

} // namespace parvane::scan
