#pragma once

#include <string>

// The program's own full path from the path it was started with. Paths past MAX_PATH work (the
// buffer grows); if the system cannot resolve the path, it is used as it was given.
std::wstring FullImagePath(const wchar_t* programPath);
