// Task Scheduler 1.0: a work item in the scheduler's task folder, used from a single-threaded
// apartment.
#include <windows.h>
#include <mstask.h>

#include "log/log.h"
#include "platform/com.h"
#include "resources/localized_string.h"
#include "resources/resource_ids.h"
#include "task/task_schedule.h"
#include "task/task_scheduler.h"

namespace {

void LogLastError(const LogCode& code) { Log(code, static_cast<int32_t>(GetLastError())); }

TASK_TRIGGER ToTaskTrigger(const TriggerRecord& record) {
    TASK_TRIGGER trigger = {};
    trigger.cbTriggerSize = record.triggerSize;
    trigger.Reserved1 = record.reserved1;
    trigger.wBeginYear = record.beginYear;
    trigger.wBeginMonth = record.beginMonth;
    trigger.wBeginDay = record.beginDay;
    trigger.wEndYear = record.endYear;
    trigger.wEndMonth = record.endMonth;
    trigger.wEndDay = record.endDay;
    trigger.wStartHour = record.startHour;
    trigger.wStartMinute = record.startMinute;
    trigger.MinutesDuration = record.minutesDuration;
    trigger.MinutesInterval = record.minutesInterval;
    trigger.rgFlags = record.flags;
    trigger.TriggerType = static_cast<TASK_TRIGGER_TYPE>(record.triggerType);
    trigger.Type.Daily.DaysInterval = record.daysInterval;
    trigger.Reserved2 = record.reserved2;
    trigger.wRandomMinutesInterval = record.randomMinutesInterval;
    return trigger;
}

// Writes the work item back to the file it was loaded from or created as.
bool SaveTask(ComPtr<ITask> task, const LogCode& noPersistFile, const LogCode& saveFailed) {
    ComPtr<IPersistFile> file;
    HRESULT result = task.As(&file);
    task.Reset();
    if (FAILED(result)) {
        LogLastError(noPersistFile);
        return false;
    }
    if (FAILED(file->Save(nullptr, TRUE))) {
        LogLastError(saveFailed);
        return false;
    }
    return true;
}

// Sets the hourly repetition again and points the task at this program, which may have moved
// since the task was made; the start minute and the rest stay.
bool RefreshTask(ComPtr<ITask> task, const std::wstring& imagePath) {
    WORD count = 0;
    if (FAILED(task->GetTriggerCount(&count))) {
        LogLastError(kV1TriggerCountFailed);
        return false;
    }
    if (count == 0) {
        LogLastError(kV1NoTrigger);
        return false;
    }
    ComPtr<ITaskTrigger> trigger;
    if (FAILED(task->GetTrigger(0, trigger.GetAddressOf()))) {
        LogLastError(kV1GetTriggerFailed);
        return false;
    }
    TASK_TRIGGER record = {};
    record.cbTriggerSize = sizeof(record);
    if (FAILED(trigger->GetTrigger(&record))) {
        LogLastError(kV1ReadTriggerFailed);
        return false;
    }
    record.MinutesInterval = kRepetitionMinutes;
    HRESULT written = trigger->SetTrigger(&record);
    trigger.Reset();
    if (FAILED(written)) {
        LogLastError(kV1WriteTriggerFailed);
        return false;
    }
    if (FAILED(task->SetApplicationName(imagePath.c_str()))) LogLastError(kV1ApplicationFailed);
    if (!SaveTask(std::move(task), kV1RefreshPersistFailed, kV1RefreshSaveFailed)) return false;
    Log(kV1TaskRefreshed);
    return true;
}

bool CreateTask(ComPtr<ITaskScheduler> scheduler, const std::wstring& imagePath) {
    ComPtr<ITask> task;
    HRESULT created = scheduler->NewWorkItem(kTaskName, CLSID_CTask, IID_ITask,
                                             reinterpret_cast<IUnknown**>(task.GetAddressOf()));
    scheduler.Reset();
    if (FAILED(created)) {
        LogLastError(kV1NewWorkItemFailed);
        return false;
    }
    // The empty account name with no password is the local system account.
    if (FAILED(task->SetAccountInformation(L"", nullptr))) {
        LogLastError(kV1AccountFailed);
        return false;
    }
    WORD index = 0;
    ComPtr<ITaskTrigger> trigger;
    if (FAILED(task->CreateTrigger(&index, trigger.GetAddressOf()))) {
        LogLastError(kV1CreateTriggerFailed);
        return false;
    }
    // The task runs without these; each failure is noted and the steps go on.
    if (FAILED(task->SetCreator(kTaskAuthor))) LogLastError(kV1CreatorFailed);
    if (FAILED(task->SetComment(LoadLocalizedString(IDS_TASK_DESCRIPTION))))
        LogLastError(kV1CommentFailed);
    if (FAILED(task->SetApplicationName(imagePath.c_str()))) LogLastError(kV1ApplicationFailed);
    if (FAILED(task->SetFlags(TASK_FLAG_RUN_IF_CONNECTED_TO_INTERNET)))
        LogLastError(kV1FlagsFailed);

    TASK_TRIGGER record = ToTaskTrigger(MakeDailyTriggerRecord(DrawRandom()));
    HRESULT written = trigger->SetTrigger(&record);
    trigger.Reset();
    if (FAILED(written)) {
        LogLastError(kV1SetTriggerFailed);
        return false;
    }
    if (!SaveTask(std::move(task), kV1CreatePersistFailed, kV1CreateSaveFailed)) return false;
    Log(kV1TaskCreated);
    return true;
}

ComPtr<ITaskScheduler> CreateScheduler() {
    ComPtr<ITaskScheduler> scheduler;
    CoCreateInstance(CLSID_CTaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskScheduler,
                     reinterpret_cast<void**>(scheduler.GetAddressOf()));
    return scheduler;
}

}  // namespace

bool RegisterTaskV1(const std::wstring& imagePath) {
    ComInitialization com = ComInitialization::SingleThreaded();
    if (!com.Succeeded()) {
        LogLastError(kV1ComInitFailed);
        return false;
    }
    ComPtr<ITaskScheduler> scheduler = CreateScheduler();
    if (!scheduler) {
        DWORD error = GetLastError();
        com.End();
        Log(kV1SchedulerFailed, static_cast<int32_t>(error));
        return false;
    }
    ComPtr<ITask> task;
    HRESULT opened = scheduler->Activate(kTaskName, IID_ITask,
                                         reinterpret_cast<IUnknown**>(task.GetAddressOf()));
    if (opened == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND))
        return CreateTask(std::move(scheduler), imagePath);
    if (FAILED(opened)) {
        DWORD error = GetLastError();
        scheduler.Reset();
        com.End();
        Log(kV1ActivateFailed, static_cast<int32_t>(error));
        return false;
    }
    scheduler.Reset();
    return RefreshTask(std::move(task), imagePath);
}

bool DeleteTaskV1() {
    ComInitialization com = ComInitialization::SingleThreaded();
    if (!com.Succeeded()) {
        LogLastError(kDeleteV1ComInitFailed);
        return false;
    }
    ComPtr<ITaskScheduler> scheduler = CreateScheduler();
    if (!scheduler) {
        DWORD error = GetLastError();
        com.End();
        Log(kDeleteV1SchedulerFailed, static_cast<int32_t>(error));
        return false;
    }
    // Any other result than S_OK, a missing task included, is a plain false.
    return scheduler->Delete(kTaskName) == S_OK;
}
