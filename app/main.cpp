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
#include "service/service_controller.h"

namespace {

int RunCommand(Command command, ServiceController& controller) {
    (void)controller;
    switch (command) {
        case Command::Install:
        case Command::Uninstall:
        case Command::DeleteTask:
        case Command::CreateDefaultTask:
        case Command::SetSilentAutoUpdate:
        case Command::SetNotifyAutoUpdate:
        case Command::SetDisableAutoUpdate:
        case Command::IsSAUEnabled:
        case Command::Unknown: break;
    }
    return 0;
}

int RunServiceRole(ServiceController& controller) {
    (void)controller;
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
    if (argc < 2) return RunServiceRole(*controller);
    return RunCommand(ParseCommand(argv[1]), *controller);
}
