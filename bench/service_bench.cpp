// Starts services through the service control manager, one after the other, and times each
// run from the start request until the service's process has exited. While the process runs
// its peak working set is read from outside, so the service itself measures nothing.
//   service_bench ROUNDS NAME...   -> per round and service: "NAME ms=12.345 peak=12345678"
// Exit code 1 when a service cannot be started or its process cannot be watched.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cwchar>

#include "bench/stopwatch.h"
#include "platform/unique_handle.h"

namespace {

struct ServiceHandleTraits {
    using Type = SC_HANDLE;
    static Type Invalid() { return nullptr; }
    static bool Close(Type h) { return CloseServiceHandle(h) != FALSE; }
};
using UniqueService = UniqueHandle<ServiceHandleTraits>;

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

bool RunOnce(SC_HANDLE service, double* milliseconds, SIZE_T* peak) {
    if (!WaitUntilStopped(service)) return false;
    Stopwatch watch;
    if (!StartServiceW(service, 0, nullptr)) return false;
    UniqueKernelHandle process;
    SERVICE_STATUS_PROCESS status = {};
    while (!process) {
        if (!QueryStatus(service, &status)) return false;
        if (status.dwCurrentState == SERVICE_STOPPED) break;
        if (status.dwProcessId != 0) {
            process.Reset(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_VM_READ,
                                      FALSE, status.dwProcessId));
            if (!process) return false;
        } else {
            Sleep(1);
        }
    }
    *peak = 0;
    // The peak is a high-water mark: the last reading before the exit holds the run's peak.
    while (process && WaitForSingleObject(process.Get(), kSampleMilliseconds) == WAIT_TIMEOUT) {
        PROCESS_MEMORY_COUNTERS counters = {};
        counters.cb = sizeof(counters);
        if (GetProcessMemoryInfo(process.Get(), &counters, sizeof(counters)) &&
            counters.PeakWorkingSetSize > *peak) {
            *peak = counters.PeakWorkingSetSize;
        }
    }
    *milliseconds = watch.Milliseconds();
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    int rounds = _wtoi(argv[1]);
    UniqueService manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
    if (!manager) return 1;
    for (int round = 0; round < rounds; ++round) {
        for (int i = 2; i < argc; ++i) {
            UniqueService service(
                OpenServiceW(manager.Get(), argv[i], SERVICE_START | SERVICE_QUERY_STATUS));
            double milliseconds = 0;
            SIZE_T peak = 0;
            if (!service || !RunOnce(service.Get(), &milliseconds, &peak)) {
                std::printf("%ls error=%lu\n", argv[i], GetLastError());
                return 1;
            }
            std::printf("%ls ms=%.3f peak=%zu\n", argv[i], milliseconds, peak);
            std::fflush(stdout);
        }
    }
    return 0;
}
