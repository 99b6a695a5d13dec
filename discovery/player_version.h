// The shared version record of the two player flavours and its comparison, and the
// parse of an installed version text. No Windows header.
#pragma once

#include <cstdint>

enum class PlayerFlavour : int32_t { ActiveX = 1, Plugin = 2 };

// Four unsigned numbers compared in order; 0.0.0.0 means no usable installation.
struct PlayerVersion {
    uint32_t major = 0;
    uint32_t minor = 0;
    uint32_t buildMajor = 0;
    uint32_t buildMinor = 0;
    PlayerFlavour flavour = PlayerFlavour::ActiveX;
};

// 1 when a is newer than b, -1 when older, 0 when the four numbers are equal; the flavour
// takes no part.
int CompareVersions(const PlayerVersion& a, const PlayerVersion& b);

// True when all four numbers are 0.
bool IsNoVersion(const PlayerVersion& version);

// The numbers of an installed version text (zero-terminated): segments end at each '.' and at
// the terminator; the first four fill major, minor, buildMajor, buildMinor (each converted like
// wcstoul base 10), fields without a segment stay 0. A fifth segment (even an empty one after a
// final '.') gives 0.0.0.0. The flavour of the result is `flavour`.
PlayerVersion ParseVersionText(const wchar_t* text, PlayerFlavour flavour);
