#include "log/log.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <regex>

#include "test_folder.h"

namespace {

// The UTF-16LE bytes of an ASCII text.
std::string Utf16(const std::string& text) {
    std::string bytes;
    for (char c : text) {
        bytes.push_back(c);
        bytes.push_back('\0');
    }
    return bytes;
}

std::string Narrow(const std::string& utf16) {
    std::string text;
    for (size_t i = 0; i + 1 < utf16.size(); i += 2) text.push_back(utf16[i]);
    return text;
}

class LogFile : public ::testing::Test {
protected:
    void SetUp() override {
        CreateDirectoryW(folder_.Join(L"Tolvan").c_str(), nullptr);
        CreateDirectoryW(folder_.Join(L"Tolvan\\Vorlix").c_str(), nullptr);
        VerboseLogging = false;
    }
    void TearDown() override { VerboseLogging = false; }
    std::string Bytes() const { return ReadFileBytes(logPath_); }

    TestFolder folder_;
    CurrentDirectory inFolder_{folder_.Path()};
    std::wstring logPath_ = folder_.Join(L"Tolvan\\Vorlix\\VorlixInstall.log");
};

TEST_F(LogFile, ErrorLinesAreWrittenAsUtf16WithoutByteOrderMark) {
    Log(kActiveXUpdateFailed, 5);
    std::string bytes = Bytes();
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_NE(bytes.substr(0, 2), std::string("\xFF\xFE"));
    EXPECT_EQ(bytes.substr(bytes.size() - 4), Utf16("\r\n"));
    EXPECT_TRUE(std::regex_match(
        Narrow(bytes),
        std::regex(
            R"(\d{4}-\d{1,2}-\d{1,2}\+\d{1,2}-\d{1,2}-\d{1,2}\.\d{1,3} \[error\] 1234 5\r\n)")))
        << Narrow(bytes);
}

TEST_F(LogFile, InfoAndWarningNeedVerboseLogging) {
    Log(kCycleStarted);
    Log(kManifestUnusable);
    EXPECT_FALSE(PathExists(logPath_)) << "the file is not even created";
    VerboseLogging = true;
    Log(kCycleStarted);
    Log(kManifestUnusable);
    Log(7, L"odd level");
    std::string text = Narrow(Bytes());
    EXPECT_NE(text.find("[info] 1608\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("[warning] 1409\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("[] odd level\r\n"), std::string::npos) << text;
}

TEST_F(LogFile, AppendsToWhatIsThere) {
    folder_.WriteFile(L"Tolvan\\Vorlix\\VorlixInstall.log", Utf16("earlier\r\n"));
    Log(kError, L"1234 5");
    std::string bytes = Bytes();
    EXPECT_EQ(bytes.substr(0, 18), Utf16("earlier\r\n"));
    EXPECT_NE(Narrow(bytes).find("[error] 1234 5\r\n"), std::string::npos);
}

TEST_F(LogFile, NonAsciiMessagesKeepTheirCodeUnits) {
    Log(kError, L"1628 h\u00f6st\u4e2d");
    std::string bytes = Bytes();
    std::string expected("1\0006\0002\0008\000 \000h\000\xf6\000s\000t\000\x2d\x4e\r\000\n\000",
                         24);
    EXPECT_EQ(bytes.substr(bytes.size() - expected.size()), expected);
}

TEST(LogWithoutFolder, DropsTheLineAndCreatesNothing) {
    TestFolder folder;
    CurrentDirectory inFolder(folder.Path());
    Log(kActiveXUpdateFailed, 5);
    EXPECT_FALSE(PathExists(folder.Join(L"Tolvan")));
}

}  // namespace

namespace {

TEST_F(LogFile, KeepsTheThreadsLastError) {
    SetLastError(ERROR_ACCESS_DENIED);
    Log(kActiveXUpdateFailed, 5);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

}  // namespace
