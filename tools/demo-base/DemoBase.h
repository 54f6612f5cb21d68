#pragma once

#include <cstdint>
#include <filesystem>

namespace parvane::tools {

// What the demo base generator makes.
struct DemoBaseOptions
{
    std::uint32_t seed = 1;
    int stocks = 300;
    int lines = 2500;       // trading days of history per stock
    int endDate = 20261204; // date of the last quotation, yyyymmdd (a Friday)
};

// Writes a realistic Korvix base under `root`: root/base/{droite,histo,groupe,comment}, with
// histories (CR LF, decimal commas), trend lines drawn near and across the prices in daily and
// weekly unit (and a few old, hidden and monthly ones), comments in Windows-1252 and a few groups.
// The same seed gives the same bytes. Returns false when a file cannot be written.
bool writeDemoBase(const std::filesystem::path& root, const DemoBaseOptions& options);

} // namespace parvane::tools
