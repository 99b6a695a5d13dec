#include "discovery/player_version.h"

#include <cstddef>

#include "discovery/decimal_number.h"

namespace {

int CompareNumbers(uint32_t a, uint32_t b) {
    if (a > b) return 1;
    if (a < b) return -1;
    return 0;
}

}  // namespace

int CompareVersions(const PlayerVersion& a, const PlayerVersion& b) {
    if (int order = CompareNumbers(a.major, b.major)) return order;
    if (int order = CompareNumbers(a.minor, b.minor)) return order;
    if (int order = CompareNumbers(a.buildMajor, b.buildMajor)) return order;
    return CompareNumbers(a.buildMinor, b.buildMinor);
}

bool IsNoVersion(const PlayerVersion& version) {
    return version.major == 0 && version.minor == 0 && version.buildMajor == 0 &&
           version.buildMinor == 0;
}

PlayerVersion ParseVersionText(const wchar_t* text, PlayerFlavour flavour) {
    PlayerVersion none;
    none.flavour = flavour;
    PlayerVersion version = none;
    uint32_t* const fields[] = {&version.major, &version.minor, &version.buildMajor,
                                &version.buildMinor};

    size_t segment = 0;
    const wchar_t* start = text;
    for (const wchar_t* p = text;; ++p) {
        if (*p != L'.' && *p != L'\0') continue;
        if (segment == 4) return none;  // a fifth segment
        *fields[segment++] = ParseDecimalUnsigned32(start, p);
        if (*p == L'\0') break;
        start = p + 1;
    }
    return version;
}
