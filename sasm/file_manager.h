// The file-system services the product offers, over UTF-8 paths.
#pragma once

#include <cstdint>

#include "sasm/string.h"
#include "sasm/string_vector.h"

namespace SASM {

class FileManager {
public:
    virtual ~FileManager() = default;
    // Deletes a file or a whole tree; true also when there was nothing to delete.
    virtual bool DeletePath(const String& path) = 0;
    // Deletes the files whose age in seconds lies strictly between the bounds, then the folders
    // this empties, the top folder included.
    virtual bool DeleteAgedFiles(const String& folder, int64_t minAgeSeconds,
                                 int64_t maxAgeSeconds) = 0;
    // Bytes in a file or tree; 0 on failure, unreadable files count 0.
    virtual uint64_t GetTotalSize(const String& path) = 0;
    // Creates parent levels as needed, then parent\name; true when it exists afterwards.
    virtual bool CreateFolder(const String& parent, const String& name) = 0;
    virtual const String& GetPathSeparator() = 0;
    virtual const String& GetAssetCacheFolder() = 0;
    virtual const String& GetKVCacheFolder() = 0;
    virtual const String& GetTolvanePlayerFolder() = 0;
    virtual const String& GetZRTPrivateDataFolder() = 0;
    // The folder's entry names in listing order; an empty vector when it cannot be read, null
    // when the path cannot be converted. The caller deletes the vector.
    virtual StringVector* ListFolder(const String& folder) = 0;
};

}  // namespace SASM
