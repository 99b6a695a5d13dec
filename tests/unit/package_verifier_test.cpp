#include "installer/package_verifier.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring SystemFolder() {
    wchar_t folder[MAX_PATH];
    EXPECT_TRUE(SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_SYSTEM, nullptr, 0, folder)));
    return folder;
}

std::wstring ModulePath(HMODULE module) {
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
    return std::wstring(path, length);
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

}  // namespace

TEST(LoadSystemLibrary, LoadsABareNameFromTheSystemFolderOnly) {
    CryptoFunctions functions;
    ASSERT_TRUE(LoadSystemLibrary(L"crypt32.dll", &functions));
    EXPECT_TRUE(SamePath(ModulePath(functions.module.Get()), SystemFolder() + L"\\crypt32.dll"));

    // A library absent from the system folder is looked for nowhere else, and the one loaded
    // before is freed.
    EXPECT_FALSE(LoadSystemLibrary(L"vorlix_not_in_system.dll", &functions));
    EXPECT_FALSE(functions.module.IsValid());
}

TEST(LoadSystemLibrary, LoadsANameWithABackslashByThatPath) {
    CryptoFunctions functions;
    std::wstring path = SystemFolder() + L"\\version.dll";
    ASSERT_TRUE(LoadSystemLibrary(path.c_str(), &functions));
    EXPECT_TRUE(SamePath(ModulePath(functions.module.Get()), path));
    EXPECT_FALSE(LoadSystemLibrary(L"C:\\no such folder\\crypt32.dll", &functions));
    EXPECT_FALSE(functions.module.IsValid());
}

TEST(LoadSystemLibrary, RefusesANameThatWouldNotFitMaxPath) {
    CryptoFunctions functions;
    std::wstring name(MAX_PATH, L'a');
    EXPECT_FALSE(LoadSystemLibrary(name.c_str(), &functions));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE));
}

TEST(LoadCryptoFunctions, ResolvesEveryEntryPoint) {
    CryptoFunctions functions;
    ASSERT_TRUE(LoadCryptoFunctions(&functions));
    EXPECT_NE(functions.CryptVerifyMessageSignature, nullptr);
    EXPECT_NE(functions.CryptGetMessageCertificates, nullptr);
    EXPECT_NE(functions.CertCreateCertificateContext, nullptr);
    EXPECT_NE(functions.CertFindCertificateInStore, nullptr);
    EXPECT_NE(functions.CertVerifySubjectCertificateContext, nullptr);
    EXPECT_NE(functions.CertFreeCertificateContext, nullptr);
    EXPECT_NE(functions.CertCloseStore, nullptr);
}

TEST(PackageVerifier, ResetsTheContentBeforeRejectingAMessage) {
    const BYTE notAMessage[] = {0x30, 0x03, 0x02, 0x01, 0x00};
    PackageVerifier verifier(notAMessage, sizeof(notAMessage));
    std::unique_ptr<BYTE[]> content(new BYTE[4]);
    DWORD contentLength = 4;
    EXPECT_FALSE(
        verifier.VerifyPackage(notAMessage, sizeof(notAMessage), &content, &contentLength));
    EXPECT_EQ(content, nullptr);
    EXPECT_EQ(contentLength, 0u);
}
