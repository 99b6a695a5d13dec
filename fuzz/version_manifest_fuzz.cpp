// Any bytes as a fetched manifest body, parsed in place from a buffer of exactly its size plus
// the terminator (so a read past the text is caught): a success leaves the failure alone, a
// failure names a manifest code and leaves the result alone.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "discovery/version_manifest.h"

namespace {

bool IsManifestFailure(const LogCode* code) {
    const LogCode* const kFailures[] = {
        &kManifestDocumentAllocFailed,
        &kManifestMalformed,
        &kManifestNoVersion,
        &kManifestNoActiveX,
        &kManifestActiveXAttributeMissing,
        &kManifestNoPlugin,
        &kManifestPluginAttributeMissing,
        &kManifestNoSAUConfig,
        &kManifestFrequencyMissing,
    };
    for (const LogCode* failure : kFailures) {
        if (code == failure) return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<char> text(data, data + size);
    text.push_back('\0');
    const uint32_t kUntouched = 0xA5A5A5A5;
    VersionManifest manifest;
    manifest.checkFrequency = kUntouched;
    const LogCode* failure = nullptr;
    if (ParseVersionManifest(text.data(), &manifest, &failure)) {
        if (failure != nullptr) abort();
        if (manifest.activeX.flavour != PlayerFlavour::ActiveX) abort();
        if (manifest.plugin.flavour != PlayerFlavour::Plugin) abort();
    } else {
        if (!IsManifestFailure(failure)) abort();
        if (manifest.checkFrequency != kUntouched) abort();
    }
    return 0;
}
