#include "tools/logview/error_names.h"

#include <cstddef>

namespace {

struct NamedValue {
    uint32_t value;
    const char* name;
};

#define VORLIX_NAMED_VALUE(name, value) {value, #name},
const NamedValue kErrorNames[] = {VORLIX_ERROR_NAMES(VORLIX_NAMED_VALUE)};
const NamedValue kServiceControlNames[] = {VORLIX_SERVICE_CONTROL_NAMES(VORLIX_NAMED_VALUE)};
#undef VORLIX_NAMED_VALUE

template <std::size_t N>
const char* NameIn(const NamedValue (&table)[N], uint32_t value) {
    for (const NamedValue& entry : table) {
        if (entry.value == value) return entry.name;
    }
    return nullptr;
}

}  // namespace

const char* ErrorName(uint32_t value) { return NameIn(kErrorNames, value); }

const char* ServiceControlName(uint32_t value) { return NameIn(kServiceControlNames, value); }
