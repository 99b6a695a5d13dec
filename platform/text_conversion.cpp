#include "platform/text_conversion.h"

#include <windows.h>

#include <vector>

bool Utf8ToWide(const char* utf8, std::wstring* wide) {
    int length = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    if (length <= 0) return false;
    std::vector<wchar_t> buffer(static_cast<size_t>(length));
    if (MultiByteToWideChar(CP_UTF8, 0, utf8, -1, buffer.data(), length) != length) return false;
    wide->assign(buffer.data(), static_cast<size_t>(length - 1));
    return true;
}

bool WideToUtf8(const wchar_t* wide, SASM::String* utf8) {
    int length = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return false;
    std::vector<char> buffer(static_cast<size_t>(length));
    if (WideCharToMultiByte(CP_UTF8, 0, wide, -1, buffer.data(), length, nullptr, nullptr) !=
        length)
        return false;
    *utf8 = SASM::String(buffer.data(), static_cast<size_t>(length - 1));
    return true;
}
