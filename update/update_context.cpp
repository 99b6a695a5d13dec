#include "update/update_context.h"

#include <windows.h>

#include "log/log.h"
#include "update/update_settings.h"

UpdateContext* ActiveUpdateContext = nullptr;

UpdateContext::UpdateContext(std::wstring imagePath) : imagePath_(std::move(imagePath)) {
    DetectOsGeneration();
    if (!LoadUpdateSettings()) {
        DWORD error = GetLastError();
        Log(kSettingsLoadFailed, static_cast<int32_t>(error));
    }
}
