#include "discovery/fetch_version_manifest.h"

#include <string>

#include "discovery/update_host_client.h"

bool FetchVersionManifest(VersionManifest* manifest) {
    std::string body;
    if (!FetchManifestBody(&body)) return false;
    return ParseManifestBody(&body, manifest);
}
