#include "policy/policy_config.h"

#include <windows.h>

#include <string>

#include "platform/text_conversion.h"
#include "platform/unique_handle.h"
#include "policy/policy_text.h"

namespace {

// The whole file, or nothing when it cannot be opened or read.
bool ReadWholeFile(const std::wstring& path, std::string* bytes) {
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    char chunk[4096];
    DWORD read = 0;
    while (ReadFile(file.Get(), chunk, sizeof(chunk), &read, nullptr)) {
        if (read == 0) return true;
        bytes->append(chunk, read);
    }
    return false;
}

// The folder of a path with its trailing separator ("." when it has none): where the temporary
// file goes, so that it lies on the policy file's volume and takes the folder's security.
std::wstring FolderOf(const std::wstring& path) {
    size_t separator = path.find_last_of(L"\\/");
    if (separator == std::wstring::npos) return L".";
    return path.substr(0, separator + 1);
}

bool WriteAndClose(UniqueFile file, const std::string& bytes) {
    DWORD written = 0;
    bool ok =
        WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size() && FlushFileBuffers(file.Get());
    return file.Reset() && ok;
}

// Puts the finished temporary file in the place of the policy file. ReplaceFileW keeps the
// policy file's security and attributes; where there is no policy file yet (or ReplaceFileW has
// already moved it away and could not rename the new one), a replacing move does the job.
bool SwapIn(const std::wstring& temporary, const std::wstring& path) {
    if (ReplaceFileW(path.c_str(), temporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                     nullptr, nullptr))
        return true;
    DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_UNABLE_TO_MOVE_REPLACEMENT) return false;
    return MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
}

}  // namespace

PolicyConfig::PolicyConfig(const SASM::String& path) : path_(path) {
    std::wstring widePath;
    std::string bytes;
    if (!Utf8ToWide(path_.CStr(), &widePath) || !ReadWholeFile(widePath, &bytes)) return;
    LoadPolicyText(bytes.data(), bytes.size(), &entries_);
}

bool PolicyConfig::Save() const {
    std::wstring path;
    if (path_.IsEmpty() || !Utf8ToWide(path_.CStr(), &path)) return false;
    std::string bytes = FormatPolicyText(entries_);
    wchar_t temporary[MAX_PATH];
    // Creates the unique, empty temporary file; fails when the folder does not exist.
    if (GetTempFileNameW(FolderOf(path).c_str(), L"ovs", 0, temporary) == 0) return false;
    UniqueFile file(CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file && WriteAndClose(std::move(file), bytes) && SwapIn(temporary, path)) return true;
    DeleteFileW(temporary);
    return false;
}
