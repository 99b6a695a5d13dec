// The policy file in memory: built from the file's UTF-8 path (it loads the file at once), asked
// and changed through its table, and written back whole by Save.
#pragma once

#include "policy/policy_table.h"
#include "sasm/string.h"

class PolicyConfig {
public:
    // Never fails: a file that cannot be read leaves the table empty. Memory exhaustion raises
    // std::bad_alloc.
    explicit PolicyConfig(const SASM::String& path);

    const SASM::String& Get(const char* key) const { return entries_.Get(key); }
    void Set(const char* key, const char* value) { entries_.Set(key, value); }

    // Writes the table to the path: the new bytes go to a temporary file in the same folder,
    // which then takes the policy file's place, so a failed save leaves the old file whole.
    // False for an empty path, a missing folder (it is not created) or any failed step.
    bool Save() const;

private:
    PolicyTable entries_;
    SASM::String path_;
};
