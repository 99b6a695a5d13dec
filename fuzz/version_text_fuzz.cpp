// Any bytes as the UTF-16 code units of an installed version text (as the registry gives it):
// the flavour passes through, and a text with more than four segments is no version.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "discovery/player_version.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<wchar_t> text;
    size_t dots = 0;
    for (size_t i = 0; i + 1 < size; i += 2) {
        wchar_t unit = static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
        if (unit == L'\0') break;
        if (unit == L'.') ++dots;
        text.push_back(unit);
    }
    text.push_back(L'\0');
    const PlayerFlavour flavour = size % 2 ? PlayerFlavour::Plugin : PlayerFlavour::ActiveX;
    PlayerVersion version = ParseVersionText(text.data(), flavour);
    if (version.flavour != flavour) abort();
    if (dots >= 4 && !IsNoVersion(version)) abort();
    return 0;
}
