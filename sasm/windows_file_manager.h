#pragma once

#include "sasm/file_manager.h"

namespace SASM {

class WindowsFileManager : public FileManager {
public:
    bool DeletePath(const String& path) override;
    bool DeleteAgedFiles(const String& folder, int64_t minAgeSeconds,
                         int64_t maxAgeSeconds) override;
    uint64_t GetTotalSize(const String& path) override;
    bool CreateFolder(const String& parent, const String& name) override;
    const String& GetPathSeparator() override;
    const String& GetAssetCacheFolder() override;
    const String& GetKVCacheFolder() override;
    const String& GetTolvanePlayerFolder() override;
    const String& GetZRTPrivateDataFolder() override;
    StringVector* ListFolder(const String& folder) override;

    // The machine-wide policy file: the system folder + "\Tolvan\Vorlix\ovs.cfg".
    static const String& GetPolicyFilePath();
};

}  // namespace SASM
