// The program entry: one pass of start-up, one role, end.
//   no argument  -> the update service (or, started by the task, a start request for it)
//   one option   -> a management command for the installer and administrators
#include <windows.h>

#include <memory>
#include <new>
#include <string>

#include "app/command_line.h"
#include "app/image_path.h"
#include "log/log.h"
#include "policy/auto_update_mode.h"
#include "service/install_commands.h"
#include "service/service_controller.h"
#include "service/service_runtime.h"
#include "task/task_registration.h"
#include "update/update_context.h"

namespace {

int RunCommand(Command command, ServiceController& controller) {
    switch (command) {
        // No command's result is the exit code; the log says what went wrong.
        case Command::Install: RunInstallCommand(controller); break;
        case Command::Uninstall: RunUninstallCommand(controller); break;
        case Command::DeleteTask: DeleteTask(); break;
        case Command::CreateDefaultTask: CreateDefaultTask(controller); break;
        case Command::SetSilentAutoUpdate: SetAutoUpdateMode(AutoUpdateMode::Silent); break;
        case Command::SetNotifyAutoUpdate: SetAutoUpdateMode(AutoUpdateMode::Notify); break;
        case Command::SetDisableAutoUpdate: SetAutoUpdateMode(AutoUpdateMode::Disable); break;
        // Only the question's answer is an exit code.
        case Command::IsSAUEnabled:
            return IsSilentAutoUpdateEnabled() ? kSilentAutoUpdateEnabledExitCode : 0;
        case Command::Unknown: break;
    }
    return 0;
}

// The service role: the update context (its construction loads the settings) exists for
// exactly the time the dispatcher runs, so the service thread never sees it vanish.
int RunServiceRole(ServiceController& controller, const std::wstring& imagePath) {
    try {
        ActiveUpdateContext = new UpdateContext(imagePath);
    } catch (const std::bad_alloc&) {
        return -1;  // at once, without a log line
    }
    bool ranAsService = RunServiceDispatcher();
    delete ActiveUpdateContext;
    ActiveUpdateContext = nullptr;
    // Started by the hourly task, not by the service control manager: ask it to start the
    // service, which then runs the cycle.
    if (!ranAsService) controller.Start();
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring imagePath;
    std::unique_ptr<ServiceController> controller;
    try {
        imagePath = FullImagePath(argv[0]);
        // Info lines: verbose logging is still off here, so these reach the file only in a
        // build that turned it on before start-up.
        Log(kInfo, imagePath);
        Log(kProcessStarted);
        if (argc > 1) Log(kInfo, argv[1]);
        controller.reset(new ServiceController(imagePath, kServiceName, kServiceDisplayName));
    } catch (const std::bad_alloc&) {
        DWORD error = GetLastError();
        Log(kControllerAllocFailed, static_cast<int32_t>(error));
        return -1;
    }
    if (argc < 2) return RunServiceRole(*controller, imagePath);
    return RunCommand(ParseCommand(argv[1]), *controller);
}
