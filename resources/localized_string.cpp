#include "resources/localized_string.h"

#include <windows.h>

const wchar_t* LoadLocalizedString(unsigned int id) {
    const wchar_t* text = nullptr;
    // A buffer size of 0 asks for a pointer into the loaded resource instead of a copy. The
    // table stores texts counted; the empty entry after each used id terminates it.
    int length = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length == 0 || text == nullptr) return L"MISSING LOCALIZATION";
    return text;
}
