// The auto-update mode kept in the policy file: set by the installer and administrators, asked by
// the installer (-isSAUEnabled) and set to notify by the update cycle when it gives up.
#pragma once

#include <cstdint>

enum class AutoUpdateMode : int32_t { Silent = 0, Notify = 1, Disable = 2 };

// Writes SilentAutoUpdateEnable and AutoUpdateDisable for the mode, keeping the file's other keys.
// True when the policy file was written; a value outside the three modes does nothing.
bool SetAutoUpdateMode(AutoUpdateMode mode);

// True when SilentAutoUpdateEnable in the policy file reads as true, read afresh from the file.
bool IsSilentAutoUpdateEnabled();
