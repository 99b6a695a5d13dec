// The update state store: three values of HKLM\SOFTWARE\Tolvane\VorlixPlayer that
// survive between runs. Every operation opens the key, does one read, write or delete and
// closes it; nothing is kept in memory and nothing is logged.
#pragma once

#include <cstdint>

// The system clock (UTC) as a Windows file time.
uint64_t CurrentFileTime();

// True when LastUpdateCheck plus the check frequency in days lies before now. A missing key or
// value counts as "no check yet" (0); so does a LastUpdateCheck longer than 8 bytes.
bool IsCheckDue();

// Always leaves days within 1 to 3 (1 when nothing could be read); true only when the stored
// value was read (a clamped value counts as read).
bool ReadCheckFrequency(uint32_t* days);
// Writes the given days clamped to 1 to 3, or 1 when days is null.
bool WriteCheckFrequency(const uint32_t* days);
// Writes 0 when reset is true (the next check is due at once), else CurrentFileTime().
bool WriteLastUpdateCheck(bool reset);

// On false, count is left as it was.
bool ReadUpdateAttempts(uint32_t* count);
bool WriteUpdateAttempts(uint32_t count);
// Writes the stored count + 1, or 1 when it cannot be read; the result of the write.
bool IncrementUpdateAttempts();

// Delete one value of an existing key (the key is never created); false when it is not there.
bool DeleteLastUpdateCheck();
bool DeleteCheckFrequency();
bool DeleteUpdateAttempts();
