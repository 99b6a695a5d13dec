#include "policy/policy_table.h"

#include <memory>

uint32_t PolicyBucketIndex(const char* key) {
    uint32_t sum = 0;  // unsigned arithmetic: the two's-complement sum without overflow
    for (const char* byte = key; *byte != '\0'; ++byte)
        sum += static_cast<uint32_t>(static_cast<int32_t>(static_cast<int8_t>(*byte)));
    return sum % PolicyTable::kBucketCount;
}

PolicyTable::PolicyTable()
    : head_(new PolicyEntry{SASM::String(), SASM::String(), kBucketCount, nullptr, nullptr}),
      endMarker_(head_),
      buckets_() {}

PolicyTable::~PolicyTable() {
    PolicyEntry* entry = head_;
    while (entry != nullptr) {
        PolicyEntry* next = entry->next;
        delete entry;
        entry = next;
    }
}

PolicyEntry* PolicyTable::Find(const char* key, uint32_t bucket) const {
    for (PolicyEntry* entry = buckets_[bucket]; entry != nullptr && entry->bucket == bucket;
         entry = entry->next) {
        if (entry->key == key) return entry;
    }
    return nullptr;
}

const SASM::String& PolicyTable::Get(const char* key) const {
    const PolicyEntry* entry = Find(key, PolicyBucketIndex(key));
    return entry != nullptr ? entry->value : endMarker_->value;
}

void PolicyTable::InsertBefore(PolicyEntry* entry, PolicyEntry* position) {
    entry->next = position;
    entry->previous = position->previous;
    if (position->previous != nullptr)
        position->previous->next = entry;
    else
        head_ = entry;
    position->previous = entry;
}

void PolicyTable::Set(const char* key, const char* value) {
    uint32_t bucket = PolicyBucketIndex(key);
    if (PolicyEntry* existing = Find(key, bucket)) {
        existing->value = SASM::String(value);
        return;
    }
    std::unique_ptr<PolicyEntry> entry(
        new PolicyEntry{SASM::String(key), SASM::String(value), bucket, nullptr, nullptr});
    PolicyEntry* position = nullptr;
    if (buckets_[bucket] != nullptr) {
        // In front of the bucket's first entry: the most recent key comes first.
        position = buckets_[bucket];
    } else {
        // After the last entry of the nearest lower non-empty bucket, which is in front of
        // whatever follows that bucket's entries; else in front of the first entry of the nearest
        // higher non-empty bucket; else in front of the end marker.
        for (uint32_t lower = bucket; lower-- > 0 && position == nullptr;) {
            if (buckets_[lower] == nullptr) continue;
            position = buckets_[lower];
            while (position->bucket == lower) position = position->next;
        }
        for (uint32_t higher = bucket + 1; higher < kBucketCount && position == nullptr; ++higher)
            position = buckets_[higher];
        if (position == nullptr) position = endMarker_;
    }
    InsertBefore(entry.get(), position);
    buckets_[bucket] = entry.release();
}
