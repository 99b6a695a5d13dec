// The pure rules of the update state store: the bounds of the check frequency and
// the test whether a check is due. No Windows header, so the host build runs them.
#pragma once

#include <cstdint>

// One day in Windows file-time units (100 nanoseconds): 86,400 s.
inline constexpr uint64_t kFileTimeUnitsPerDay = 864000000000ULL;

// Days between checks as used: 0 becomes 1, above 3 becomes 3.
uint32_t ClampCheckFrequency(uint32_t days);

// Due when last + days * kFileTimeUnitsPerDay is strictly less than now, computed and compared
// as unsigned 64-bit numbers (the sum wraps like the original's).
bool IsCheckDueAt(uint64_t lastCheck, uint32_t days, uint64_t now);
