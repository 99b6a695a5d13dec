#include "app/image_path.h"

#include <windows.h>

#include <vector>

std::wstring FullImagePath(const wchar_t* programPath) {
    std::vector<wchar_t> buffer(MAX_PATH);
    DWORD length =
        GetFullPathNameW(programPath, static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    if (length >= buffer.size()) {  // too small: the result is the size needed
        buffer.resize(length);
        length = GetFullPathNameW(programPath, static_cast<DWORD>(buffer.size()), buffer.data(),
                                  nullptr);
    }
    if (length == 0 || length >= buffer.size()) return programPath;
    return std::wstring(buffer.data(), length);
}
