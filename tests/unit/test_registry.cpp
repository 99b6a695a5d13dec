#include "test_registry.h"

#include <utility>
#include <vector>

TestRegistryKey::TestRegistryKey(std::wstring path) : path_(std::move(path)) { Remove(); }

TestRegistryKey::~TestRegistryKey() { Remove(); }

void TestRegistryKey::Set(const wchar_t* name, DWORD type, const void* data, DWORD size) const {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

void TestRegistryKey::SetText(const wchar_t* name, const std::wstring& text) const {
    Set(name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

void TestRegistryKey::SetDword(const wchar_t* name, DWORD value) const {
    Set(name, REG_DWORD, &value, sizeof(value));
}

void TestRegistryKey::SetQword(const wchar_t* name, ULONGLONG value) const {
    Set(name, REG_QWORD, &value, sizeof(value));
}

void TestRegistryKey::SetBytes(const wchar_t* name, const std::string& bytes) const {
    Set(name, REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size()));
}

bool TestRegistryKey::Get(const wchar_t* name, DWORD* type, std::string* bytes) const {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path_.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD size = 0;
    bool ok = RegQueryValueExW(key, name, nullptr, type, nullptr, &size) == ERROR_SUCCESS;
    if (ok) {
        std::vector<BYTE> data(size + 1);
        ok = RegQueryValueExW(key, name, nullptr, type, data.data(), &size) == ERROR_SUCCESS;
        if (ok) bytes->assign(reinterpret_cast<const char*>(data.data()), size);
    }
    RegCloseKey(key);
    return ok;
}

bool TestRegistryKey::KeyExists() const {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path_.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void TestRegistryKey::Remove() const {
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, path_.c_str());
    // The parent (the vendor key) goes too when nothing is left in it.
    size_t slash = path_.rfind(L'\\');
    if (slash == std::wstring::npos) return;
    std::wstring parentPath = path_.substr(0, slash);
    HKEY parent = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, parentPath.c_str(), 0, KEY_READ, &parent) !=
        ERROR_SUCCESS)
        return;
    DWORD subkeys = 1, values = 1;
    bool empty = RegQueryInfoKeyW(parent, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                                  &values, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
                 subkeys == 0 && values == 0;
    RegCloseKey(parent);
    if (empty) RegDeleteKeyW(HKEY_LOCAL_MACHINE, parentPath.c_str());
}
