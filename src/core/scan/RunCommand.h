#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/scan/ScanOptions.h"

namespace parvane::scan {

// A message box that refuses a run.
struct Refusal
{
    std::string title;
    std::string text; // lines separated by "\n"
};

// The base check: the folder baseactive & "\base" must exist.
std::optional<Refusal> checkBaseFolder(std::string_view baseactive, const std::filesystem::path& baseFolder);

// The threshold checks, with the values already read from Text2 and Text4 by the typed number rule.
std::optional<Refusal> checkThresholds(const ScanOptions& options);

// The run condition: crossings are sought, or proximity with at least one unit and a positive
// maximum percentage.
bool runCondition(const ScanOptions& options) noexcept;

// True when proximity is on without a unit while crossings are sought: the window then switches
// proximity off (Check2) and hides its frame before the scan.
bool proximityWithoutUnit(const ScanOptions& options) noexcept;

// Label8 after a run: "FIN:" & " N" & " erreur(s)", plus "\n" & "voir errorlog.txt" when N > 0.
std::string finStatusText(std::size_t errors);
// Label8's tooltip after a run.
std::string finStatusTooltip(std::size_t errors);

} // namespace parvane::scan
