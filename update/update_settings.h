// The process-wide update settings.
#pragma once

#include <string>

// The hosts the update host client asks: the manifest comes from the primary host, the
// packages from the secondary one. Plain host names, set before any request is made.
extern std::wstring PrimaryUpdateHost;
extern std::wstring SecondaryUpdateHost;

// The operating-system generation, 1 to 3 (0 before it is detected); 3 is Windows 8 and later.
extern int OsGeneration;
