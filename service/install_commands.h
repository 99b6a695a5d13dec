// The installer's two commands: register the service and the hourly task, or remove both.
#pragma once

#include "service/service_controller.h"

// -install: the service created, or an existing one pointed at this program, and the task
// created or refreshed. True only when both parts succeeded. The service is not started.
bool RunInstallCommand(ServiceController& controller);
// -uninstall: the task and the update state removed, then the service stopped and removed.
void RunUninstallCommand(ServiceController& controller);
