// The schedule of the updater's task, as plain values: a daily trigger from 1 January 2000 at a
// random minute past midnight, repeated every hour for a day. The random draws come in as
// arguments (empty when the generator failed), so the rules can be checked with fixed draws.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// "2000-01-01T00:MM:00Z": the tens of the minute from the first draw modulo 6, the units from
// the second modulo 10; a failed draw leaves its digit 0.
std::wstring MakeStartBoundary(std::optional<uint32_t> tensDraw, std::optional<uint32_t> unitsDraw);

// The fields of the 1.0 trigger record (the published 48-byte TASK_TRIGGER), in its order.
struct TriggerRecord {
    uint16_t triggerSize;
    uint16_t reserved1;
    uint16_t beginYear;
    uint16_t beginMonth;
    uint16_t beginDay;
    uint16_t endYear;
    uint16_t endMonth;
    uint16_t endDay;
    uint16_t startHour;
    uint16_t startMinute;
    uint32_t minutesDuration;
    uint32_t minutesInterval;
    uint32_t flags;
    int32_t triggerType;
    uint16_t daysInterval;
    uint16_t reserved2;
    uint16_t randomMinutesInterval;
};

constexpr uint16_t kTriggerRecordSize = 48;
// The daily trigger type of the 1.0 record.
constexpr int32_t kDailyTriggerType = 1;
// Minutes between runs: what a refresh sets again.
constexpr uint32_t kRepetitionMinutes = 60;

// The daily record of a new task: the start minute is the draw modulo 60, 0 when it failed.
TriggerRecord MakeDailyTriggerRecord(std::optional<uint32_t> minuteDraw);
