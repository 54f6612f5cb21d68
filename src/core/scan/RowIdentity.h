#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace parvane::scan {

// What a row of the results is about, as the disk names it: the texts a row shows (the name cut
// to 15 characters, the padded code, the "X_" mark, Windows-1252) are for people and for Korvix,
// this is for finding the stock and its trend line again.
struct RowIdentity
{
    std::string fileName;       // the stock file name as it lies on the disk (name, "_", code, ".txt")
    std::size_t lineNumber = 0; // the trend line's line in its trend-line file, from 1
    std::string unit;           // "DAILY" or "WEEK "
    bool crossing = false;      // a crossing, else a proximity
    std::filesystem::path base; // the root folder of the base the row came from

    bool operator==(const RowIdentity&) const = default;
};

} // namespace parvane::scan
