// The installed version of a player flavour and whether it is older than announced.
// Nothing here logs: every registry failure and malformed text folds into 0.0.0.0.
#pragma once

#include "discovery/player_version.h"

// The version in HKLM\Software\Tolvane\VorlixPlayerActiveX or ...Plugin ("Version"), or
// 0.0.0.0 when the key or the text is missing or unusable, or the installation is a debugger
// build ("isScriptDebugger" non-zero). The result carries the given flavour.
PlayerVersion ReadInstalledVersion(PlayerFlavour flavour);

// True when the announced record's flavour is installed and older than announced. Never for
// ActiveX when OsGeneration is 3 (Windows 8 and later).
bool IsFlavourOutOfDate(const PlayerVersion& announced);
