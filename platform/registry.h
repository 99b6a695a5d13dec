// The one way the program touches the registry: open or create a key, read up to N bytes of a
// value into a field, write a value, delete a value, close. No registry-view flag is ever
// added, so a 32-bit build sees the 32-bit view on 64-bit Windows and a 64-bit build the
// 64-bit one. Nothing here logs; every failure is a false result.
#pragma once

#include <windows.h>

#include "platform/unique_handle.h"

class RegistryKey {
public:
    RegistryKey() = default;

    // An existing key (RegOpenKeyExW, options 0).
    bool Open(HKEY root, const wchar_t* path, REGSAM access);
    // The key, created when missing (RegCreateKeyExW: no class, non-volatile, no security
    // attributes).
    bool Create(HKEY root, const wchar_t* path, REGSAM access);

    // Reads up to size bytes of the value into field; the stored type is not examined. False
    // when the key is not open, the value is missing or it is longer than size; the field's
    // bytes are then not defined (the caller reads into a scratch field and keeps its own
    // value). On true, *read (when given) holds the number of bytes stored.
    bool Read(const wchar_t* name, void* field, DWORD size, DWORD* read = nullptr) const;
    bool Write(const wchar_t* name, DWORD type, const void* data, DWORD size) const;
    bool Delete(const wchar_t* name) const;

    bool IsOpen() const { return key_.IsValid(); }
    void Close() { key_.Reset(); }

private:
    UniqueRegKey key_;
};
