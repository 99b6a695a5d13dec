#include "discovery/update_host_client.h"

#include <cstring>
#include <memory>
#include <new>

#include "log/log.h"
#include "update/update_settings.h"

const wchar_t kManifestPath[] = L"/pub/vorlixplayer/update/current/sau/11/beta/xml/version.xml";

RequestProfile ManifestProfile() {
    return {L"Get Vorlix Player version xml/1.0",
            &PrimaryUpdateHost,
            INTERNET_DEFAULT_HTTPS_PORT,
            WINHTTP_FLAG_SECURE,
            kManifestPath,
            FailurePolicy::kTolerant};
}

RequestProfile PackageProfile(const wchar_t* path) {
    return {L"Download Vorlix Player Installer/1.0",
            &SecondaryUpdateHost,
            INTERNET_DEFAULT_HTTP_PORT,
            0,
            path,
            FailurePolicy::kStrict};
}

bool MemorySink::Accept(const char* chunk, DWORD /*read*/, DWORD* error) {
    try {
        body_->append(chunk, std::strlen(chunk));
        return true;
    } catch (const std::bad_alloc&) {
        *error = ERROR_NOT_ENOUGH_MEMORY;
        return false;
    }
}

bool FileSink::Accept(const char* chunk, DWORD read, DWORD* error) {
    DWORD written = 0;
    if (WriteFile(file_, chunk, read, &written, nullptr)) return true;
    *error = GetLastError();
    return false;
}

// One opening step: what it is for the strict caller, the code the tolerant policy logs when it
// fails or is not attempted, and the call.
struct UpdateHostRequest::OpeningStep {
    RequestStep step;
    const LogCode* tolerantCode;
    bool (UpdateHostRequest::*run)();
};

const UpdateHostRequest::OpeningStep UpdateHostRequest::kOpeningSteps[] = {
    {RequestStep::kSession, &kManifestSessionFailed, &UpdateHostRequest::OpenSession},
    {RequestStep::kConnect, &kManifestConnectFailed, &UpdateHostRequest::Connect},
    {RequestStep::kOpenRequest, &kManifestOpenRequestFailed, &UpdateHostRequest::OpenRequest},
    {RequestStep::kSend, &kManifestSendFailed, &UpdateHostRequest::Send},
    {RequestStep::kReceive, &kManifestReceiveFailed, &UpdateHostRequest::Receive},
};

bool UpdateHostRequest::OpenSession() {
    session_.Reset(WinHttpOpen(profile_.userAgent, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                               WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
    return session_.IsValid();
}

bool UpdateHostRequest::Connect() {
    try {
        host_ = *profile_.host;
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    connection_.Reset(WinHttpConnect(session_.Get(), host_.c_str(), profile_.port, 0));
    return connection_.IsValid();
}

bool UpdateHostRequest::OpenRequest() {
    request_.Reset(WinHttpOpenRequest(connection_.Get(), L"GET", profile_.path, nullptr,
                                      WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                      profile_.requestFlags));
    return request_.IsValid();
}

bool UpdateHostRequest::Send() {
    return WinHttpSendRequest(request_.Get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0,
                              WINHTTP_NO_REQUEST_DATA, 0, 0, 0) != FALSE;
}

bool UpdateHostRequest::Receive() {
    return WinHttpReceiveResponse(request_.Get(), nullptr) != FALSE;
}

bool UpdateHostRequest::Open(RequestFailure* failure) {
    const bool strict = profile_.policy == FailurePolicy::kStrict;
    bool ok = true;
    for (const OpeningStep& step : kOpeningSteps) {
        // A step runs only when the one before it gave its handle or success.
        if (ok) ok = (this->*step.run)();
        if (ok) continue;
        // Right after the failing call; for a step not attempted, whatever it is now.
        DWORD error = GetLastError();
        if (failure->step == RequestStep::kNone) *failure = {step.step, error};
        if (strict) return false;
        Log(*step.tolerantCode, static_cast<int32_t>(error));
    }
    return ok;
}

bool UpdateHostRequest::ReadAll(ChunkSink& sink, RequestFailure* failure) {
    const bool strict = profile_.policy == FailurePolicy::kStrict;
    auto fail = [failure](RequestStep step, DWORD error) {
        *failure = {step, error};
        return false;
    };
    DWORD available = 0;
    do {
        available = 0;
        if (!WinHttpQueryDataAvailable(request_.Get(), &available)) {
            DWORD error = GetLastError();
            if (strict) return fail(RequestStep::kQueryData, error);
            Log(kManifestQueryDataFailed, static_cast<int32_t>(error));
            available = 0;  // this iteration still reads, zero bytes, and ends the loop
        }
        // n + 1 zeroed bytes, so the chunk is always zero-terminated.
        size_t size = static_cast<size_t>(available) + 1;
        std::unique_ptr<char[]> chunk(size != 0 ? new (std::nothrow) char[size]() : nullptr);
        if (!chunk) {
            DWORD error = GetLastError();
            if (strict) return fail(RequestStep::kAllocate, error);
            Log(kManifestChunkAllocFailed);
            break;  // n = 0: reading stops, the body gathered so far stays
        }
        DWORD read = 0;
        if (!WinHttpReadData(request_.Get(), chunk.get(), available, &read)) {
            DWORD error = GetLastError();
            if (strict) return fail(RequestStep::kRead, error);
            Log(kManifestReadFailed, static_cast<int32_t>(error));
            continue;  // the chunk is dropped; the loop goes on under its condition
        }
        DWORD error = 0;
        if (!sink.Accept(chunk.get(), read, &error)) {
            if (strict) return fail(RequestStep::kSink, error);
            Log(kManifestChunkAllocFailed);  // the memory sink's body could not grow
            break;
        }
    } while (available > 0);
    return true;
}

void UpdateHostRequest::Close() {
    request_.Reset();
    connection_.Reset();
    session_.Reset();
}

bool FetchManifestBody(std::string* body) {
    UpdateHostRequest request(ManifestProfile());
    RequestFailure failure;
    const bool received = request.Open(&failure);
    if (received) {
        MemorySink sink(body);
        request.ReadAll(sink, &failure);
    }
    request.Close();
    if (!received) Log(kManifestFetchFailed);
    return received;
}
