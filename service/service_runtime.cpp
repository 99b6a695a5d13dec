#include "service/service_runtime.h"

#include <mutex>

#include "log/log.h"
#include "platform/unique_handle.h"
#include "service/service_controller.h"
#include "update/update_context.h"
#include "update/update_cycle.h"

namespace {

// Shared by the service thread and the control handler on the dispatcher's thread. One lock
// makes each report whole: the record is filled and sent before the other thread touches it.
std::mutex statusLock;
SERVICE_STATUS_HANDLE statusHandle = nullptr;
SERVICE_STATUS status = {};
// Never reset: each pending report takes the next value.
DWORD checkPoint = 1;
// Signalled on a stop request; nothing waits on it, the cycle is never cut short.
UniqueKernelHandle stopEvent;

// Fills the record for the state; the caller holds the lock.
void FillStatus(DWORD state, DWORD waitHint) {
    status.dwCurrentState = state;
    status.dwControlsAccepted = state == SERVICE_START_PENDING ? 0 : SERVICE_ACCEPT_STOP;
    status.dwWin32ExitCode = NO_ERROR;
    status.dwCheckPoint = state == SERVICE_RUNNING || state == SERVICE_STOPPED ? 0 : checkPoint++;
    status.dwWaitHint = waitHint;
}

}  // namespace

void ReportServiceStatus(DWORD state, DWORD waitHint) {
    std::lock_guard<std::mutex> hold(statusLock);
    FillStatus(state, waitHint);
    SetServiceStatus(statusHandle, &status);
}

bool RunServiceDispatcher() {
    Log(kDispatcherStarting);
    // The dispatcher only reads the name.
    const SERVICE_TABLE_ENTRYW table[] = {
        {const_cast<LPWSTR>(kServiceName), ServiceMain},
        {nullptr, nullptr},
    };
    if (!StartServiceCtrlDispatcherW(table)) {
        Log(kDispatcherConnectFailed, static_cast<int32_t>(GetLastError()));
        return false;
    }
    Log(kDispatcherReturned);
    return true;
}

void WINAPI ServiceMain(DWORD, LPWSTR*) {
    SERVICE_STATUS_HANDLE handle = RegisterServiceCtrlHandlerW(kServiceName, ServiceControlHandler);
    if (!handle) {
        Log(kControlHandlerFailed, static_cast<int32_t>(GetLastError()));
        return;
    }
    {
        std::lock_guard<std::mutex> hold(statusLock);
        statusHandle = handle;
        status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
        status.dwServiceSpecificExitCode = 0;
    }
    ReportServiceStatus(SERVICE_START_PENDING, 3000);
    RunService();
    Log(kServiceMainEnded);
}

void RunService() {
    UniqueKernelHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!event) {
        ReportServiceStatus(SERVICE_STOPPED, 0);
        return;
    }
    {
        std::lock_guard<std::mutex> hold(statusLock);
        stopEvent = std::move(event);
    }
    ReportServiceStatus(SERVICE_RUNNING, 0);
    if (ActiveUpdateContext) {
        RunUpdateCycle();
    } else {
        Log(kNoUpdateContext, static_cast<int32_t>(GetLastError()));
    }
    ReportServiceStatus(SERVICE_STOPPED, 0);
}

void WINAPI ServiceControlHandler(DWORD control) {
    Log(kControlReceived, static_cast<int32_t>(control));
    if (control != SERVICE_CONTROL_STOP) return;
    ReportServiceStatus(SERVICE_STOP_PENDING, 0);
    Log(kStopRequested);
    std::lock_guard<std::mutex> hold(statusLock);
    if (stopEvent) SetEvent(stopEvent.Get());
    // Again the state the record holds now: normally stop pending with the next check point,
    // stopped when the cycle ended in between.
    FillStatus(status.dwCurrentState, 0);
    SetServiceStatus(statusHandle, &status);
}
