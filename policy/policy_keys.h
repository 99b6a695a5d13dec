// The keys of the policy file that the updater reads and writes, matched exactly, letter case
// included. The installer and administrators write the same names.
#pragma once

inline constexpr char kSilentAutoUpdateEnableKey[] = "SilentAutoUpdateEnable";
inline constexpr char kAutoUpdateDisableKey[] = "AutoUpdateDisable";
inline constexpr char kSilentAutoUpdateVerboseLoggingKey[] = "SilentAutoUpdateVerboseLogging";
inline constexpr char kSilentAutoUpdateServerDomainKey[] = "SilentAutoUpdateServerDomain";
