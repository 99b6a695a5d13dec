// The policy file's key/value table: 16 fixed buckets over one doubly linked list. The list order
// is the order of the lines a save writes, and callers rely on it: ascending bucket index, and
// within one bucket the most recently added key first.
#pragma once

#include <cstdint>

#include "sasm/string.h"

// The bucket of a key: its bytes summed as signed 8-bit values in a 32-bit two's-complement sum,
// then the low four bits of that sum.
uint32_t PolicyBucketIndex(const char* key);

struct PolicyEntry {
    SASM::String key;
    SASM::String value;
    uint32_t bucket;
    PolicyEntry* previous;
    PolicyEntry* next;
};

class PolicyTable {
public:
    static constexpr uint32_t kBucketCount = 16;

    PolicyTable();
    ~PolicyTable();
    PolicyTable(const PolicyTable&) = delete;
    PolicyTable& operator=(const PolicyTable&) = delete;

    // The value of the key, or the empty string when there is none. A reference into the table,
    // valid until the next change.
    const SASM::String& Get(const char* key) const;
    // Replaces the value of an existing key in its place, or adds a new entry.
    void Set(const char* key, const char* value);

    // Visits the entries in list order; the end marker is not visited.
    template <typename Visitor>
    void ForEach(Visitor visit) const {
        for (const PolicyEntry* entry = head_; entry != endMarker_; entry = entry->next)
            visit(*entry);
    }

private:
    PolicyEntry* Find(const char* key, uint32_t bucket) const;
    void InsertBefore(PolicyEntry* entry, PolicyEntry* position);

    PolicyEntry* head_;
    // Empty key, empty value, bucket index kBucketCount; always the last element of the list.
    PolicyEntry* endMarker_;
    // The first entry of each bucket in the list, null while the bucket is empty.
    PolicyEntry* buckets_[kBucketCount];
};
