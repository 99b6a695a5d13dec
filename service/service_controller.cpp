#include "service/service_controller.h"

#include <windows.h>

#include "log/log.h"
#include "platform/unique_handle.h"
#include "resources/localized_string.h"
#include "resources/resource_ids.h"

namespace {

// Logs the code with the error of the call that just failed and keeps that error current.
bool Fail(const LogCode& code) {
    DWORD error = GetLastError();
    Log(code, static_cast<int32_t>(error));
    SetLastError(error);
    return false;
}

// The manager and the service of one operation; destruction closes the service first.
struct ServiceHandles {
    UniqueServiceHandle manager;
    UniqueServiceHandle service;

    bool OpenManager(DWORD access) {
        manager.Reset(OpenSCManagerW(nullptr, nullptr, access));
        return manager.IsValid();
    }
    bool Open(const std::wstring& name, DWORD access) {
        service.Reset(OpenServiceW(manager.Get(), name.c_str(), access));
        return service.IsValid();
    }
    // Closes both before a failure is logged, keeping the failing call's error.
    void CloseKeepingError() {
        DWORD error = GetLastError();
        service.Reset();
        manager.Reset();
        SetLastError(error);
    }
};

// The codes of one operation on the registered service.
struct OperationCodes {
    const LogCode& managerFailed;
    const LogCode& openFailed;
    const LogCode& callFailed;
};

// The common pattern: the manager opened with all access, the service with `access`, one call;
// both closed before any failure is logged. True when the call succeeded.
template <typename Call>
bool OnService(const std::wstring& name, DWORD access, const OperationCodes& codes, Call call) {
    ServiceHandles handles;
    if (!handles.OpenManager(SC_MANAGER_ALL_ACCESS)) return Fail(codes.managerFailed);
    if (!handles.Open(name, access)) {
        handles.CloseKeepingError();
        return Fail(codes.openFailed);
    }
    if (!call(handles.service.Get())) {
        handles.CloseKeepingError();
        return Fail(codes.callFailed);
    }
    return true;
}

}  // namespace

std::wstring ServiceController::QuotedImagePath() const { return L"\"" + imagePath_ + L"\""; }

bool ServiceController::Install() {
    ServiceHandles handles;
    if (!handles.OpenManager(SC_MANAGER_CREATE_SERVICE)) return Fail(kInstallManagerFailed);
    std::wstring path = QuotedImagePath();
    handles.service.Reset(CreateServiceW(
        handles.manager.Get(), serviceName_.c_str(), displayName_.c_str(),
        SERVICE_START | SERVICE_STOP, SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START,
        SERVICE_ERROR_NORMAL, path.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr));
    if (!handles.service) {
        handles.CloseKeepingError();
        return Fail(kCreateServiceFailed);
    }
    handles.service.Reset();
    handles.manager.Reset();
    Log(kServiceCreated);
    return SetDescription();
}

bool ServiceController::SetDescription() {
    // The description structure takes a modifiable pointer; the service manager only reads it.
    std::wstring text = LoadLocalizedString(IDS_SERVICE_DESCRIPTION);
    return OnService(serviceName_, SERVICE_CHANGE_CONFIG,
                     {kDescriptionManagerFailed, kDescriptionServiceFailed, kDescriptionSetFailed},
                     [&](SC_HANDLE service) {
                         SERVICE_DESCRIPTIONW description = {&text[0]};
                         return ChangeServiceConfig2W(service, SERVICE_CONFIG_DESCRIPTION,
                                                      &description) != FALSE;
                     });
}

bool ServiceController::Start() {
    if (!OnService(serviceName_, SERVICE_ALL_ACCESS,
                   {kStartManagerFailed, kStartServiceOpenFailed, kStartRefused},
                   [](SC_HANDLE service) { return StartServiceA(service, 0, nullptr) != FALSE; }))
        return false;
    Log(kStartAccepted);
    return true;
}

bool ServiceController::Stop() {
    if (!OnService(serviceName_, SERVICE_ALL_ACCESS,
                   {kStopManagerFailed, kStopServiceOpenFailed, kStopRefused},
                   [](SC_HANDLE service) {
                       SERVICE_STATUS status = {};
                       return ControlService(service, SERVICE_CONTROL_STOP, &status) != FALSE;
                   }))
        return false;
    Log(kStopAccepted);
    return true;
}

bool ServiceController::Remove() {
    if (!OnService(serviceName_, SERVICE_ALL_ACCESS,
                   {kRemoveManagerFailed, kRemoveServiceOpenFailed, kRemoveRefused},
                   [](SC_HANDLE service) { return DeleteService(service) != FALSE; }))
        return false;
    Log(kServiceMarkedForDeletion);
    return true;
}

bool ServiceController::Exists() {
    ServiceHandles handles;
    if (!handles.OpenManager(SC_MANAGER_ALL_ACCESS)) return Fail(kExistsManagerFailed);
    return handles.Open(serviceName_, SERVICE_ALL_ACCESS);
}

bool ServiceController::Reconfigure() {
    std::wstring path = QuotedImagePath();
    if (!OnService(serviceName_, SERVICE_CHANGE_CONFIG,
                   {kReconfigureManagerFailed, kReconfigureServiceOpenFailed, kReconfigureRefused},
                   [&](SC_HANDLE service) {
                       return ChangeServiceConfigW(service, SERVICE_NO_CHANGE, SERVICE_NO_CHANGE,
                                                   SERVICE_NO_CHANGE, path.c_str(), nullptr,
                                                   nullptr, nullptr, nullptr, nullptr,
                                                   displayName_.c_str()) != FALSE;
                   }))
        return false;
    return SetDescription();
}
