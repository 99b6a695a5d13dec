// Version records and their text for the version tests' tables.
#pragma once

#include <cstdint>
#include <string>

#include "discovery/player_version.h"

inline PlayerVersion V(uint32_t major, uint32_t minor, uint32_t buildMajor, uint32_t buildMinor,
                       PlayerFlavour flavour = PlayerFlavour::ActiveX) {
    PlayerVersion version;
    version.major = major;
    version.minor = minor;
    version.buildMajor = buildMajor;
    version.buildMinor = buildMinor;
    version.flavour = flavour;
    return version;
}

inline std::string Text(const PlayerVersion& v) {
    return std::to_string(v.major) + "." + std::to_string(v.minor) + "." +
           std::to_string(v.buildMajor) + "." + std::to_string(v.buildMinor);
}
