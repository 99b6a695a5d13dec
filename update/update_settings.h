// The process-wide update settings, loaded once from the policy file when the service starts
// (see UpdateContext) and only read afterwards. In the command roles they keep their start values.
#pragma once

#include <cstdint>
#include <string>

// VerboseLogging, the fourth setting, lives with the log (log/log.h).
extern bool AutoUpdateDisabled;       // policy key AutoUpdateDisable
extern bool SilentAutoUpdateEnabled;  // policy key SilentAutoUpdateEnable
extern int32_t OsGeneration;          // 1 to 3 once detected, 0 before
// Plain host names; the built-in ones until the policy's SilentAutoUpdateServerDomain replaces
// both.
extern std::wstring PrimaryUpdateHost;    // the version manifest
extern std::wstring SecondaryUpdateHost;  // the installer packages

// The built-in hosts, chosen when the program is built (VORLIX_PRIMARY_HOST and
// VORLIX_SECONDARY_HOST).
extern const wchar_t kBuiltInPrimaryHost[];
extern const wchar_t kBuiltInSecondaryHost[];

// Sets OsGeneration from what GetVersionExA reports; 1 when it fails.
void DetectOsGeneration();

// Reads the policy file and sets the flags (and VerboseLogging, and the hosts when a server
// domain is given), logging each setting. False only when memory for the file manager or for
// reading the policy file cannot be obtained; a missing file is no failure.
bool LoadUpdateSettings();

// The UTF-8 domain converted into the host setting; false, with the host unchanged, when the
// conversion or its memory fails.
bool ApplyServerDomain(const char* domain, std::wstring* host);
