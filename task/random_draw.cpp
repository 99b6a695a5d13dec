#include <windows.h>

#include "platform/unique_handle.h"
#include "task/task_scheduler.h"

std::optional<uint32_t> DrawRandom() {
    // The verify context needs no key container; CryptGenRandom is there from the oldest
    // Windows the updater serves.
    HCRYPTPROV context = 0;
    if (!CryptAcquireContextW(&context, nullptr, nullptr, PROV_RSA_FULL,
                              CRYPT_VERIFYCONTEXT | CRYPT_SILENT))
        return std::nullopt;
    UniqueCryptProvider provider(context);
    uint32_t value = 0;
    if (!CryptGenRandom(provider.Get(), sizeof(value), reinterpret_cast<BYTE*>(&value)))
        return std::nullopt;
    return value;
}
