#include "update/update_settings.h"

#include <windows.h>

#include <memory>
#include <new>

#include "log/log.h"
#include "platform/text_conversion.h"
#include "policy/policy_config.h"
#include "policy/policy_keys.h"
#include "policy/policy_text.h"
#include "sasm/windows_file_manager.h"
#include "update/os_generation.h"

const wchar_t kBuiltInPrimaryHost[] = L"" VORLIX_PRIMARY_HOST;
const wchar_t kBuiltInSecondaryHost[] = L"" VORLIX_SECONDARY_HOST;

bool AutoUpdateDisabled = false;
bool SilentAutoUpdateEnabled = false;
int32_t OsGeneration = 0;
std::wstring PrimaryUpdateHost = kBuiltInPrimaryHost;
std::wstring SecondaryUpdateHost = kBuiltInSecondaryHost;

namespace {

// The domain into one host setting; a failure logs its code with the system's error.
void ApplyServerDomainTo(const char* domain, std::wstring* host, const LogCode& failed) {
    if (ApplyServerDomain(domain, host)) return;
    DWORD error = GetLastError();
    Log(failed, static_cast<int32_t>(error));
}

// An emptied host falls back to its built-in name; a host that holds text is logged.
void SettleHost(std::wstring* host, const wchar_t* builtIn, const LogCode& set) {
    if (host->empty())
        *host = builtIn;
    else
        Log(set, *host);
}

}  // namespace

void DetectOsGeneration() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    if (!GetVersionExA(&version)) {
        OsGeneration = 1;
        return;
    }
    OsGeneration =
        ClassifyOsGeneration(version.dwPlatformId, version.dwMajorVersion, version.dwMinorVersion);
}

bool ApplyServerDomain(const char* domain, std::wstring* host) {
    std::wstring converted;
    try {
        if (!Utf8ToWide(domain, &converted)) return false;
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    host->swap(converted);
    return true;
}

bool LoadUpdateSettings() {
    std::unique_ptr<SASM::FileManager> files;
    std::unique_ptr<PolicyConfig> policy;
    try {
        files.reset(new SASM::WindowsFileManager());
        policy.reset(new PolicyConfig(SASM::WindowsFileManager::GetPolicyFilePath()));
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    // First, so that the lines below already reach the log.
    if (ParseBool(policy->Get(kSilentAutoUpdateVerboseLoggingKey))) VerboseLogging = true;

    const SASM::String& domain = policy->Get(kSilentAutoUpdateServerDomainKey);
    if (!domain.IsEmpty()) {
        ApplyServerDomainTo(domain.CStr(), &SecondaryUpdateHost, kSecondaryHostConversionFailed);
        ApplyServerDomainTo(domain.CStr(), &PrimaryUpdateHost, kPrimaryHostConversionFailed);
        SettleHost(&SecondaryUpdateHost, kBuiltInSecondaryHost, kSecondaryHostSet);
        SettleHost(&PrimaryUpdateHost, kBuiltInPrimaryHost, kPrimaryHostSet);
    }

    AutoUpdateDisabled = ParseBool(policy->Get(kAutoUpdateDisableKey));
    Log(AutoUpdateDisabled ? kAutoUpdateDisabledOn : kAutoUpdateDisabledOff);
    SilentAutoUpdateEnabled = ParseBool(policy->Get(kSilentAutoUpdateEnableKey));
    Log(SilentAutoUpdateEnabled ? kSilentAutoUpdateOn : kSilentAutoUpdateOff);
    return true;
}
