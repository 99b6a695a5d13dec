#include "sasm/listing_order.h"

#include <cstdint>

namespace SASM {

namespace {

bool IsAllDigits(const char* name) {
    for (; *name != '\0'; ++name) {
        if (*name < '0' || *name > '9') return false;
    }
    return true;  // the empty name counts as all digits
}

// The decimal value as a signed 32-bit number; values beyond the range rank as its maximum.
int32_t DigitsValue(const char* name) {
    int64_t value = 0;
    for (; *name != '\0'; ++name) {
        value = value * 10 + (*name - '0');
        if (value > INT32_MAX) return INT32_MAX;
    }
    return static_cast<int32_t>(value);
}

}  // namespace

int CompareListingNames(const char* a, const char* b) {
    bool aDigits = IsAllDigits(a);
    bool bDigits = IsAllDigits(b);
    if (aDigits && bDigits) {
        int32_t x = DigitsValue(a);
        int32_t y = DigitsValue(b);
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    if (aDigits != bDigits) return aDigits ? 1 : -1;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(a);
    const unsigned char* q = reinterpret_cast<const unsigned char*>(b);
    while (*p != 0 && *p == *q) {
        ++p;
        ++q;
    }
    return static_cast<int>(*p) - static_cast<int>(*q);
}

}  // namespace SASM
