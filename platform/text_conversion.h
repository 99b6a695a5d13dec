// UTF-8 <-> UTF-16 through the Windows API; no other code page is ever used.
#pragma once

#include <string>

#include "sasm/string.h"

// False when the text is not valid for the conversion.
bool Utf8ToWide(const char* utf8, std::wstring* wide);
bool WideToUtf8(const wchar_t* wide, SASM::String* utf8);
