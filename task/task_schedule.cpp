#include "task/task_schedule.h"

namespace {
const wchar_t kStartBoundaryTemplate[] = L"2000-01-01T00:00:00Z";
const size_t kMinuteTens = 14;
const size_t kMinuteUnits = 15;
}  // namespace

std::wstring MakeStartBoundary(std::optional<uint32_t> tensDraw,
                               std::optional<uint32_t> unitsDraw) {
    std::wstring text = kStartBoundaryTemplate;
    if (tensDraw) text[kMinuteTens] = static_cast<wchar_t>(L'0' + *tensDraw % 6);
    if (unitsDraw) text[kMinuteUnits] = static_cast<wchar_t>(L'0' + *unitsDraw % 10);
    return text;
}

TriggerRecord MakeDailyTriggerRecord(std::optional<uint32_t> minuteDraw) {
    TriggerRecord record = {};
    record.triggerSize = kTriggerRecordSize;
    record.beginYear = 2000;
    record.beginMonth = 1;
    record.beginDay = 1;
    record.startHour = 0;
    record.startMinute = minuteDraw ? static_cast<uint16_t>(*minuteDraw % 60) : 0;
    record.minutesDuration = 24 * 60;
    record.minutesInterval = kRepetitionMinutes;
    record.triggerType = kDailyTriggerType;
    record.daysInterval = 1;
    return record;
}
