#include "installer/install_flavour.h"

#include <windows.h>

#include <new>
#include <string>

#include "installer/download_installer.h"
#include "log/log.h"
#include "platform/unique_handle.h"

namespace {
const wchar_t kInstallerCommandLine[] = L"VorlixPlayerInstaller.exe -install -iv 9";
}  // namespace

bool InstallFlavour(const PlayerVersion& version) {
    if (!DownloadInstaller(version.flavour)) return false;
    std::wstring commandLine;
    try {
        commandLine = kInstallerCommandLine;
    } catch (const std::bad_alloc&) {
        Log(kCommandLineAllocFailed, static_cast<int32_t>(GetLastError()));
        return false;
    }
    return LaunchInstaller(&commandLine[0]);
}

bool LaunchInstaller(wchar_t* commandLine) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    PathBuffer installer;
    bool created = InstallerPath(&installer) &&
                   CreateProcessW(installer.Get(), commandLine, nullptr, nullptr, FALSE,
                                  CREATE_DEFAULT_ERROR_MODE | DETACHED_PROCESS, nullptr, nullptr,
                                  &startup, &process);
    if (!created) {
        Log(kInstallerStartFailed, static_cast<int32_t>(GetLastError()));
        return false;
    }
    // Nothing waits on the installer or reads its exit code.
    UniqueKernelHandle processHandle(process.hProcess);
    UniqueKernelHandle threadHandle(process.hThread);
    Log(kInstallerStarted);
    return true;
}
