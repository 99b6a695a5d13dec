// VerifyPackage of one package file under the built-in root, timed alone: the file is read
// once, then each round verifies it with a new verifier, as each download does (crypt32
// loaded again every time). The process's peak working set is printed once the package is read
// and after each round, to tell what the verification itself holds at its peak.
//   verify_bench PACKAGE ROUNDS   -> "read peak=N", then per round
//                                    "verify ms=12.345 content=N peak=N"
// Exit code 1 when the package cannot be read or is not trusted.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <memory>

#include "bench/stopwatch.h"
#include "installer/download_installer.h"
#include "installer/package_verifier.h"
#include "installer/trusted_root.h"

namespace {

SIZE_T PeakWorkingSet() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    return GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters))
               ? counters.PeakWorkingSetSize
               : 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    std::unique_ptr<BYTE[]> package;
    DWORD packageLength = 0;
    if (!ReadWholeFile(argv[1], &package, &packageLength)) return 1;
    std::printf("read peak=%zu\n", PeakWorkingSet());
    int rounds = _wtoi(argv[2]);
    for (int round = 0; round < rounds; ++round) {
        std::unique_ptr<BYTE[]> content;
        DWORD contentLength = 0;
        Stopwatch watch;
        PackageVerifier verifier(kTrustedRoot, kTrustedRootLength);
        bool trusted =
            verifier.VerifyPackage(package.get(), packageLength, &content, &contentLength);
        double milliseconds = watch.Milliseconds();
        if (!trusted) {
            std::printf("verify rejected 0x%08lX\n", GetLastError());
            return 1;
        }
        std::printf("verify ms=%.3f content=%lu peak=%zu\n", milliseconds, contentLength,
                    PeakWorkingSet());
        std::fflush(stdout);
    }
    return 0;
}
