#include "log/log_line.h"

std::wstring FormatNumber(int32_t value) {
    // Work in 64 bits so the most negative value needs no special case.
    int64_t magnitude = value;
    bool negative = magnitude < 0;
    if (negative) magnitude = -magnitude;
    wchar_t digits[12];
    size_t n = 0;
    do {
        digits[n++] = static_cast<wchar_t>(L'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    std::wstring text;
    text.reserve(n + 1);
    if (negative) text.push_back(L'-');
    while (n > 0) text.push_back(digits[--n]);
    return text;
}

const wchar_t* LevelWord(int32_t level) {
    switch (level) {
        case kInfo: return L"info";
        case kWarning: return L"warning";
        case kError: return L"error";
        default: return L"";
    }
}

std::wstring BuildLogLine(const LogTime& time, int32_t level, const std::wstring& message) {
    std::wstring line;
    line.reserve(40 + message.size());
    line += FormatNumber(time.year);
    line += L'-';
    line += FormatNumber(time.month);
    line += L'-';
    line += FormatNumber(time.day);
    line += L'+';
    line += FormatNumber(time.hour);
    line += L'-';
    line += FormatNumber(time.minute);
    line += L'-';
    line += FormatNumber(time.second);
    line += L'.';
    line += FormatNumber(time.milliseconds);
    line += L" [";
    line += LevelWord(level);
    line += L"] ";
    line += message;
    line += L"\r\n";
    return line;
}

std::wstring CodeMessage(const LogCode& code) { return FormatNumber(code.number); }

std::wstring CodeMessage(const LogCode& code, int32_t number) {
    return FormatNumber(code.number) + L' ' + FormatNumber(number);
}

std::wstring CodeMessage(const LogCode& code, const std::wstring& text) {
    return FormatNumber(code.number) + L' ' + text;
}
