#include "update/update_settings.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>

namespace {

TEST(UpdateHosts, StartAsTheBuiltInPlainHostNames) {
    EXPECT_EQ(PrimaryUpdateHost, kBuiltInPrimaryHost);
    EXPECT_EQ(SecondaryUpdateHost, kBuiltInSecondaryHost);
    for (const wchar_t* host : {kBuiltInPrimaryHost, kBuiltInSecondaryHost}) {
        EXPECT_GT(std::wcslen(host), 0u);
        EXPECT_EQ(std::wcspbrk(host, L":/ "), nullptr) << "no scheme, port or path";
    }
}

TEST(ApplyServerDomain, TakesTheUtf8TextExactlyAsWritten) {
    std::wstring host = L"before";
    EXPECT_TRUE(ApplyServerDomain("https://h\xC3\xB6st.example:8443/x", &host));
    EXPECT_EQ(host, L"https://h\u00f6st.example:8443/x");
    EXPECT_TRUE(ApplyServerDomain("", &host));
    EXPECT_EQ(host, L"");
}

TEST(DetectOsGeneration, SetsAGenerationFrom1To3) {
    DetectOsGeneration();
    EXPECT_GE(OsGeneration, 1);
    EXPECT_LE(OsGeneration, 3);
}

}  // namespace
