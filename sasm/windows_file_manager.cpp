#include "sasm/windows_file_manager.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "platform/text_conversion.h"
#include "platform/unique_handle.h"
#include "sasm/listing_order.h"

namespace SASM {

namespace {

String separatorCache;
String assetCacheFolderCache;
String kvCacheFolderCache;
String tolvanePlayerFolderCache;
String zrtPrivateDataFolderCache;
String policyFilePathCache;

const uint64_t kUnitsPerSecond = 10000000;

// The shell folder followed by the sub-path, cached on first success. A path that would not fit
// the 260-character buffer is never cut: the cache stays empty and the next call tries again.
const String& CachedFolderPath(String& cache, int csidl, const wchar_t* subPath) {
    if (!cache.IsEmpty()) return cache;
    wchar_t buffer[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, csidl, nullptr, 0, buffer);
    size_t used = wcslen(buffer);
    size_t extra = wcslen(subPath);
    if (used + extra >= MAX_PATH) return cache;
    wmemcpy(buffer + used, subPath, extra + 1);
    String converted;
    if (!WideToUtf8(buffer, &converted)) return cache;
    if (cache.IsEmpty()) cache = converted;
    return cache;
}

bool IsDotEntry(const wchar_t* name) { return wcscmp(name, L".") == 0 || wcscmp(name, L"..") == 0; }

uint64_t FileTimeValue(const FILETIME& time) {
    return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

struct AgeWindow {
    uint64_t now;
    uint64_t minAge;
    uint64_t maxAge;
};

// Walks one folder; false when it cannot be enumerated. *emptied tells whether every entry went.
bool DeleteAgedFilesIn(const std::wstring& folder, const AgeWindow& window, bool* emptied) {
    WIN32_FIND_DATAW entry;
    UniqueFind find(FindFirstFileW((folder + L"\\*").c_str(), &entry));
    if (!find) return false;
    *emptied = true;
    do {
        if (IsDotEntry(entry.cFileName)) continue;
        std::wstring path = folder + L"\\" + entry.cFileName;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            bool childEmptied = false;
            if (!DeleteAgedFilesIn(path, window, &childEmptied) || !childEmptied ||
                !RemoveDirectoryW(path.c_str()))
                *emptied = false;
            continue;
        }
        uint64_t age = window.now - FileTimeValue(entry.ftLastWriteTime);
        if (window.minAge < age && age < window.maxAge) {
            if (!DeleteFileW(path.c_str())) *emptied = false;
        } else {
            *emptied = false;
        }
    } while (FindNextFileW(find.Get(), &entry));
    return true;
}

uint64_t TotalSizeOf(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return 0;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        LARGE_INTEGER size;
        if (!file || !GetFileSizeEx(file.Get(), &size)) return 0;
        return static_cast<uint64_t>(size.QuadPart);
    }
    WIN32_FIND_DATAW entry;
    UniqueFind find(FindFirstFileW((path + L"\\*").c_str(), &entry));
    if (!find) return 0;
    uint64_t total = 0;
    do {
        if (!IsDotEntry(entry.cFileName)) total += TotalSizeOf(path + L"\\" + entry.cFileName);
    } while (FindNextFileW(find.Get(), &entry));
    return total;
}

bool CreatedOrExists(const wchar_t* path) {
    return CreateDirectoryW(path, nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

// Makes sure the folder exists, creating missing levels from the top down. A path without a
// backslash (a drive name, at the end of the walk) is never created.
bool EnsureFolder(std::wstring& path) {
    if (CreatedOrExists(path.c_str())) return true;
    size_t cut = path.rfind(L'\\');
    if (cut == std::wstring::npos) return false;
    path[cut] = L'\0';
    bool parentReady = EnsureFolder(path);
    path[cut] = L'\\';
    return parentReady && CreatedOrExists(path.c_str());
}

}  // namespace

bool WindowsFileManager::DeletePath(const String& path) {
    std::wstring wide;
    if (!Utf8ToWide(path.CStr(), &wide)) return false;
    wide.push_back(L'\0');  // the shell takes a list ending in two NULs
    SHFILEOPSTRUCTW operation = {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = wide.c_str();
    operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
    int result = SHFileOperationW(&operation);
    return result == 0 || result == 2 || result == 0x7C || result == 0x402;
}

bool WindowsFileManager::DeleteAgedFiles(const String& folder, int64_t minAgeSeconds,
                                         int64_t maxAgeSeconds) {
    SYSTEMTIME now;
    GetSystemTime(&now);
    FILETIME nowFileTime;
    if (!SystemTimeToFileTime(&now, &nowFileTime)) return false;
    std::wstring wide;
    if (!Utf8ToWide(folder.CStr(), &wide)) return false;
    AgeWindow window{FileTimeValue(nowFileTime),
                     static_cast<uint64_t>(minAgeSeconds) * kUnitsPerSecond,
                     static_cast<uint64_t>(maxAgeSeconds) * kUnitsPerSecond};
    bool emptied = false;
    if (!DeleteAgedFilesIn(wide, window, &emptied)) return false;
    return !emptied || RemoveDirectoryW(wide.c_str());
}

uint64_t WindowsFileManager::GetTotalSize(const String& path) {
    std::wstring wide;
    if (!Utf8ToWide(path.CStr(), &wide)) return 0;
    return TotalSizeOf(wide);
}

bool WindowsFileManager::CreateFolder(const String& parent, const String& name) {
    std::wstring path;
    std::wstring wideName;
    if (!Utf8ToWide(parent.CStr(), &path) || !Utf8ToWide(name.CStr(), &wideName)) return false;
    EnsureFolder(path);
    path += L'\\';
    path += wideName;
    return CreatedOrExists(path.c_str());
}

const String& WindowsFileManager::GetPathSeparator() {
    separatorCache = "\\";
    return separatorCache;
}

const String& WindowsFileManager::GetAssetCacheFolder() {
    return CachedFolderPath(assetCacheFolderCache, CSIDL_APPDATA,
                            L"\\Kestiva\\Vorlix Player\\AssetCache");
}

const String& WindowsFileManager::GetKVCacheFolder() {
    return CachedFolderPath(kvCacheFolderCache, CSIDL_APPDATA,
                            L"\\Kestiva\\Vorlix Player\\KVCache");
}

const String& WindowsFileManager::GetTolvanePlayerFolder() {
    return CachedFolderPath(tolvanePlayerFolderCache, CSIDL_APPDATA, L"\\Tolvane\\Vorlix Player");
}

const String& WindowsFileManager::GetZRTPrivateDataFolder() {
    return CachedFolderPath(zrtPrivateDataFolderCache, CSIDL_APPDATA,
                            L"\\Kestiva\\Vorlix Player\\ZRTPrivateData2");
}

const String& WindowsFileManager::GetPolicyFilePath() {
    return CachedFolderPath(policyFilePathCache, CSIDL_SYSTEM, L"\\Tolvan\\Vorlix\\ovs.cfg");
}

StringVector* WindowsFileManager::ListFolder(const String& folder) {
    std::unique_ptr<StringVector> names(new StringVector());
    std::wstring wide;
    if (!Utf8ToWide(folder.CStr(), &wide)) return nullptr;
    WIN32_FIND_DATAW entry;
    UniqueFind find(FindFirstFileW((wide + L"\\*").c_str(), &entry));
    if (find) {
        do {
            String name;
            if (!IsDotEntry(entry.cFileName) && WideToUtf8(entry.cFileName, &name))
                names->Append(&name);
        } while (FindNextFileW(find.Get(), &entry));
    }
    if (names->Count() > 1) names->Sort(ComesBeforeInListing);
    return names.release();
}

}  // namespace SASM
