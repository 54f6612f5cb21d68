#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace parvane::scan {

// Finding a stock or a group by what a person types: a stock as "NAME_CODE" or its name alone, a
// group by its name. Names on the disk are UTF-8 (as Wine stores them) or Windows-1252 bytes (a
// copy from Windows); what is typed is UTF-8, or Windows-1252 when it is not valid UTF-8. Case does
// not count, accented letters included ("élan" is "ÉLAN"), as on Korvix's file system.

// The form of a name that typing is matched against: Windows-1252, letters in lower case, a final
// ".txt" (any case) dropped.
std::string typedNameKey(std::string_view name);

// True when the typed `typed` names `diskName` (a file name without ".txt", or a group name).
bool namesTheSame(std::string_view diskName, std::string_view typed);

// The group of `groups` (names on the disk, without ".txt", as listegroupes gives them) that
// `typed` names; std::nullopt when none does.
std::optional<std::string> findGroupName(const std::vector<std::string>& groups, std::string_view typed);

inline constexpr std::size_t kMaxSuggestions = 5;

// What a search for a typed stock found.
struct StockSearch
{
    std::optional<std::string> fileName; // the stock file name as on the disk
    // When nothing was found: up to kMaxSuggestions close stocks, "NAME_CODE" as UTF-8, closest
    // first; when the name alone fits several stocks, those stocks.
    std::vector<std::string> suggestions;
};

// Finds the stock that `typed` names among `fileNames` (stock file names as on the disk): the
// name and code without regard to case, then without regard to accents either, then the name
// alone when only one stock bears it.
StockSearch findStock(const std::vector<std::string>& fileNames, std::string_view typed);

// The stock file names without ".txt", as UTF-8, for a completer.
std::vector<std::string> typedStockNames(const std::vector<std::string>& fileNames);

} // namespace parvane::scan
