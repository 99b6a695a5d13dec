// Verification of a signed installer package: a DER CMS SignedData whose content is the
// installer program. The package is trusted when its first signer's signature verifies, each
// certificate from the signer up through the certificates the message carries is signed by the
// next and valid now, and the top of that walk is signed by the built-in root and valid now.
// crypt32 is never imported: each verifier loads it from the system folder when first used.
#pragma once

#include <windows.h>
#include <wincrypt.h>

#include <memory>

#include "platform/unique_handle.h"

// The loaded library and the entry points the verification calls.
struct CryptoFunctions {
    UniqueModule module;
    decltype(&::CryptVerifyMessageSignature) CryptVerifyMessageSignature = nullptr;
    decltype(&::CryptGetMessageCertificates) CryptGetMessageCertificates = nullptr;
    decltype(&::CertCreateCertificateContext) CertCreateCertificateContext = nullptr;
    decltype(&::CertFindCertificateInStore) CertFindCertificateInStore = nullptr;
    decltype(&::CertVerifySubjectCertificateContext) CertVerifySubjectCertificateContext = nullptr;
    decltype(&::CertFreeCertificateContext) CertFreeCertificateContext = nullptr;
    // The message's certificate store must be closed as well, and only this library can.
    decltype(&::CertCloseStore) CertCloseStore = nullptr;
};

// Loads one library into `functions`, freeing the one it held. A bare file name is loaded from
// the Windows system folder (SHGetFolderPathW, CSIDL_SYSTEM), never along the DLL search path;
// a name holding a backslash is loaded by that path. False when the folder cannot be determined,
// the path does not fit MAX_PATH or the library does not load.
bool LoadSystemLibrary(const wchar_t* name, CryptoFunctions* functions);

// Loads "crypt32.dll" from the system folder and resolves its entry points by name; false at
// the first that does not resolve.
bool LoadCryptoFunctions(CryptoFunctions* functions);

class PackageVerifier {
public:
    // Keeps the two values (the built-in root's DER, program data, not owned); loads nothing.
    PackageVerifier(const BYTE* trustedCertificate, DWORD trustedCertificateLength)
        : trustedCertificate_(trustedCertificate),
          trustedCertificateLength_(trustedCertificateLength) {}
    PackageVerifier(const PackageVerifier&) = delete;
    PackageVerifier& operator=(const PackageVerifier&) = delete;

    // True when the package is trusted; *content then holds the message's content and
    // *contentLength its length. When crypt32 cannot be loaded both are left as they were;
    // otherwise they are reset first, and on false *content may hold a buffer allocated before
    // a later check failed. The reason is left in GetLastError for the caller to log. Throws
    // std::bad_alloc when memory for the functions or the content cannot be obtained.
    bool VerifyPackage(const BYTE* message, DWORD messageLength, std::unique_ptr<BYTE[]>* content,
                       DWORD* contentLength);

private:
    std::unique_ptr<CryptoFunctions> functions_;
    const BYTE* trustedCertificate_;
    DWORD trustedCertificateLength_;
};
