// The one text-to-number conversion of the version texts (Parts 4.2, 4.3): an unsigned 32-bit
// decimal number read the way strtoul / wcstoul with base 10 read it on Windows, where unsigned
// long has 32 bits, whatever the width of long on the machine running it.
#pragma once

#include <cstdint>

// Converts the characters in [text, end): leading white space (space, \t \n \v \f \r) is
// skipped, one optional '+' or '-' is taken, then digits up to the first non-digit; the rest is
// ignored. No digits give 0; a magnitude beyond 4294967295 gives 4294967295 (whatever the
// sign); a minus sign negates modulo 2^32.
template <typename Char>
uint32_t ParseDecimalUnsigned32(const Char* text, const Char* end) {
    const Char* p = text;
    while (p != end && (*p == ' ' || (*p >= '\t' && *p <= '\r'))) ++p;
    bool negative = false;
    if (p != end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    uint64_t value = 0;
    bool overflow = false;
    for (; p != end && *p >= '0' && *p <= '9'; ++p) {
        if (!overflow) {
            value = value * 10 + static_cast<uint64_t>(*p - '0');
            if (value > UINT32_MAX) overflow = true;
        }
    }
    if (overflow) return UINT32_MAX;
    uint32_t magnitude = static_cast<uint32_t>(value);
    return negative ? static_cast<uint32_t>(0u - magnitude) : magnitude;
}

// The same over a zero-terminated text.
template <typename Char>
uint32_t ParseDecimalUnsigned32(const Char* text) {
    const Char* end = text;
    while (*end) ++end;
    return ParseDecimalUnsigned32(text, end);
}
