// Task Scheduler 2.0: a task definition in the root task folder, used from the multithreaded
// apartment after process-wide COM security is set.
#include <windows.h>
#include <taskschd.h>

#include "log/log.h"
#include "platform/com.h"
#include "resources/localized_string.h"
#include "resources/resource_ids.h"
#include "task/task_schedule.h"
#include "task/task_scheduler.h"

namespace {

const wchar_t kRootFolder[] = L"\\";
const wchar_t kTriggerId[] = L"UpdateTrigger";
const wchar_t kRepetitionInterval[] = L"PT1H";
const wchar_t kRepetitionDuration[] = L"P1D";
const wchar_t kSystemAccount[] = L"SYSTEM";

void LogLastError(const LogCode& code) { Log(code, static_cast<int32_t>(GetLastError())); }

// A string property setter called with a fresh BSTR; a string that cannot be made fails too.
template <typename Interface, typename Setter>
bool PutString(Interface* object, Setter setter, const wchar_t* text) {
    UniqueBstr value(text);
    return value.IsValid() && SUCCEEDED((object->*setter)(value.Get()));
}

bool SetSecurity() {
    return SUCCEEDED(
        CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_PKT_PRIVACY,
                             RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr));
}

ComPtr<ITaskService> CreateService() {
    ComPtr<ITaskService> service;
    CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskService,
                     reinterpret_cast<void**>(service.GetAddressOf()));
    return service;
}

// The local computer as the current user: four empty variants.
bool Connect(ITaskService* service) {
    UniqueVariant server, user, domain, password;
    return SUCCEEDED(service->Connect(server.Get(), user.Get(), domain.Get(), password.Get()));
}

ComPtr<ITaskFolder> GetRootFolder(ITaskService* service) {
    ComPtr<ITaskFolder> folder;
    UniqueBstr path(kRootFolder);
    if (path.IsValid()) service->GetFolder(path.Get(), folder.GetAddressOf());
    return folder;
}

// Under the system account, with the interactive-token logon and an empty security descriptor.
bool RegisterDefinition(ITaskFolder* folder, ITaskDefinition* definition) {
    UniqueBstr name(kTaskName);
    UniqueVariant user, password, descriptor;
    if (!name.IsValid() || !user.SetString(kSystemAccount) || !descriptor.SetString(L""))
        return false;
    ComPtr<IRegisteredTask> registered;
    return SUCCEEDED(folder->RegisterTaskDefinition(
        name.Get(), definition, TASK_CREATE_OR_UPDATE, user.Get(), password.Get(),
        TASK_LOGON_INTERACTIVE_TOKEN, descriptor.Get(), registered.GetAddressOf()));
}

// Points the first action at this program. A failure is noted and the refresh goes on: the
// repetition is still worth registering.
void RefreshProgram(ITaskDefinition* definition, const std::wstring& imagePath) {
    ComPtr<IActionCollection> actions;
    ComPtr<IAction> action;
    ComPtr<IExecAction> exec;
    if (FAILED(definition->get_Actions(actions.GetAddressOf())) ||
        FAILED(actions->get_Item(1, action.GetAddressOf())) || FAILED(action.As(&exec)) ||
        !PutString(exec.Get(), &IExecAction::put_Path, imagePath.c_str()))
        LogLastError(kV2PathFailed);
}

// Sets the hourly repetition of the first trigger and the program again; the start minute and
// the rest of the definition stay.
bool RefreshTask(ComPtr<IRegisteredTask> registered, ITaskFolder* folder,
                 const std::wstring& imagePath) {
    ComPtr<ITaskDefinition> definition;
    HRESULT read = registered->get_Definition(definition.GetAddressOf());
    registered.Reset();
    if (FAILED(read)) {
        LogLastError(kV2DefinitionFailed);
        return false;
    }
    ComPtr<ITriggerCollection> triggers;
    if (FAILED(definition->get_Triggers(triggers.GetAddressOf()))) {
        LogLastError(kV2RefreshTriggersFailed);
        return false;
    }
    LONG count = 0;
    if (FAILED(triggers->get_Count(&count))) {
        LogLastError(kV2TriggerCountFailed);
        return false;
    }
    if (count < 1) {
        LogLastError(kV2NoTrigger);
        return false;
    }
    ComPtr<ITrigger> trigger;
    HRESULT found = triggers->get_Item(1, trigger.GetAddressOf());  // counted from 1
    triggers.Reset();
    if (FAILED(found)) {
        LogLastError(kV2GetTriggerFailed);
        return false;
    }
    ComPtr<IRepetitionPattern> repetition;
    HRESULT obtained = trigger->get_Repetition(repetition.GetAddressOf());
    trigger.Reset();
    if (FAILED(obtained) || !repetition) {
        LogLastError(kV2RefreshRepetitionFailed);
        return false;
    }
    bool set = PutString(repetition.Get(), &IRepetitionPattern::put_Interval, kRepetitionInterval);
    repetition.Reset();
    if (!set) {
        LogLastError(kV2RefreshIntervalFailed);
        return false;
    }
    RefreshProgram(definition.Get(), imagePath);
    bool registeredAgain = RegisterDefinition(folder, definition.Get());
    definition.Reset();
    if (!registeredAgain) {
        LogLastError(kV2RefreshRegisterFailed);
        return false;
    }
    Log(kV2TaskRefreshed);
    return true;
}

// The settings whose failures are noted while the steps go on.
bool SetSettings(ITaskDefinition* definition) {
    ComPtr<ITaskSettings> settings;
    if (FAILED(definition->get_Settings(settings.GetAddressOf()))) {
        LogLastError(kV2SettingsFailed);
        return false;
    }
    if (FAILED(settings->put_Compatibility(TASK_COMPATIBILITY_V1)))
        LogLastError(kV2CompatibilityFailed);
    if (FAILED(settings->put_DisallowStartIfOnBatteries(VARIANT_FALSE)))
        LogLastError(kV2BatteriesFailed);
    if (FAILED(settings->put_RunOnlyIfNetworkAvailable(VARIANT_TRUE)))
        LogLastError(kV2NetworkFailed);
    return true;
}

bool SetRegistrationInfo(ITaskDefinition* definition) {
    ComPtr<IRegistrationInfo> info;
    if (FAILED(definition->get_RegistrationInfo(info.GetAddressOf()))) {
        LogLastError(kV2RegistrationInfoFailed);
        return false;
    }
    if (!PutString(info.Get(), &IRegistrationInfo::put_Author, kTaskAuthor)) {
        LogLastError(kV2AuthorFailed);
        return false;
    }
    if (!PutString(info.Get(), &IRegistrationInfo::put_Description,
                   LoadLocalizedString(IDS_TASK_DESCRIPTION))) {
        LogLastError(kV2DescriptionFailed);
        return false;
    }
    return true;
}

// The daily trigger from a random minute of the first hour of 1 January 2000 (universal time),
// repeated every hour for a day.
bool AddTrigger(ITaskDefinition* definition) {
    ComPtr<ITriggerCollection> triggers;
    if (FAILED(definition->get_Triggers(triggers.GetAddressOf()))) {
        LogLastError(kV2CreateTriggersFailed);
        return false;
    }
    ComPtr<ITrigger> trigger;
    HRESULT created = triggers->Create(TASK_TRIGGER_DAILY, trigger.GetAddressOf());
    triggers.Reset();
    if (FAILED(created)) {
        LogLastError(kV2CreateTriggerFailed);
        return false;
    }
    ComPtr<IDailyTrigger> daily;
    HRESULT queried = trigger.As(&daily);
    trigger.Reset();
    if (FAILED(queried)) {
        LogLastError(kV2DailyTriggerFailed);
        return false;
    }
    if (!PutString(daily.Get(), &IDailyTrigger::put_Id, kTriggerId))
        LogLastError(kV2TriggerIdFailed);
    // Drawn in this order: the first draw is the tens of the minute.
    std::optional<uint32_t> tens = DrawRandom();
    std::optional<uint32_t> units = DrawRandom();
    if (!PutString(daily.Get(), &IDailyTrigger::put_StartBoundary,
                   MakeStartBoundary(tens, units).c_str()))
        LogLastError(kV2StartBoundaryFailed);
    if (FAILED(daily->put_DaysInterval(1))) {
        LogLastError(kV2DaysIntervalFailed);
        return false;
    }
    ComPtr<IRepetitionPattern> repetition;
    HRESULT obtained = daily->get_Repetition(repetition.GetAddressOf());
    daily.Reset();
    if (FAILED(obtained) || !repetition) {
        LogLastError(kV2CreateRepetitionFailed);
        return false;
    }
    if (!PutString(repetition.Get(), &IRepetitionPattern::put_Duration, kRepetitionDuration)) {
        LogLastError(kV2DurationFailed);
        return false;
    }
    if (!PutString(repetition.Get(), &IRepetitionPattern::put_Interval, kRepetitionInterval)) {
        LogLastError(kV2CreateIntervalFailed);
        return false;
    }
    return true;
}

// The program, with no arguments and no working directory.
bool AddAction(ITaskDefinition* definition, const std::wstring& imagePath) {
    ComPtr<IActionCollection> actions;
    if (FAILED(definition->get_Actions(actions.GetAddressOf()))) {
        LogLastError(kV2ActionsFailed);
        return false;
    }
    ComPtr<IAction> action;
    HRESULT created = actions->Create(TASK_ACTION_EXEC, action.GetAddressOf());
    actions.Reset();
    if (FAILED(created)) {
        LogLastError(kV2CreateActionFailed);
        return false;
    }
    ComPtr<IExecAction> exec;
    HRESULT queried = action.As(&exec);
    action.Reset();
    if (FAILED(queried)) {
        LogLastError(kV2ExecActionFailed);
        return false;
    }
    if (!PutString(exec.Get(), &IExecAction::put_Path, imagePath.c_str())) {
        LogLastError(kV2PathFailed);
        return false;
    }
    return true;
}

bool CreateTask(ComPtr<ITaskService> service, ITaskFolder* folder, const std::wstring& imagePath) {
    ComPtr<ITaskDefinition> definition;
    HRESULT made = service->NewTask(0, definition.GetAddressOf());
    service.Reset();
    if (FAILED(made)) {
        LogLastError(kV2NewTaskFailed);
        return false;
    }
    if (!SetSettings(definition.Get()) || !SetRegistrationInfo(definition.Get()) ||
        !AddTrigger(definition.Get()) || !AddAction(definition.Get(), imagePath))
        return false;
    if (!RegisterDefinition(folder, definition.Get())) {
        LogLastError(kV2CreateRegisterFailed);
        return false;
    }
    Log(kV2TaskCreated);
    return true;
}

// The codes one operation logs on its way to the root folder.
struct ConnectCodes {
    const LogCode& comInit;
    const LogCode& security;
    const LogCode& service;
    const LogCode& connect;
    const LogCode& folder;
};

const ConnectCodes kRegisterCodes = {kV2ComInitFailed, kV2ComSecurityFailed, kV2ServiceFailed,
                                     kV2ConnectFailed, kV2FolderFailed};
const ConnectCodes kDeleteCodes = {kDeleteV2ComInitFailed, kDeleteV2ComSecurityFailed,
                                   kDeleteV2ServiceFailed, kDeleteV2ConnectFailed,
                                   kDeleteV2FolderFailed};

// From COM security to the root folder of the local scheduler; false, with its code logged,
// at the first step that fails. The caller's COM initialisation outlives both interfaces.
bool OpenRootFolder(const ComInitialization& com, const ConnectCodes& codes,
                    ComPtr<ITaskService>* service, ComPtr<ITaskFolder>* folder) {
    if (!com.Succeeded()) {
        LogLastError(codes.comInit);
        return false;
    }
    if (!SetSecurity()) {
        LogLastError(codes.security);
        return false;
    }
    *service = CreateService();
    if (!*service) {
        LogLastError(codes.service);
        return false;
    }
    if (!Connect(service->Get())) {
        LogLastError(codes.connect);
        return false;
    }
    *folder = GetRootFolder(service->Get());
    if (!*folder) {
        LogLastError(codes.folder);
        return false;
    }
    return true;
}

}  // namespace

bool RegisterTaskV2(const std::wstring& imagePath) {
    ComInitialization com = ComInitialization::MultiThreaded();
    ComPtr<ITaskService> service;
    ComPtr<ITaskFolder> folder;
    if (!OpenRootFolder(com, kRegisterCodes, &service, &folder)) return false;
    // The result is not examined: a registered task means it exists, none means it does not.
    ComPtr<IRegisteredTask> registered;
    UniqueBstr name(kTaskName);
    if (name.IsValid()) folder->GetTask(name.Get(), registered.GetAddressOf());
    if (registered) return RefreshTask(std::move(registered), folder.Get(), imagePath);
    return CreateTask(std::move(service), folder.Get(), imagePath);
}

bool DeleteTaskV2() {
    ComInitialization com = ComInitialization::MultiThreaded();
    ComPtr<ITaskService> service;
    ComPtr<ITaskFolder> folder;
    if (!OpenRootFolder(com, kDeleteCodes, &service, &folder)) return false;
    UniqueBstr name(kTaskName);
    // Any other result than S_OK, a missing task included, is a plain false.
    return name.IsValid() && folder->DeleteTask(name.Get(), 0) == S_OK;
}
