// The operating-system generation the updater tells apart: 1 before NT 6.0 (and any platform
// other than NT), 2 for NT 6.0 and 6.1, 3 for NT 6.2 and later.
#pragma once

#include <cstdint>

// From the platform identifier and version that the system reports (2 is the NT platform).
int32_t ClassifyOsGeneration(uint32_t platformId, uint32_t majorVersion, uint32_t minorVersion);
