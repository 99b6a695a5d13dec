#include "update/os_generation.h"

namespace {
const uint32_t kNtPlatform = 2;
}

int32_t ClassifyOsGeneration(uint32_t platformId, uint32_t majorVersion, uint32_t minorVersion) {
    if (platformId != kNtPlatform || majorVersion < 6) return 1;
    return majorVersion > 6 || minorVersion >= 2 ? 3 : 2;
}
