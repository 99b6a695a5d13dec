#include "installer/download_installer.h"

#include <objbase.h>

#include <new>
#include <utility>

#include "discovery/update_host_client.h"
#include "installer/package_verifier.h"
#include "installer/trusted_root.h"
#include "log/log.h"

const wchar_t kActiveXPackagePath[] =
    L"/pub/vorlixplayer/update/current/sau/11/beta/install/install_all_win_ax_sgn.z";
const wchar_t kPluginPackagePath[] =
    L"/pub/vorlixplayer/update/current/sau/11/beta/install/install_all_win_pl_sgn.z";
const wchar_t kInstallerFileName[] = L"VorlixPlayerInstaller.exe";

namespace {

const wchar_t kPackageFileName[] = L"vpi.tmp";

void LogError(const LogCode& code, DWORD error) { Log(code, static_cast<int32_t>(error)); }

// Written alone: no other process shares the file while it is written.
UniqueFile CreateForWriting(const wchar_t* path) {
    return UniqueFile(CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
}

const LogCode& TransferFailureCode(RequestStep step) {
    switch (step) {
        case RequestStep::kQueryData: return kPackageQueryDataFailed;
        case RequestStep::kAllocate: return kPackageChunkAllocFailed;
        case RequestStep::kRead: return kPackageReadFailed;
        default: return kPackageWriteFailed;
    }
}

// A name for the download folder in the temporary base: a new GUID, or failing that a unique
// temporary name whose file is deleted so the folder can take it.
bool ChooseDownloadFolder(PathBuffer* folder) {
    DWORD length = GetTempPathW(MAX_PATH, folder->Data());
    if (length == 0 || length >= MAX_PATH) {
        DWORD error = length == 0 ? GetLastError() : ERROR_FILENAME_EXCED_RANGE;
        LogError(kTempPathFailed, error);
        return false;
    }
    GUID guid;
    if (SUCCEEDED(CoCreateGuid(&guid))) {
        wchar_t text[MAX_PATH];
        if (StringFromGUID2(guid, text, MAX_PATH) > 0) {
            if (folder->Append(text)) return true;
            LogError(kDownloadFolderFailed, GetLastError());
            return false;
        }
        Log(kGuidTextFailed);
    }
    Log(kGuidFolderUnavailable);
    PathBuffer unique;
    if (GetTempFileNameW(folder->Get(), L"VPI", 0, unique.Data()) == 0) {
        LogError(kTempFileNameFailed, GetLastError());
        return false;
    }
    if (!DeleteFileW(unique.Get())) {
        LogError(kTempFileDeleteFailed, GetLastError());
        return false;
    }
    *folder = unique;
    return true;
}

bool WriteInstaller(const BYTE* content, DWORD length) {
    PathBuffer path;
    if (!InstallerPath(&path)) {
        LogError(kInstallerFileCreateFailed, GetLastError());
        return false;
    }
    UniqueFile file = CreateForWriting(path.Get());
    if (!file) {
        LogError(kInstallerFileCreateFailed, GetLastError());
        return false;
    }
    DWORD written = 0;
    if (!WriteFile(file.Get(), content, length, &written, nullptr)) {
        LogError(kInstallerFileWriteFailed, GetLastError());
        return false;
    }
    if (!file.Reset()) LogError(kInstallerFileCloseFailed, GetLastError());
    return true;
}

}  // namespace

bool InstallerPath(PathBuffer* path) {
    DWORD length = GetCurrentDirectoryW(MAX_PATH, path->Data());
    if (length == 0) return false;
    if (length >= MAX_PATH) {
        path->Data()[0] = L'\0';
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    // A drive's root already ends in a backslash.
    if (path->Get()[length - 1] != L'\\' && !path->Append(L"\\")) return false;
    return path->Append(kInstallerFileName);
}

bool DownloadInstaller(PlayerFlavour flavour) {
    const wchar_t* packagePath = nullptr;
    switch (flavour) {
        case PlayerFlavour::ActiveX:
            packagePath = kActiveXPackagePath;
            Log(kActiveXDownloadStarted);
            break;
        case PlayerFlavour::Plugin:
            packagePath = kPluginPackagePath;
            Log(kPluginDownloadStarted);
            break;
        default: Log(kUnknownFlavour); return false;
    }

    UpdateHostRequest request(PackageProfile(packagePath));
    RequestFailure failure;
    if (!request.Open(&failure)) {
        LogError(kPackageRequestFailed, failure.error);
        return false;
    }

    PathBuffer folder;
    if (!ChooseDownloadFolder(&folder)) return false;
    PathBuffer packageFile = folder;
    if (!packageFile.Append(L"\\") || !packageFile.Append(kPackageFileName)) {
        LogError(kPackageFileCreateFailed, GetLastError());
        return false;
    }
    if (!CreateDirectoryW(folder.Get(), nullptr)) {
        LogError(kDownloadFolderFailed, GetLastError());
        return false;
    }
    UniqueFile file = CreateForWriting(packageFile.Get());
    if (!file) {
        LogError(kPackageFileCreateFailed, GetLastError());
        return false;
    }
    FileSink sink(file.Get());
    // A broken transfer leaves the folder and the partial package file behind.
    if (!request.ReadAll(sink, &failure)) {
        LogError(TransferFailureCode(failure.step), failure.error);
        return false;
    }
    if (!file.Reset()) LogError(kPackageFileCloseFailed, GetLastError());
    request.Close();

    // A package that cannot be read back is taken as empty and fails the verification.
    std::unique_ptr<BYTE[]> package;
    DWORD packageLength = 0;
    ReadWholeFile(packageFile.Get(), &package, &packageLength);
    if (!DeleteFileW(packageFile.Get())) LogError(kPackageFileDeleteFailed, GetLastError());
    if (!RemoveDirectoryW(folder.Get())) LogError(kDownloadFolderRemoveFailed, GetLastError());

    PackageVerifier verifier(kTrustedRoot, kTrustedRootLength);
    std::unique_ptr<BYTE[]> content;
    DWORD contentLength = 0;
    bool trusted = false;
    try {
        trusted = verifier.VerifyPackage(package.get(), packageLength, &content, &contentLength);
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    }
    DWORD error = GetLastError();
    package.reset();
    if (!trusted) {
        LogError(kPackageVerificationFailed, error);
        return false;
    }
    return WriteInstaller(content.get(), contentLength);
}

bool ReadWholeFile(const wchar_t* path, std::unique_ptr<BYTE[]>* bytes, DWORD* length) {
    UniqueFile file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD size = GetFileSize(file.Get(), nullptr);
    if (size == 0 || size == INVALID_FILE_SIZE) return false;
    std::unique_ptr<BYTE[]> buffer(new (std::nothrow) BYTE[size]);
    if (!buffer) return false;
    DWORD total = 0;
    while (total < size) {
        DWORD read = 0;
        if (!ReadFile(file.Get(), buffer.get() + total, size - total, &read, nullptr) || read == 0)
            break;
        total += read;
    }
    if (total != size) return false;
    *bytes = std::move(buffer);
    *length = size;
    return true;
}
