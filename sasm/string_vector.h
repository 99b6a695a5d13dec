// A growable array of item pointers, and its string form that owns its items.
#pragma once

#include <cstdint>

#include "sasm/string.h"

namespace SMImplementation {

class PointerVector {
public:
    PointerVector();
    virtual ~PointerVector();  // frees the slot array, not the items
    virtual void FreeItem(void* item) = 0;
    virtual void* CopyItem(const void* item) = 0;

    // Stores a copy of item; the caller keeps its own.
    bool Append(const void* item);

    uint32_t Count() const { return count; }
    void* Item(uint32_t index) const { return items[index]; }

    PointerVector(const PointerVector&) = delete;
    PointerVector& operator=(const PointerVector&) = delete;

protected:
    void** items;
    uint32_t count;
    uint32_t capacity;
};

}  // namespace SMImplementation

namespace SASM {

class StringVector : public SMImplementation::PointerVector {
public:
    StringVector() = default;
    ~StringVector() override;
    void FreeItem(void* item) override;
    void* CopyItem(const void* item) override;

    const String& At(uint32_t index) const { return *static_cast<const String*>(items[index]); }

    // Sorts the items in place with the given "comes before" order.
    void Sort(bool (*before)(const String&, const String&));
};

}  // namespace SASM
