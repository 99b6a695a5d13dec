#include "installer/package_verifier.h"

#include <shlobj.h>

#include <cstring>
#include <cwchar>

#include "installer/path_buffer.h"

namespace {

const DWORD kEncoding = X509_ASN_ENCODING | PKCS_7_ASN_ENCODING;
const DWORD kValidityChecks = CERT_STORE_SIGNATURE_FLAG | CERT_STORE_TIME_VALIDITY_FLAG;
// Chains are never this deep. A walk that comes to its 32nd issuer look-up is refused, whatever
// that look-up would find, rather than cut short and judged by where it stopped.
const int kIssuerLookupLimit = 32;

template <typename Function>
bool Resolve(HMODULE module, const char* name, Function* function) {
    FARPROC address = GetProcAddress(module, name);
    if (address == nullptr) return false;
    *function = reinterpret_cast<Function>(reinterpret_cast<void*>(address));
    return true;
}

// A certificate context, freed through the loaded library.
class Certificate {
public:
    explicit Certificate(const CryptoFunctions& functions) : functions_(functions) {}
    ~Certificate() { Reset(); }
    Certificate(const Certificate&) = delete;
    Certificate& operator=(const Certificate&) = delete;

    PCCERT_CONTEXT Get() const { return context_; }
    PCCERT_CONTEXT* Receive() {
        Reset();
        return &context_;
    }
    void Reset(PCCERT_CONTEXT context = nullptr) {
        if (context_ != nullptr) functions_.CertFreeCertificateContext(context_);
        context_ = context;
    }
    PCCERT_CONTEXT Release() {
        PCCERT_CONTEXT context = context_;
        context_ = nullptr;
        return context;
    }

private:
    const CryptoFunctions& functions_;
    PCCERT_CONTEXT context_ = nullptr;
};

// The store of the certificates a message carries, closed through the loaded library.
class CertificateStore {
public:
    explicit CertificateStore(const CryptoFunctions& functions) : functions_(functions) {}
    ~CertificateStore() {
        if (store_ != nullptr) functions_.CertCloseStore(store_, 0);
    }
    CertificateStore(const CertificateStore&) = delete;
    CertificateStore& operator=(const CertificateStore&) = delete;

    HCERTSTORE Get() const { return store_; }
    void Reset(HCERTSTORE store) { store_ = store; }

private:
    const CryptoFunctions& functions_;
    HCERTSTORE store_ = nullptr;
};

// The subject's signature checked with the issuer's key, and its validity period against now.
// CertVerifySubjectCertificateContext succeeds even when a check fails: the flags tell.
bool IsSignedByAndValid(const CryptoFunctions& functions, PCCERT_CONTEXT subject,
                        PCCERT_CONTEXT issuer) {
    DWORD flags = kValidityChecks;
    if (!functions.CertVerifySubjectCertificateContext(subject, issuer, &flags)) return false;
    if (flags & CERT_STORE_SIGNATURE_FLAG) {
        SetLastError(static_cast<DWORD>(TRUST_E_CERT_SIGNATURE));
        return false;
    }
    if (flags & CERT_STORE_TIME_VALIDITY_FLAG) {
        SetLastError(static_cast<DWORD>(CERT_E_EXPIRED));
        return false;
    }
    return true;
}

// The same certificate, whichever store its context came from: the signer's context is the
// verification's own copy, not the one in the message's store.
bool IsSameCertificate(PCCERT_CONTEXT a, PCCERT_CONTEXT b) {
    return a->cbCertEncoded == b->cbCertEncoded &&
           std::memcmp(a->pbCertEncoded, b->pbCertEncoded, a->cbCertEncoded) == 0;
}

}  // namespace

bool LoadSystemLibrary(const wchar_t* name, CryptoFunctions* functions) {
    functions->module.Reset();
    PathBuffer path;
    if (std::wcschr(name, L'\\') != nullptr) {
        if (!path.Append(name)) return false;
    } else {
        if (FAILED(SHGetFolderPathW(nullptr, CSIDL_SYSTEM, nullptr, 0, path.Data()))) return false;
        if (!path.Append(L"\\") || !path.Append(name)) return false;
    }
    functions->module.Reset(LoadLibraryW(path.Get()));
    return functions->module.IsValid();
}

bool LoadCryptoFunctions(CryptoFunctions* functions) {
    if (!LoadSystemLibrary(L"crypt32.dll", functions)) return false;
    HMODULE module = functions->module.Get();
    return Resolve(module, "CryptVerifyMessageSignature",
                   &functions->CryptVerifyMessageSignature) &&
           Resolve(module, "CryptGetMessageCertificates",
                   &functions->CryptGetMessageCertificates) &&
           Resolve(module, "CertCreateCertificateContext",
                   &functions->CertCreateCertificateContext) &&
           Resolve(module, "CertFindCertificateInStore", &functions->CertFindCertificateInStore) &&
           Resolve(module, "CertVerifySubjectCertificateContext",
                   &functions->CertVerifySubjectCertificateContext) &&
           Resolve(module, "CertFreeCertificateContext", &functions->CertFreeCertificateContext) &&
           Resolve(module, "CertCloseStore", &functions->CertCloseStore);
}

bool PackageVerifier::VerifyPackage(const BYTE* message, DWORD messageLength,
                                    std::unique_ptr<BYTE[]>* content, DWORD* contentLength) {
    if (!functions_) {
        functions_.reset(new CryptoFunctions);
        if (!LoadCryptoFunctions(functions_.get())) {
            DWORD error = GetLastError();
            functions_.reset();
            SetLastError(error);
            return false;
        }
    }
    const CryptoFunctions& f = *functions_;
    content->reset();
    *contentLength = 0;

    // The signer's certificate is looked up among the certificates the message carries.
    CRYPT_VERIFY_MESSAGE_PARA parameters = {};
    parameters.cbSize = sizeof(parameters);
    parameters.dwMsgAndCertEncodingType = kEncoding;
    DWORD size = 0;
    if (!f.CryptVerifyMessageSignature(&parameters, 0, message, messageLength, nullptr, &size,
                                       nullptr)) {
        return false;
    }
    content->reset(new BYTE[size]);
    *contentLength = size;
    Certificate current(f);
    // The length kept is the one this call reports for the bytes it wrote.
    if (!f.CryptVerifyMessageSignature(&parameters, 0, message, messageLength, content->get(),
                                       contentLength, current.Receive())) {
        return false;
    }

    CertificateStore carried(f);
    carried.Reset(f.CryptGetMessageCertificates(kEncoding, 0, 0, message, messageLength));
    if (carried.Get() == nullptr) return false;
    Certificate trusted(f);
    trusted.Reset(
        f.CertCreateCertificateContext(kEncoding, trustedCertificate_, trustedCertificateLength_));
    if (trusted.Get() == nullptr) return false;

    for (int lookup = 1;; ++lookup) {
        if (lookup == kIssuerLookupLimit) {
            SetLastError(static_cast<DWORD>(CERT_E_CHAINING));
            return false;
        }
        Certificate issuer(f);
        issuer.Reset(f.CertFindCertificateInStore(carried.Get(), kEncoding, 0, CERT_FIND_ISSUER_OF,
                                                  current.Get(), nullptr));
        // No issuer carried, or a self-signed certificate of the message: the top is reached.
        if (issuer.Get() == nullptr || IsSameCertificate(issuer.Get(), current.Get())) break;
        if (!IsSignedByAndValid(f, current.Get(), issuer.Get())) return false;
        current.Reset(issuer.Release());
    }
    return IsSignedByAndValid(f, current.Get(), trusted.Get());
}
