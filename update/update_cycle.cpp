#include "update/update_cycle.h"

#include <windows.h>

#include <memory>
#include <new>

#include "discovery/fetch_version_manifest.h"
#include "discovery/installed_version.h"
#include "installer/install_flavour.h"
#include "log/log.h"
#include "policy/auto_update_mode.h"
#include "update/update_settings.h"
#include "update/update_state.h"

namespace {

// A counter this high means the installers keep failing to bring the player up to date: the
// silent mode is given up rather than restarting them every hour.
constexpr uint32_t kGiveUpAttempts = 7;

// Starts the installer of one out-of-date flavour, logging `started` or `failed` with the
// error of the failing step.
void UpdateFlavour(const PlayerVersion& version, const LogCode& started, const LogCode& failed,
                   bool* recordCheck) {
    IncrementUpdateAttempts();
    if (InstallFlavour(version)) {
        Log(started);
        // The check is not recorded, so the next run looks again at once.
        *recordCheck = false;
        return;
    }
    Log(failed, static_cast<int32_t>(GetLastError()));
}

// The part of the cycle that runs when a check is due; true when the check is to be recorded.
bool CheckAndInstall(VersionManifest& manifest) {
    uint32_t attempts = 0;
    if (ReadUpdateAttempts(&attempts) && attempts >= kGiveUpAttempts) {
        Log(kGaveUpSilentUpdate);
        SetAutoUpdateMode(AutoUpdateMode::Notify);
        return true;
    }
    bool recordCheck = true;
    if (IsFlavourOutOfDate(manifest.activeX)) {
        UpdateFlavour(manifest.activeX, kActiveXInstallerStarted, kActiveXUpdateFailed,
                      &recordCheck);
    } else if (IsFlavourOutOfDate(manifest.plugin)) {
        UpdateFlavour(manifest.plugin, kPluginInstallerStarted, kPluginUpdateFailed, &recordCheck);
    }
    return recordCheck;
}

}  // namespace

void RunUpdateCycle() {
    Log(kCycleStarted);
    std::unique_ptr<VersionManifest> manifest(new (std::nothrow) VersionManifest);
    if (!manifest) return;  // no memory for the cycle: ends at once, without its closing line
    if (!AutoUpdateDisabled && SilentAutoUpdateEnabled && IsCheckDue() &&
        FetchVersionManifest(manifest.get()) && CheckAndInstall(*manifest)) {
        WriteLastUpdateCheck(false);
        WriteCheckFrequency(&manifest->checkFrequency);
    }
    Log(kCycleEnded);
}
