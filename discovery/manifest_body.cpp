#include "discovery/fetch_version_manifest.h"

#include "log/log.h"

bool ParseManifestBody(std::string* body, VersionManifest* manifest) {
    // std::string keeps a terminator after its bytes; a zero byte inside the body ends the text
    // the parser sees.
    const LogCode* failure = &kManifestUnusable;
    if (ParseVersionManifest(body->data(), manifest, &failure)) return true;
    Log(*failure);
    Log(kManifestUnusable);
    return false;
}
