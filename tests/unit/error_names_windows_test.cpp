// The log viewer's names against the Windows headers' own definitions: a value typed wrong in
// the table fails the build.
#include <windows.h>
#include <winhttp.h>

#include <cstdint>

#include "tools/logview/error_names.h"

#define VORLIX_CHECK_VALUE(name, value) \
    static_assert(static_cast<uint32_t>(name) == value##u, #name " has another value");
VORLIX_ERROR_NAMES(VORLIX_CHECK_VALUE)
VORLIX_SERVICE_CONTROL_NAMES(VORLIX_CHECK_VALUE)
#undef VORLIX_CHECK_VALUE
