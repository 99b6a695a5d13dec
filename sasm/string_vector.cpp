#include "sasm/string_vector.h"

#include <algorithm>
#include <cstring>

namespace SMImplementation {

PointerVector::PointerVector() : items(new void*[10]), count(0), capacity(10) {}

PointerVector::~PointerVector() { delete[] items; }

bool PointerVector::Append(const void* item) {
    if (count == capacity) {
        uint32_t grown = capacity * 2;
        void** larger = new void*[grown];
        std::memcpy(larger, items, count * sizeof(void*));
        delete[] items;
        items = larger;
        capacity = grown;
    }
    items[count] = CopyItem(item);
    ++count;
    return true;
}

}  // namespace SMImplementation

namespace SASM {

StringVector::~StringVector() {
    for (uint32_t i = 0; i < count; ++i) FreeItem(items[i]);
}

void StringVector::FreeItem(void* item) { delete static_cast<String*>(item); }

void* StringVector::CopyItem(const void* item) {
    return new String(*static_cast<const String*>(item));
}

void StringVector::Sort(bool (*before)(const String&, const String&)) {
    std::sort(items, items + count, [before](void* a, void* b) {
        return before(*static_cast<const String*>(a), *static_cast<const String*>(b));
    });
}

}  // namespace SASM
