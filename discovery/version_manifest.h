// The version manifest: its record and its parse over RapidXML. No Windows header
// and no log call: the parse names the code to log and a Windows caller writes it
// (ParseManifestBody in discovery/fetch_version_manifest.h).
#pragma once

#include <cstdint>

#include "discovery/player_version.h"
#include "log/log_codes.h"

struct VersionManifest {
    PlayerVersion activeX;        // flavour ActiveX
    PlayerVersion plugin;         // flavour Plugin
    uint32_t checkFrequency = 0;  // days, as announced (the state store bounds it)
};

// Parses the zero-terminated text in place (RapidXML, parse_default: the text is changed; the
// caller discards it afterwards). On true, *manifest holds the whole result and *failure is
// left alone. On false, *manifest is left alone and *failure points to the one code to log at
// warning level: 1410 (no memory for the document), 1431 (parse error), 1411 (no top-level
// version), 1437 / 1434 (ActiveX element / attribute), 1438 / 1435 (Plugin), 1439 / 1436
// (SAUConfig / checkFrequency); only the first problem found is named. Never throws.
bool ParseVersionManifest(char* text, VersionManifest* manifest, const LogCode** failure);
