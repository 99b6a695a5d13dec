// Names of the values that the updater's log lines carry after a code: Windows errors, WinHTTP
// errors, HRESULTs (COM, CryptoAPI, trust) and service control codes. Each is written once, here,
// with its value as a 32-bit pattern; the Windows build checks every entry against the SDK.
#pragma once

#include <cstdint>

#define VORLIX_ERROR_NAMES(X)                        \
    X(ERROR_INVALID_FUNCTION, 1)                     \
    X(ERROR_FILE_NOT_FOUND, 2)                       \
    X(ERROR_PATH_NOT_FOUND, 3)                       \
    X(ERROR_TOO_MANY_OPEN_FILES, 4)                  \
    X(ERROR_ACCESS_DENIED, 5)                        \
    X(ERROR_INVALID_HANDLE, 6)                       \
    X(ERROR_NOT_ENOUGH_MEMORY, 8)                    \
    X(ERROR_OUTOFMEMORY, 14)                         \
    X(ERROR_WRITE_PROTECT, 19)                       \
    X(ERROR_SHARING_VIOLATION, 32)                   \
    X(ERROR_LOCK_VIOLATION, 33)                      \
    X(ERROR_HANDLE_DISK_FULL, 39)                    \
    X(ERROR_NOT_SUPPORTED, 50)                       \
    X(ERROR_FILE_EXISTS, 80)                         \
    X(ERROR_INVALID_PARAMETER, 87)                   \
    X(ERROR_DISK_FULL, 112)                          \
    X(ERROR_INSUFFICIENT_BUFFER, 122)                \
    X(ERROR_INVALID_NAME, 123)                       \
    X(ERROR_DIR_NOT_EMPTY, 145)                      \
    X(ERROR_ALREADY_EXISTS, 183)                     \
    X(ERROR_FILENAME_EXCED_RANGE, 206)               \
    X(ERROR_MORE_DATA, 234)                          \
    X(ERROR_NO_MORE_ITEMS, 259)                      \
    X(ERROR_INVALID_SERVICE_CONTROL, 1052)           \
    X(ERROR_SERVICE_REQUEST_TIMEOUT, 1053)           \
    X(ERROR_SERVICE_ALREADY_RUNNING, 1056)           \
    X(ERROR_INVALID_SERVICE_ACCOUNT, 1057)           \
    X(ERROR_SERVICE_DISABLED, 1058)                  \
    X(ERROR_SERVICE_DOES_NOT_EXIST, 1060)            \
    X(ERROR_SERVICE_CANNOT_ACCEPT_CTRL, 1061)        \
    X(ERROR_SERVICE_NOT_ACTIVE, 1062)                \
    X(ERROR_FAILED_SERVICE_CONTROLLER_CONNECT, 1063) \
    X(ERROR_SERVICE_MARKED_FOR_DELETE, 1072)         \
    X(ERROR_SERVICE_EXISTS, 1073)                    \
    X(ERROR_SERVICE_NEVER_STARTED, 1077)             \
    X(ERROR_NOT_FOUND, 1168)                         \
    X(ERROR_WINHTTP_OUT_OF_HANDLES, 12001)           \
    X(ERROR_WINHTTP_TIMEOUT, 12002)                  \
    X(ERROR_WINHTTP_INTERNAL_ERROR, 12004)           \
    X(ERROR_WINHTTP_INVALID_URL, 12005)              \
    X(ERROR_WINHTTP_UNRECOGNIZED_SCHEME, 12006)      \
    X(ERROR_WINHTTP_NAME_NOT_RESOLVED, 12007)        \
    X(ERROR_WINHTTP_INVALID_OPTION, 12009)           \
    X(ERROR_WINHTTP_SHUTDOWN, 12012)                 \
    X(ERROR_WINHTTP_OPERATION_CANCELLED, 12017)      \
    X(ERROR_WINHTTP_INCORRECT_HANDLE_TYPE, 12018)    \
    X(ERROR_WINHTTP_INCORRECT_HANDLE_STATE, 12019)   \
    X(ERROR_WINHTTP_CANNOT_CONNECT, 12029)           \
    X(ERROR_WINHTTP_CONNECTION_ERROR, 12030)         \
    X(ERROR_WINHTTP_RESEND_REQUEST, 12032)           \
    X(ERROR_WINHTTP_SECURE_CERT_DATE_INVALID, 12037) \
    X(ERROR_WINHTTP_SECURE_CERT_CN_INVALID, 12038)   \
    X(ERROR_WINHTTP_CLIENT_AUTH_CERT_NEEDED, 12044)  \
    X(ERROR_WINHTTP_SECURE_INVALID_CA, 12045)        \
    X(ERROR_WINHTTP_SECURE_CERT_REV_FAILED, 12057)   \
    X(ERROR_WINHTTP_HEADER_NOT_FOUND, 12150)         \
    X(ERROR_WINHTTP_INVALID_SERVER_RESPONSE, 12152)  \
    X(ERROR_WINHTTP_REDIRECT_FAILED, 12156)          \
    X(ERROR_WINHTTP_SECURE_CHANNEL_ERROR, 12157)     \
    X(ERROR_WINHTTP_SECURE_INVALID_CERT, 12169)      \
    X(ERROR_WINHTTP_SECURE_CERT_REVOKED, 12170)      \
    X(ERROR_WINHTTP_SECURE_FAILURE, 12175)           \
    X(ERROR_WINHTTP_AUTODETECTION_FAILED, 12180)     \
    X(RPC_E_CHANGED_MODE, 0x80010106)                \
    X(RPC_E_TOO_LATE, 0x80010119)                    \
    X(E_NOTIMPL, 0x80004001)                         \
    X(E_NOINTERFACE, 0x80004002)                     \
    X(E_POINTER, 0x80004003)                         \
    X(E_ABORT, 0x80004004)                           \
    X(E_FAIL, 0x80004005)                            \
    X(E_UNEXPECTED, 0x8000FFFF)                      \
    X(REGDB_E_CLASSNOTREG, 0x80040154)               \
    X(CO_E_NOTINITIALIZED, 0x800401F0)               \
    X(E_ACCESSDENIED, 0x80070005)                    \
    X(E_HANDLE, 0x80070006)                          \
    X(E_OUTOFMEMORY, 0x8007000E)                     \
    X(E_INVALIDARG, 0x80070057)                      \
    X(NTE_BAD_SIGNATURE, 0x80090006)                 \
    X(NTE_BAD_ALGID, 0x80090008)                     \
    X(CRYPT_E_MSG_ERROR, 0x80091001)                 \
    X(CRYPT_E_UNKNOWN_ALGO, 0x80091002)              \
    X(CRYPT_E_INVALID_MSG_TYPE, 0x80091004)          \
    X(CRYPT_E_HASH_VALUE, 0x80091007)                \
    X(CRYPT_E_SIGNER_NOT_FOUND, 0x8009100E)          \
    X(CRYPT_E_NOT_FOUND, 0x80092004)                 \
    X(CRYPT_E_NO_MATCH, 0x80092009)                  \
    X(CRYPT_E_REVOKED, 0x80092010)                   \
    X(CRYPT_E_ASN1_EOD, 0x80093102)                  \
    X(CRYPT_E_ASN1_BADTAG, 0x8009310B)               \
    X(TRUST_E_NO_SIGNER_CERT, 0x80096002)            \
    X(TRUST_E_CERT_SIGNATURE, 0x80096004)            \
    X(TRUST_E_TIME_STAMP, 0x80096005)                \
    X(TRUST_E_BAD_DIGEST, 0x80096010)                \
    X(TRUST_E_BASIC_CONSTRAINTS, 0x80096019)         \
    X(TRUST_E_PROVIDER_UNKNOWN, 0x800B0001)          \
    X(TRUST_E_SUBJECT_NOT_TRUSTED, 0x800B0004)       \
    X(TRUST_E_NOSIGNATURE, 0x800B0100)               \
    X(CERT_E_EXPIRED, 0x800B0101)                    \
    X(CERT_E_UNTRUSTEDROOT, 0x800B0109)              \
    X(CERT_E_CHAINING, 0x800B010A)                   \
    X(CERT_E_REVOKED, 0x800B010C)                    \
    X(TRUST_E_EXPLICIT_DISTRUST, 0x800B0111)

#define VORLIX_SERVICE_CONTROL_NAMES(X)          \
    X(SERVICE_CONTROL_STOP, 1)                   \
    X(SERVICE_CONTROL_PAUSE, 2)                  \
    X(SERVICE_CONTROL_CONTINUE, 3)               \
    X(SERVICE_CONTROL_INTERROGATE, 4)            \
    X(SERVICE_CONTROL_SHUTDOWN, 5)               \
    X(SERVICE_CONTROL_PARAMCHANGE, 6)            \
    X(SERVICE_CONTROL_NETBINDADD, 7)             \
    X(SERVICE_CONTROL_NETBINDREMOVE, 8)          \
    X(SERVICE_CONTROL_NETBINDENABLE, 9)          \
    X(SERVICE_CONTROL_NETBINDDISABLE, 10)        \
    X(SERVICE_CONTROL_DEVICEEVENT, 11)           \
    X(SERVICE_CONTROL_HARDWAREPROFILECHANGE, 12) \
    X(SERVICE_CONTROL_POWEREVENT, 13)            \
    X(SERVICE_CONTROL_SESSIONCHANGE, 14)         \
    X(SERVICE_CONTROL_PRESHUTDOWN, 15)

// The name of an error value, or null when the table has none.
const char* ErrorName(uint32_t value);
// The name of a service control code, or null.
const char* ServiceControlName(uint32_t value);
