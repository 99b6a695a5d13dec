// Kept out of the build until FetchManifestBody (discovery/update_host_client.cpp, Part 4.1)
// exists; add it to vorlix_windows together with that file.
#include "discovery/fetch_version_manifest.h"

#include <string>

#include "discovery/update_host_client.h"

bool FetchVersionManifest(VersionManifest* manifest) {
    std::string body;
    if (!FetchManifestBody(&body)) return false;
    return ParseManifestBody(&body, manifest);
}
