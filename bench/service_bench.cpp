// Starts services through the service control manager, one after the other, and times each
// run from the start request until the service's process has exited. While the process runs
// its peak working set is read from outside, so the service itself measures nothing.
//   service_bench ROUNDS NAME...   -> per round and service:
//                                     "NAME ms=12.345 peak=12345678 watched=1"
// Exit code 1 when a service cannot be started or its process cannot be watched.
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "bench/stopwatch.h"
#include "platform/unique_handle.h"

namespace {

// How often the watched process's memory counters are read.
const DWORD kSampleMilliseconds = 2;

bool QueryStatus(SC_HANDLE service, SERVICE_STATUS_PROCESS* status) {
    DWORD needed = 0;
    return QueryServiceStatusEx(service, SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(status),
                                sizeof(*status), &needed) != FALSE;
}

// A new start needs the last run's process to be gone from the control manager's view.
bool WaitUntilStopped(SC_HANDLE service) {
    for (int i = 0; i < 10000; ++i) {
        SERVICE_STATUS_PROCESS status = {};
        if (!QueryStatus(service, &status)) return false;
        if (status.dwCurrentState == SERVICE_STOPPED) return true;
        Sleep(1);
    }
    return false;
}

// The file name of the service's program, which names its process.
bool ImageName(SC_HANDLE service, std::wstring* name) {
    DWORD needed = 0;
    QueryServiceConfigW(service, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed);
    auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGW*>(buffer.data());
    if (needed == 0 || !QueryServiceConfigW(service, config, needed, &needed)) return false;
    std::wstring path = config->lpBinaryPathName;
    path.erase(std::remove(path.begin(), path.end(), L'"'), path.end());
    *name = path.substr(path.find_last_of(L'\\') + 1);
    return true;
}

// The running process of that image. Found by name rather than from the service status, which
// drops the id when the service reports stopped, before a short-lived process has exited.
UniqueKernelHandle OpenImageProcess(const std::wstring& image) {
    UniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return UniqueKernelHandle();
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more;
         more = Process32NextW(snapshot.Get(), &entry)) {
        if (_wcsicmp(entry.szExeFile, image.c_str()) == 0) {
            return UniqueKernelHandle(
                OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE,
                            entry.th32ProcessID));
        }
    }
    return UniqueKernelHandle();
}

// Times one run to the exit of the service's process. *watched tells whether the process was
// still there to be waited for; when it had exited already, the time ends when that was seen.
bool RunOnce(SC_HANDLE service, const std::wstring& image, double* milliseconds, SIZE_T* peak,
             bool* watched) {
    if (!WaitUntilStopped(service)) return false;
    Stopwatch watch;
    if (!StartServiceW(service, 0, nullptr)) return false;
    UniqueKernelHandle process = OpenImageProcess(image);
    *peak = 0;
    // The peak is a high-water mark: the last reading before the exit holds the run's peak. A
    // first reading at once, since a short run may end before the first wait does.
    if (process) {
        do {
            PROCESS_MEMORY_COUNTERS counters = {};
            counters.cb = sizeof(counters);
            if (GetProcessMemoryInfo(process.Get(), &counters, sizeof(counters)) &&
                counters.PeakWorkingSetSize > *peak) {
                *peak = counters.PeakWorkingSetSize;
            }
        } while (WaitForSingleObject(process.Get(), kSampleMilliseconds) == WAIT_TIMEOUT);
    }
    *milliseconds = watch.Milliseconds();
    *watched = process.IsValid();
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    int rounds = _wtoi(argv[1]);
    UniqueServiceHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
    if (!manager) return 1;
    for (int round = 0; round < rounds; ++round) {
        for (int i = 2; i < argc; ++i) {
            UniqueServiceHandle service(
                OpenServiceW(manager.Get(), argv[i],
                             SERVICE_START | SERVICE_QUERY_STATUS | SERVICE_QUERY_CONFIG));
            std::wstring image;
            double milliseconds = 0;
            SIZE_T peak = 0;
            bool watched = false;
            if (!service || !ImageName(service.Get(), &image) ||
                !RunOnce(service.Get(), image, &milliseconds, &peak, &watched)) {
                std::printf("%ls error=%lu\n", argv[i], GetLastError());
                return 1;
            }
            std::printf("%ls ms=%.3f peak=%zu watched=%d\n", argv[i], milliseconds, peak,
                        watched ? 1 : 0);
            std::fflush(stdout);
        }
    }
    return 0;
}
