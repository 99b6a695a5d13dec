// Registry keys a unit test makes under HKLM, in the view the test program sees (no view flag,
// like the code under test). The unit tests share one Wine machine, so a key is removed, with
// its values, when the object is built (leftovers of an aborted run) and again when it goes;
// an emptied "Software\Tolvane" goes with it.
#pragma once

#include <windows.h>

#include <string>

class TestRegistryKey {
public:
    explicit TestRegistryKey(std::wstring path);
    ~TestRegistryKey();
    TestRegistryKey(const TestRegistryKey&) = delete;
    TestRegistryKey& operator=(const TestRegistryKey&) = delete;

    // Creates the key when missing and sets one value.
    void Set(const wchar_t* name, DWORD type, const void* data, DWORD size) const;
    void SetText(const wchar_t* name, const std::wstring& text) const;  // REG_SZ, terminated
    void SetDword(const wchar_t* name, DWORD value) const;
    void SetQword(const wchar_t* name, ULONGLONG value) const;
    void SetBytes(const wchar_t* name, const std::string& bytes) const;  // REG_BINARY

    // What is stored, read straight from the registry; false when the value is not there.
    bool Get(const wchar_t* name, DWORD* type, std::string* bytes) const;
    bool KeyExists() const;
    // Removes the key with everything in it.
    void Remove() const;

private:
    std::wstring path_;
};
