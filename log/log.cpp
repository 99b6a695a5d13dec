#include "log/log.h"

#include <windows.h>

#include <new>

#include "log/log_line.h"
#include "platform/unique_handle.h"

bool VerboseLogging = false;

namespace {

const wchar_t kLogFilePath[] = L"Tolvan\\Vorlix\\VorlixInstall.log";

// A byte far past any real end of the log: writers lock it around their append, so two writers
// never pick the same end of file. It guards nothing that readers touch.
const DWORD kAppendLockOffsetHigh = 0x7FFFFFFF;

// Appends the bytes in one write at the current end of the file. Sharing denies nothing, and
// the folder is never created here.
bool AppendToLogFile(const std::wstring& line) {
    UniqueFile file(CreateFileW(kLogFilePath, FILE_APPEND_DATA,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return true;  // no folder or no rights: the line is dropped, that is no failure
    // Appending alone is not atomic across processes everywhere (seen under Wine), so the
    // writers of all processes take turns on the lock byte.
    OVERLAPPED lockRange = {};
    lockRange.OffsetHigh = kAppendLockOffsetHigh;
    bool locked = LockFileEx(file.Get(), LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &lockRange) != FALSE;
    DWORD bytes = static_cast<DWORD>(line.size() * sizeof(wchar_t));
    DWORD written = 0;
    bool ok = WriteFile(file.Get(), line.data(), bytes, &written, nullptr) && written == bytes;
    if (locked) UnlockFileEx(file.Get(), 0, 1, 0, &lockRange);
    return file.Reset() && ok;
}

}  // namespace

void Log(int32_t level, std::wstring message) {
    if (level != kError && !VerboseLogging) return;
    // Callers log a failure and then report the same error again (the caller's caller logs its
    // own code with it), so the thread's last error survives the file work here.
    struct LastErrorKeeper {
        DWORD saved = GetLastError();
        ~LastErrorKeeper() { SetLastError(saved); }
    } keepLastError;
    // A failed write is reported once, through the log itself; never from inside that report.
    static thread_local bool reportingFailure = false;
    try {
        SYSTEMTIME now;
        GetSystemTime(&now);
        LogTime time{now.wYear,   now.wMonth,  now.wDay,         now.wHour,
                     now.wMinute, now.wSecond, now.wMilliseconds};
        if (!AppendToLogFile(BuildLogLine(time, level, message)) && !reportingFailure) {
            reportingFailure = true;
            Log(kLogWriteFailed);
            reportingFailure = false;
        }
    } catch (const std::bad_alloc&) {
        // The line could not be built: it is dropped, the caller goes on.
    }
}

void Log(const LogCode& code) {
    try {
        Log(code.level, CodeMessage(code));
    } catch (const std::bad_alloc&) {
    }
}

void Log(const LogCode& code, int32_t number) {
    try {
        Log(code.level, CodeMessage(code, number));
    } catch (const std::bad_alloc&) {
    }
}

void Log(const LogCode& code, const std::wstring& text) {
    try {
        Log(code.level, CodeMessage(code, text));
    } catch (const std::bad_alloc&) {
    }
}
