// Log throughput with verbose logging on: LINES info lines through Log (each opens, locks,
// appends and closes the file), then as many lines of the same length appended by a bare
// open, write, close, into Tolvan\Vorlix under the current directory (which must exist).
//   log_bench LINES   -> "log ms=12.345 lines=N" and "bare ms=12.345 lines=N"
#include <windows.h>

#include <cstdio>
#include <string>

#include "bench/stopwatch.h"
#include "log/log.h"
#include "platform/unique_handle.h"

namespace {

const wchar_t kLogFile[] = L"Tolvan\\Vorlix\\VorlixInstall.log";
const wchar_t kBareFile[] = L"Tolvan\\Vorlix\\bare.log";

bool AppendBare(const std::wstring& line) {
    UniqueFile file(CreateFileW(kBareFile, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    return WriteFile(file.Get(), line.data(), static_cast<DWORD>(line.size() * sizeof(wchar_t)),
                     &written, nullptr) != FALSE;
}

// A line of the log as Log wrote it last, for the bare writer to repeat.
std::wstring LastLogLine() {
    UniqueFile file(CreateFileW(kLogFile, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::wstring();
    DWORD size = GetFileSize(file.Get(), nullptr);
    if (size == INVALID_FILE_SIZE || size < 256) return std::wstring();
    std::wstring tail(128, L'\0');
    SetFilePointer(file.Get(), static_cast<LONG>(size - 256), nullptr, FILE_BEGIN);
    DWORD read = 0;
    if (!ReadFile(file.Get(), &tail[0], 256, &read, nullptr) || read != 256) return std::wstring();
    size_t end = tail.rfind(L"\r\n");
    size_t start = end == std::wstring::npos ? end : tail.rfind(L"\r\n", end - 1);
    if (start == std::wstring::npos) return std::wstring();
    return tail.substr(start + 2, end - start);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    int lines = _wtoi(argv[1]);
    VerboseLogging = true;
    Stopwatch logWatch;
    for (int i = 0; i < lines; ++i) Log(kCycleStarted, i);
    double logMilliseconds = logWatch.Milliseconds();
    std::printf("log ms=%.3f lines=%d\n", logMilliseconds, lines);

    std::wstring line = LastLogLine();
    if (line.empty()) return 1;
    Stopwatch bareWatch;
    for (int i = 0; i < lines; ++i) {
        if (!AppendBare(line)) return 1;
    }
    std::printf("bare ms=%.3f lines=%d\n", bareWatch.Milliseconds(), lines);
    return 0;
}
