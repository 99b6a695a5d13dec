#include "platform/registry.h"

// A handle is taken only from a successful call: a failed one may leave anything in its
// out-parameter.
bool RegistryKey::Open(HKEY root, const wchar_t* path, REGSAM access) {
    key_.Reset();
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path, 0, access, &key) != ERROR_SUCCESS) return false;
    key_.Reset(key);
    return true;
}

bool RegistryKey::Create(HKEY root, const wchar_t* path, REGSAM access) {
    key_.Reset();
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return false;
    key_.Reset(key);
    return true;
}

bool RegistryKey::Read(const wchar_t* name, void* field, DWORD size, DWORD* read) const {
    if (!key_) return false;
    DWORD bytes = size;
    if (RegQueryValueExW(key_.Get(), name, nullptr, nullptr, static_cast<BYTE*>(field), &bytes) !=
        ERROR_SUCCESS)
        return false;
    if (read) *read = bytes;
    return true;
}

bool RegistryKey::Write(const wchar_t* name, DWORD type, const void* data, DWORD size) const {
    if (!key_) return false;
    return RegSetValueExW(key_.Get(), name, 0, type, static_cast<const BYTE*>(data), size) ==
           ERROR_SUCCESS;
}

bool RegistryKey::Delete(const wchar_t* name) const {
    if (!key_) return false;
    return RegDeleteValueW(key_.Get(), name) == ERROR_SUCCESS;
}
