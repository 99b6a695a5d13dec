// A path in a MAX_PATH buffer, as the Windows calls that take one expect. An append that does
// not fit fails and leaves the path as it was: a cut path is never used.
#pragma once

#include <windows.h>

#include <cwchar>

class PathBuffer {
public:
    PathBuffer() { text_[0] = L'\0'; }

    const wchar_t* Get() const { return text_; }
    // For a call that writes a path of at most MAX_PATH characters, terminator included.
    wchar_t* Data() { return text_; }
    size_t Length() const { return std::wcslen(text_); }

    // False, with ERROR_FILENAME_EXCED_RANGE, when the result would not fit.
    bool Append(const wchar_t* text) {
        size_t length = Length();
        size_t added = std::wcslen(text);
        if (length + added >= MAX_PATH) {
            SetLastError(ERROR_FILENAME_EXCED_RANGE);
            return false;
        }
        std::wmemcpy(text_ + length, text, added + 1);
        return true;
    }

private:
    wchar_t text_[MAX_PATH];
};
