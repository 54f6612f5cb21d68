#pragma once

#include "core/evaluation/AgeLimits.h"

namespace parvane::scan {

// The option boxes and thresholds of one run, read once the window has locked its boxes.
struct ScanOptions
{
    bool proximity = false;     // Check2: report lines the last close is near; writes "Parvane.txt"
    bool daily = false;         // Check3: proximity in daily unit
    bool weekly = false;        // Check4: proximity in weekly unit
    bool crossing = false;      // Check6: report crossings; writes "Melvor.txt"
    bool volumeFilter = false;  // Check8: a crossing counts only with a rise of volume
    bool csvFile = false;       // Check9: write the dated CSV file into the base
    bool commentsGroup = false; // Check5: rebuild "Quennel.txt" before the scan

    double maxGap = 0;          // Text2: maximum detection percentage, percent
    double volumeThreshold = 0; // Text4: volume rise that must be exceeded, percent

    int dailyAgeLimit = evaluation::kDailyAgeLimit;   // bars
    int weeklyAgeLimit = evaluation::kWeeklyAgeLimit; // weeks
};

} // namespace parvane::scan
