// VerifyPackage of one package file under the built-in root, timed alone: the file is read
// once, then each round verifies it with a new verifier, as each download does (crypt32
// loaded again every time).
//   verify_bench PACKAGE ROUNDS   -> per round "verify ms=12.345 content=N"
// Exit code 1 when the package cannot be read or is not trusted.
#include <windows.h>

#include <cstdio>
#include <memory>

#include "bench/stopwatch.h"
#include "installer/download_installer.h"
#include "installer/package_verifier.h"
#include "installer/trusted_root.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    std::unique_ptr<BYTE[]> package;
    DWORD packageLength = 0;
    if (!ReadWholeFile(argv[1], &package, &packageLength)) return 1;
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
        std::printf("verify ms=%.3f content=%lu\n", milliseconds, contentLength);
        std::fflush(stdout);
    }
    return 0;
}
