// The installer download against the platform's own limit, side by side in one process and
// against one host. Each round runs the contenders named, in the order given:
//   bare      a bare WinHTTP loop (query, read into one reused buffer, discard)
//   transfer  the updater's request with the package profile into a file sink
//   download  the whole DownloadInstaller: transfer, read back, verification, installer written
// and prints "NAME ms=12.345 bytes=N" (bytes=0 for the download, which moves the same package).
// The updater's files land in the current directory and the temporary folder.
//   download_bench HOST ROUNDS NAME...
// Exit code 1 when one of them fails, 2 for a name it does not know.
#include <windows.h>
#include <winhttp.h>

#include <cstdio>
#include <cwchar>
#include <vector>

#include "bench/stopwatch.h"
#include "discovery/update_host_client.h"
#include "installer/download_installer.h"
#include "platform/unique_handle.h"
#include "update/update_settings.h"

namespace {

bool BareLoop(unsigned long long* bytes) {
    UniqueInternet session(WinHttpOpen(L"Download Vorlix Player Installer/1.0",
                                       WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                       WINHTTP_NO_PROXY_BYPASS, 0));
    if (!session) return false;
    UniqueInternet connection(
        WinHttpConnect(session.Get(), SecondaryUpdateHost.c_str(), INTERNET_DEFAULT_HTTP_PORT, 0));
    if (!connection) return false;
    UniqueInternet request(WinHttpOpenRequest(connection.Get(), L"GET", kActiveXPackagePath,
                                              nullptr, WINHTTP_NO_REFERER,
                                              WINHTTP_DEFAULT_ACCEPT_TYPES, 0));
    if (!request ||
        !WinHttpSendRequest(request.Get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0,
                            WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
        !WinHttpReceiveResponse(request.Get(), nullptr)) {
        return false;
    }
    std::vector<char> buffer;
    *bytes = 0;
    for (;;) {
        DWORD available = 0;
        if (!WinHttpQueryDataAvailable(request.Get(), &available)) return false;
        if (available == 0) return true;
        if (buffer.size() < available) buffer.resize(available);
        DWORD read = 0;
        if (!WinHttpReadData(request.Get(), buffer.data(), available, &read)) return false;
        *bytes += read;
    }
}

// The transfer step of DownloadInstaller alone: the same request and sink, into a file of the
// current directory.
bool Transfer(unsigned long long* bytes) {
    UpdateHostRequest request(PackageProfile(kActiveXPackagePath));
    RequestFailure failure;
    if (!request.Open(&failure)) return false;
    const wchar_t kFile[] = L"transfer.tmp";
    UniqueFile file(CreateFileW(kFile, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    FileSink sink(file.Get());
    if (!request.ReadAll(sink, &failure)) return false;
    LARGE_INTEGER size = {};
    GetFileSizeEx(file.Get(), &size);
    *bytes = static_cast<unsigned long long>(size.QuadPart);
    file.Reset();
    return DeleteFileW(kFile) != FALSE;
}

bool Download(unsigned long long* bytes) {
    *bytes = 0;
    return DownloadInstaller(PlayerFlavour::ActiveX);
}

struct Contender {
    const wchar_t* name;
    bool (*run)(unsigned long long* bytes);
};

const Contender kContenders[] = {
    {L"bare", BareLoop}, {L"transfer", Transfer}, {L"download", Download}};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) return 2;
    SecondaryUpdateHost = argv[1];
    int rounds = _wtoi(argv[2]);
    std::vector<const Contender*> chosen;
    for (int i = 3; i < argc; ++i) {
        const Contender* found = nullptr;
        for (const Contender& contender : kContenders) {
            if (std::wcscmp(argv[i], contender.name) == 0) found = &contender;
        }
        if (!found) return 2;
        chosen.push_back(found);
    }
    for (int round = 0; round < rounds; ++round) {
        for (const Contender* contender : chosen) {
            unsigned long long bytes = 0;
            Stopwatch watch;
            bool done = contender->run(&bytes);
            double milliseconds = watch.Milliseconds();
            if (!done) {
                std::printf("%ls failed error=%lu\n", contender->name, GetLastError());
                return 1;
            }
            std::printf("%ls ms=%.3f bytes=%llu\n", contender->name, milliseconds, bytes);
            std::fflush(stdout);
        }
    }
    return 0;
}
