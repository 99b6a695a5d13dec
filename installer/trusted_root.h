// The root certificate installer packages must be signed under (DER), chosen when the program
// is built: the release's production root, or the build tree's own development root.
#pragma once

#include <windows.h>

extern const BYTE kTrustedRoot[];
extern const DWORD kTrustedRootLength;
