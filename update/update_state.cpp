#include "update/update_state.h"

#include <windows.h>

#include "platform/registry.h"
#include "update/check_schedule.h"

namespace {

const wchar_t kStateKey[] = L"SOFTWARE\\Tolvane\\VorlixPlayer";
const wchar_t kLastUpdateCheck[] = L"LastUpdateCheck";
const wchar_t kCheckFrequency[] = L"CheckFrequency";
const wchar_t kUpdateAttempts[] = L"UpdateAttempts";

bool OpenForReading(RegistryKey* key) { return key->Open(HKEY_LOCAL_MACHINE, kStateKey, KEY_READ); }

bool WriteValue(const wchar_t* name, DWORD type, const void* data, DWORD size) {
    RegistryKey key;
    return key.Create(HKEY_LOCAL_MACHINE, kStateKey, KEY_SET_VALUE) &&
           key.Write(name, type, data, size);
}

bool DeleteValue(const wchar_t* name) {
    RegistryKey key;
    return key.Open(HKEY_LOCAL_MACHINE, kStateKey, KEY_SET_VALUE) && key.Delete(name);
}

bool WriteDword(const wchar_t* name, uint32_t value) {
    DWORD data = value;
    return WriteValue(name, REG_DWORD, &data, sizeof(data));
}

// Up to 4 bytes of a value; a shorter value fills the low bytes.
bool ReadDword(const RegistryKey& key, const wchar_t* name, uint32_t* value) {
    DWORD field = 0;
    if (!key.Read(name, &field, sizeof(field))) return false;
    *value = field;
    return true;
}

}  // namespace

uint64_t CurrentFileTime() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return (static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

bool IsCheckDue() {
    uint64_t now = CurrentFileTime();
    uint64_t last = 0;
    RegistryKey key;
    if (OpenForReading(&key)) {
        // A missing value leaves 0. Choice: a value longer than 8 bytes fails the
        // read, and what the registry left in the field is not used: it also reads as 0.
        uint64_t field = 0;
        if (key.Read(kLastUpdateCheck, &field, sizeof(field))) last = field;
        key.Close();
    }
    uint32_t days = 1;
    ReadCheckFrequency(&days);
    return IsCheckDueAt(last, days, now);
}

bool ReadCheckFrequency(uint32_t* days) {
    uint32_t value = 1;
    bool read = false;
    RegistryKey key;
    if (OpenForReading(&key)) {
        read = ReadDword(key, kCheckFrequency, &value);
        if (!read) value = 1;
    }
    *days = ClampCheckFrequency(value);
    return read;
}

bool WriteCheckFrequency(const uint32_t* days) {
    return WriteDword(kCheckFrequency, days ? ClampCheckFrequency(*days) : 1);
}

bool WriteLastUpdateCheck(bool reset) {
    uint64_t value = reset ? 0 : CurrentFileTime();
    return WriteValue(kLastUpdateCheck, REG_QWORD, &value, sizeof(value));
}

bool ReadUpdateAttempts(uint32_t* count) {
    RegistryKey key;
    return OpenForReading(&key) && ReadDword(key, kUpdateAttempts, count);
}

bool WriteUpdateAttempts(uint32_t count) { return WriteDword(kUpdateAttempts, count); }

bool IncrementUpdateAttempts() {
    uint32_t count = 0;
    if (ReadUpdateAttempts(&count)) return WriteUpdateAttempts(count + 1);
    return WriteUpdateAttempts(1);
}

bool DeleteLastUpdateCheck() { return DeleteValue(kLastUpdateCheck); }
bool DeleteCheckFrequency() { return DeleteValue(kCheckFrequency); }
bool DeleteUpdateAttempts() { return DeleteValue(kUpdateAttempts); }
