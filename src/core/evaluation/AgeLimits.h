#pragma once

namespace parvane::evaluation {

// How old the later anchor of a trend line (plus its extension) may be for the line to be
// evaluated, unless its kind lifts the limit: in bars of its daily unit, in weeks of its weekly one.
inline constexpr int kDailyAgeLimit = 5;
inline constexpr int kWeeklyAgeLimit = 3;

} // namespace parvane::evaluation
