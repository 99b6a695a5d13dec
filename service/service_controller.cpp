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
    ServiceHandles handles;
    if (!handles.OpenManager(SC_MANAGER_ALL_ACCESS)) return Fail(kDescriptionManagerFailed);
    if (!handles.Open(serviceName_, SERVICE_CHANGE_CONFIG)) {
        handles.CloseKeepingError();
        return Fail(kDescriptionServiceFailed);
    }
    SERVICE_DESCRIPTIONW description = {&text[0]};
    if (!ChangeServiceConfig2W(handles.service.Get(), SERVICE_CONFIG_DESCRIPTION, &description)) {
        handles.CloseKeepingError();
        return Fail(kDescriptionSetFailed);
    }
    return true;
}

bool ServiceController::Start() {
    ServiceHandles handles;
    if (!handles.OpenManager(SC_MANAGER_ALL_ACCESS)) return Fail(kStartManagerFailed);
    if (!handles.Open(serviceName_, SERVICE_ALL_ACCESS)) {
        handles.CloseKeepingError();
        return Fail(kStartServiceOpenFailed);
    }
    if (!StartServiceA(handles.service.Get(), 0, nullptr)) {
        handles.CloseKeepingError();
        return Fail(kStartRefused);
    }
    Log(kStartAccepted);
    return true;
}

bool ServiceController::Stop() {
    ServiceHandles handles;
    if (!handles.OpenManager(SC_MANAGER_ALL_ACCESS)) return Fail(kStopManagerFailed);
    if (!handles.Open(serviceName_, SERVICE_ALL_ACCESS)) {
        handles.CloseKeepingError();
        return Fail(kStopServiceOpenFailed);
    }
    SERVICE_STATUS status = {};
    if (!ControlService(handles.service.Get(), SERVICE_CONTROL_STOP, &status)) {
        handles.CloseKeepingError();
        return Fail(kStopRefused);
    }
    Log(kStopAccepted);
    return true;
}

bool ServiceController::Remove() {
    ServiceHandles handles;
    if (!handles.OpenManager(SC_MANAGER_ALL_ACCESS)) return Fail(kRemoveManagerFailed);
    if (!handles.Open(serviceName_, SERVICE_ALL_ACCESS)) {
        handles.CloseKeepingError();
        return Fail(kRemoveServiceOpenFailed);
    }
    if (!DeleteService(handles.service.Get())) {
        handles.CloseKeepingError();
        return Fail(kRemoveRefused);
    }
    Log(kServiceMarkedForDeletion);
    return true;
}

bool ServiceController::Exists() {
    ServiceHandles handles;
    if (!handles.OpenManager(SC_MANAGER_ALL_ACCESS)) return Fail(kExistsManagerFailed);
    return handles.Open(serviceName_, SERVICE_ALL_ACCESS);
}

bool ServiceController::Reconfigure() {
    ServiceHandles handles;
    if (!handles.OpenManager(SC_MANAGER_ALL_ACCESS)) return Fail(kReconfigureManagerFailed);
    if (!handles.Open(serviceName_, SERVICE_CHANGE_CONFIG)) {
        handles.CloseKeepingError();
        return Fail(kReconfigureServiceOpenFailed);
    }
    std::wstring path = QuotedImagePath();
    if (!ChangeServiceConfigW(handles.service.Get(), SERVICE_NO_CHANGE, SERVICE_NO_CHANGE,
                              SERVICE_NO_CHANGE, path.c_str(), nullptr, nullptr, nullptr, nullptr,
                              nullptr, displayName_.c_str())) {
        handles.CloseKeepingError();
        return Fail(kReconfigureRefused);
    }
    handles.service.Reset();
    handles.manager.Reset();
    return SetDescription();
}
