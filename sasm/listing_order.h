// The order of a folder listing: names with a non-digit first, in byte order; then the purely
// numeric names, by value.
#pragma once

#include "sasm/string.h"

namespace SASM {

// Negative when a comes first, positive when b does, 0 when they rank equal ("7" and "007").
int CompareListingNames(const char* a, const char* b);

inline bool ComesBeforeInListing(const String& a, const String& b) {
    return CompareListingNames(a.CStr(), b.CStr()) < 0;
}

}  // namespace SASM
