// Building a log line: pure text work, no Windows header, so it is tested natively too.
#pragma once

#include <cstdint>
#include <string>

#include "log/log_codes.h"

// The UTC time fields a line is stamped with (the day of the week is not used).
struct LogTime {
    uint16_t year;
    uint16_t month;
    uint16_t day;
    uint16_t hour;
    uint16_t minute;
    uint16_t second;
    uint16_t milliseconds;
};

// Decimal text of a signed 32-bit value: optional minus, digits, no fill or grouping. Unsigned
// values with the top bit set (failing HRESULTs, large error codes) come out negative.
std::wstring FormatNumber(int32_t value);

// "info", "warning", "error"; empty for any other level.
const wchar_t* LevelWord(int32_t level);

// The whole line, as "2012-3-5+7-4-9.8 [error] 1234 5\r\n".
std::wstring BuildLogLine(const LogTime& time, int32_t level, const std::wstring& message);

// Message texts by the code convention: "1608", "1234 5", "1628 host".
std::wstring CodeMessage(const LogCode& code);
std::wstring CodeMessage(const LogCode& code, int32_t number);
std::wstring CodeMessage(const LogCode& code, const std::wstring& text);
