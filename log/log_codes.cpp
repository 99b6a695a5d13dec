#include "log/log_codes.h"

namespace {
#define VORLIX_LIST_LOG_CODE(name, number, level, meaning) name,
const LogCode kAllCodes[] = {VORLIX_LOG_CODES(VORLIX_LIST_LOG_CODE)};
#undef VORLIX_LIST_LOG_CODE
}  // namespace

const LogCode* AllLogCodes(size_t* count) {
    *count = sizeof(kAllCodes) / sizeof(kAllCodes[0]);
    return kAllCodes;
}

const LogCode* FindLogCode(int32_t number) {
    for (const LogCode& code : kAllCodes) {
        if (code.number == number) return &code;
    }
    return nullptr;
}
