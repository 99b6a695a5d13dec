// The version manifest as the update cycle gets it: fetched, parsed, and every
// failure logged at warning level as its code followed by 1409.
#pragma once

#include <string>

#include "discovery/version_manifest.h"

// Parses the body in place (it is changed; the caller discards it afterwards). On false the
// parse code (1410 to 1439) and then 1409 are logged and *manifest is left alone.
bool ParseManifestBody(std::string* body, VersionManifest* manifest);

// FetchManifestBody (it logs 1408 when it fails), then ParseManifestBody.
bool FetchVersionManifest(VersionManifest* manifest);
