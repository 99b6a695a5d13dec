#include "discovery/installed_version.h"

#include <windows.h>

#include "platform/registry.h"
#include "update/update_settings.h"

namespace {

// "Version" is read into at most this many bytes, terminator included.
const DWORD kVersionBytes = 2048;

const wchar_t* FlavourKey(PlayerFlavour flavour) {
    switch (flavour) {
        case PlayerFlavour::ActiveX: return L"Software\\Tolvane\\VorlixPlayerActiveX";
        case PlayerFlavour::Plugin: return L"Software\\Tolvane\\VorlixPlayerPlugin";
    }
    return nullptr;
}

}  // namespace

PlayerVersion ReadInstalledVersion(PlayerFlavour flavour) {
    PlayerVersion none;
    none.flavour = flavour;
    const wchar_t* path = FlavourKey(flavour);
    if (!path) return none;

    RegistryKey key;
    if (!key.Open(HKEY_LOCAL_MACHINE, path, KEY_READ)) return none;
    // One character more than the read may fill, so a text stored without its terminator
    // still ends inside the buffer.
    wchar_t text[kVersionBytes / sizeof(wchar_t) + 1] = {};
    bool hasVersion = key.Read(L"Version", text, kVersionBytes);
    bool debuggerBuild = false;
    if (hasVersion) {
        // A value longer than 4 bytes fails the read and counts as absent.
        DWORD isScriptDebugger = 0;
        debuggerBuild =
            key.Read(L"isScriptDebugger", &isScriptDebugger, sizeof(isScriptDebugger)) &&
            isScriptDebugger != 0;
    }
    key.Close();
    if (!hasVersion || debuggerBuild) return none;
    return ParseVersionText(text, flavour);
}

bool IsFlavourOutOfDate(const PlayerVersion& announced) {
    if (announced.flavour == PlayerFlavour::ActiveX && OsGeneration == 3) return false;
    PlayerVersion installed = ReadInstalledVersion(announced.flavour);
    if (IsNoVersion(installed)) return false;
    return CompareVersions(announced, installed) == 1;
}
