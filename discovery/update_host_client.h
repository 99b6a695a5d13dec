// The update host client: one synchronous HTTP GET through WinHTTP against an update
// host, its body handed to a sink chunk by chunk. Two fixed request profiles use it: the
// manifest (HTTPS, into memory, tolerant) and the installer package (HTTP, into a file, strict).
// No status code, header or redirect is looked at: whatever body arrives is the resource.
#pragma once

#include <windows.h>
#include <winhttp.h>

#include <string>

#include "platform/unique_handle.h"

// How a request meets a failing step.
enum class FailurePolicy {
    // The manifest's: every step logs its code (1400 to 1408) and the sequence goes on as far
    // as it can.
    kTolerant,
    // The package's: the first failure ends the request; the caller learns the step and the
    // error and logs its own codes.
    kStrict,
};

// The fixed parameters of one kind of request.
struct RequestProfile {
    const wchar_t* userAgent;
    // A process-wide host-name setting; the request copies it when it connects.
    const std::wstring* host;
    INTERNET_PORT port;
    DWORD requestFlags;
    const wchar_t* path;
    FailurePolicy policy;
};

extern const wchar_t kManifestPath[];

// HTTPS GET of the manifest from PrimaryUpdateHost, tolerant.
RequestProfile ManifestProfile();
// Plain HTTP GET of one installer package path from SecondaryUpdateHost, strict.
RequestProfile PackageProfile(const wchar_t* path);

// The step of a request that failed, for the strict policy's caller.
enum class RequestStep {
    kNone,
    kSession,      // WinHttpOpen
    kConnect,      // WinHttpConnect
    kOpenRequest,  // WinHttpOpenRequest
    kSend,         // WinHttpSendRequest
    kReceive,      // WinHttpReceiveResponse
    kQueryData,    // WinHttpQueryDataAvailable
    kAllocate,     // memory for a chunk
    kRead,         // WinHttpReadData
    kSink,         // the sink refused a chunk
};

struct RequestFailure {
    RequestStep step = RequestStep::kNone;
    DWORD error = 0;  // GetLastError, read right after the failing call
};

// Where the body goes, one chunk at a time.
class ChunkSink {
public:
    virtual ~ChunkSink() = default;
    // The buffer holds the `read` bytes WinHTTP delivered followed by at least one zero byte.
    // False when the chunk cannot be taken; *error is then the Windows error code.
    virtual bool Accept(const char* chunk, DWORD read, DWORD* error) = 0;
};

// The manifest's sink: appends each chunk as a zero-terminated string, that is the bytes before
// its first zero byte. Refuses (ERROR_NOT_ENOUGH_MEMORY) when the body cannot grow.
class MemorySink : public ChunkSink {
public:
    explicit MemorySink(std::string* body) : body_(body) {}
    bool Accept(const char* chunk, DWORD read, DWORD* error) override;

private:
    std::string* body_;
};

// The package's sink: one WriteFile per chunk of exactly the bytes read into a file the caller
// opened; the count written is not compared.
class FileSink : public ChunkSink {
public:
    explicit FileSink(HANDLE file) : file_(file) {}
    bool Accept(const char* chunk, DWORD read, DWORD* error) override;

private:
    HANDLE file_;
};

// The request procedure: Open, then Read all, then Close (which also runs on destruction).
class UpdateHostRequest {
public:
    explicit UpdateHostRequest(const RequestProfile& profile) : profile_(profile) {}
    UpdateHostRequest(const UpdateHostRequest&) = delete;
    UpdateHostRequest& operator=(const UpdateHostRequest&) = delete;

    // Obtains the session, connection and request handles, sends the request and receives the
    // response headers. True when the response was received. On false *failure names the
    // first step that failed (the strict policy stops there; the tolerant one has logged it
    // and the codes of every later opening step).
    bool Open(RequestFailure* failure);
    // Copies the body to the sink chunk by chunk, as WinHTTP reports it available. Only after
    // a successful Open. True unless the strict policy met a failure, which *failure names;
    // the tolerant policy logs and reads on as far as it can, and always returns true.
    bool ReadAll(ChunkSink& sink, RequestFailure* failure);
    // Closes the handles that are open: request, connection, session.
    void Close();

private:
    bool OpenSession();
    bool Connect();
    bool OpenRequest();
    bool Send();
    bool Receive();

    struct OpeningStep;
    static const OpeningStep kOpeningSteps[];

    RequestProfile profile_;
    std::wstring host_;
    // Declared in the reverse of the closing order, so destruction closes request, connection,
    // session.
    UniqueInternet session_;
    UniqueInternet connection_;
    UniqueInternet request_;
};

// Fetches the manifest from the primary update host into *body (given empty), logging 1400 to
// 1408. True exactly when the response was received, whatever happened while reading; the body
// may then be incomplete or empty. On false the body is not to be used. Never throws.
bool FetchManifestBody(std::string* body);
