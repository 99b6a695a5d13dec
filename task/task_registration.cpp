#include "task/task_registration.h"

#include <windows.h>

#include <memory>
#include <new>

#include "task/task_scheduler.h"
#include "update/update_state.h"

const wchar_t kTaskName[] = L"Kestiva Vorlix Player Updater";
const wchar_t kTaskAuthor[] = L"Kestiva Systems Incorporated";

namespace {
const int32_t kTaskScheduler1 = 1;
const int32_t kTaskScheduler2 = 2;
}  // namespace

bool CreateDefaultTask(const ServiceController& controller) {
    // A fresh task starts with a check at its first run; the outcome does not stop the task.
    if (WriteUpdateAttempts(0) && WriteLastUpdateCheck(true)) WriteCheckFrequency(nullptr);
    std::unique_ptr<TaskRegistrar> registrar;
    try {
        registrar.reset(new TaskRegistrar(controller.ImagePath()));
    } catch (const std::bad_alloc&) {
        return false;
    }
    return registrar->Register();
}

bool DeleteTask() {
    if (DeleteUpdateAttempts() && DeleteLastUpdateCheck()) DeleteCheckFrequency();
    return UsesTaskScheduler2() ? DeleteTaskV2() : DeleteTaskV1();
}

bool UsesTaskScheduler2() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    if (!GetVersionExA(&version)) return false;
    return version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion >= 6;
}

TaskRegistrar::TaskRegistrar(std::wstring imagePath)
    : imagePath_(std::move(imagePath)),
      schedulerVersion_(UsesTaskScheduler2() ? kTaskScheduler2 : kTaskScheduler1) {}

bool TaskRegistrar::Register() const {
    return schedulerVersion_ == kTaskScheduler1 ? RegisterTaskV1(imagePath_)
                                                : RegisterTaskV2(imagePath_);
}
