#pragma once

// Regular-expression masks of the number edits. None admits a sign.

// Frequency in MHz with up to 6 decimals (the options dialog's reference).
inline constexpr const char* kMask_FreqInMHz = R"([0-9]{0,3}(([\.,][0-9]{0,6})|[\.,])?)";
// Frequency in MHz with up to 7 decimals (every frequency edit of the panels).
inline constexpr const char* kMaskCh_FreqInMHz = R"([0-9]{0,3}(([\.,][0-9]{0,7})|[\.,])?)";
// Time in milliseconds (or microseconds) with up to 3 decimals.
inline constexpr const char* kMask_TimeInMilliSec = R"([0-9]{0,4}(([\.,][0-9]{0,3})|[\.,])?)";
// Phase in degrees with up to 3 decimals.
inline constexpr const char* kMask_PhaseInGrade = R"([0-9]{0,3}(([\.,][0-9]{0,3})|[\.,])?)";
// Number of readings, 1 to 4 digits.
inline constexpr const char* kMask_RdsCnt = R"([0-9]{1,4})";
