#include "update/check_schedule.h"

uint32_t ClampCheckFrequency(uint32_t days) {
    if (days == 0) return 1;
    if (days > 3) return 3;
    return days;
}

bool IsCheckDueAt(uint64_t lastCheck, uint32_t days, uint64_t now) {
    return lastCheck + static_cast<uint64_t>(days) * kFileTimeUnitsPerDay < now;
}
