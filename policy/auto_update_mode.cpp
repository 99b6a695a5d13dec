#include "policy/auto_update_mode.h"

#include <memory>
#include <new>

#include "log/log.h"
#include "policy/policy_config.h"
#include "policy/policy_keys.h"
#include "policy/policy_text.h"
#include "sasm/windows_file_manager.h"

namespace {

struct ModeValues {
    const char* silentAutoUpdateEnable;
    const char* autoUpdateDisable;
};

bool ValuesOf(AutoUpdateMode mode, ModeValues* values) {
    switch (mode) {
        case AutoUpdateMode::Silent: *values = {"1", "0"}; return true;
        case AutoUpdateMode::Notify: *values = {"0", "0"}; return true;
        case AutoUpdateMode::Disable: *values = {"0", "1"}; return true;
    }
    return false;
}

// The file manager, then the policy file loaded through it; each allocation failure logs its own
// code and gives null.
std::unique_ptr<PolicyConfig> LoadPolicy(const LogCode& fileManagerFailed,
                                         const LogCode& policyFailed) {
    std::unique_ptr<SASM::FileManager> files;
    try {
        files.reset(new SASM::WindowsFileManager());
    } catch (const std::bad_alloc&) {
        Log(fileManagerFailed);
        return nullptr;
    }
    try {
        SASM::String path(SASM::WindowsFileManager::GetPolicyFilePath());
        return std::unique_ptr<PolicyConfig>(new PolicyConfig(path));
    } catch (const std::bad_alloc&) {
        Log(policyFailed);
        return nullptr;
    }
}

}  // namespace

bool SetAutoUpdateMode(AutoUpdateMode mode) {
    ModeValues values;
    if (!ValuesOf(mode, &values)) return false;
    std::unique_ptr<PolicyConfig> policy =
        LoadPolicy(kSetModeFileManagerAllocFailed, kSetModePolicyAllocFailed);
    if (!policy) return false;
    policy->Set(kSilentAutoUpdateEnableKey, values.silentAutoUpdateEnable);
    policy->Set(kAutoUpdateDisableKey, values.autoUpdateDisable);
    return policy->Save();
}

bool IsSilentAutoUpdateEnabled() {
    std::unique_ptr<PolicyConfig> policy =
        LoadPolicy(kQueryModeFileManagerAllocFailed, kQueryModePolicyAllocFailed);
    if (!policy) return false;
    bool enabled = ParseBool(policy->Get(kSilentAutoUpdateEnableKey));
    if (enabled) Log(kSilentAutoUpdateIsEnabled);
    return enabled;
}
