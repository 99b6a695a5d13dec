// Any bytes as a policy file: the table must keep its order rules, every key must be found again,
// and saving the table and loading the save must give the same keys with the same values.
// ParseBool of every value must agree with the C library's reading of its leading integer.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

#include "policy/policy_table.h"
#include "policy/policy_text.h"

namespace {

using Entries = std::map<std::string, std::string>;

// The pairs of the table, checking on the way what every walk of the list may rely on.
Entries CheckedEntries(const PolicyTable& table) {
    Entries entries;
    uint32_t previousBucket = 0;
    table.ForEach([&](const PolicyEntry& entry) {
        if (entry.bucket != PolicyBucketIndex(entry.key.CStr())) abort();
        if (entry.bucket < previousBucket) abort();
        previousBucket = entry.bucket;
        if (!(table.Get(entry.key.CStr()) == entry.value)) abort();
        if (!entries.emplace(entry.key.CStr(), entry.value.CStr()).second) abort();
    });
    return entries;
}

bool ExpectedBool(const char* value) {
    std::string lower(value);
    for (char& byte : lower) {
        if (byte >= 'A' && byte <= 'Z') byte = static_cast<char>(byte - 'A' + 'a');
    }
    if (lower == "true" || lower == "t" || lower == "yes" || lower == "y") return true;
    // Saturation keeps a nonzero value nonzero, so the wider strtol gives the same answer.
    return std::strtol(lower.c_str(), nullptr, 10) != 0;
}

void CheckBool(const SASM::String& value) {
    if (ParseBool(value) != ExpectedBool(value.CStr())) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* bytes = reinterpret_cast<const char*>(data);
    PolicyTable loaded;
    LoadPolicyText(bytes, size, &loaded);
    Entries entries = CheckedEntries(loaded);

    std::string saved = FormatPolicyText(loaded);
    PolicyTable reloaded;
    LoadPolicyText(saved.data(), saved.size(), &reloaded);
    if (CheckedEntries(reloaded) != entries) abort();

    loaded.ForEach([](const PolicyEntry& entry) { CheckBool(entry.value); });
    CheckBool(SASM::String(bytes, size));
    return 0;
}
