#include "service/install_commands.h"

#include <windows.h>

#include "task/task_registration.h"

namespace {

// An existing service is stopped, then pointed at this program. A service that is not running
// (its usual state between cycles) is as good as stopped: it is refreshed all the same, or a
// reinstall to a new folder would leave it starting the old program.
bool RefreshService(ServiceController& controller) {
    if (!controller.Stop() && GetLastError() != ERROR_SERVICE_NOT_ACTIVE) return false;
    return controller.Reconfigure();
}

}  // namespace

bool RunInstallCommand(ServiceController& controller) {
    bool service = controller.Exists() ? RefreshService(controller) : controller.Install();
    bool task = CreateDefaultTask(controller);
    return task && service;
}

void RunUninstallCommand(ServiceController& controller) {
    DeleteTask();
    if (!controller.Exists()) return;
    controller.Stop();
    controller.Remove();
}
