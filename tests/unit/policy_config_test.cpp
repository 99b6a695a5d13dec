#include "policy/policy_config.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/text_conversion.h"
#include "policy/policy_keys.h"
#include "test_folder.h"

namespace {

SASM::String Utf8(const std::wstring& wide) {
    SASM::String utf8;
    WideToUtf8(wide.c_str(), &utf8);
    return utf8;
}

std::vector<std::wstring> Names(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        std::wstring name = entry.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    return names;
}

std::vector<std::wstring> NamesStartingWith(const std::wstring& folder,
                                            const std::wstring& prefix) {
    std::vector<std::wstring> names;
    for (const std::wstring& name : Names(folder)) {
        if (name.compare(0, prefix.size(), prefix) == 0) names.push_back(name);
    }
    return names;
}

// A policy folder whose name is not ASCII, so the file is found only through its UTF-16 path.
class PolicyFolder : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr)); }

    TestFolder root_;
    std::wstring folder_ = root_.Join(L"Tolv\u00e4n \u4e2d");
    std::wstring file_ = folder_ + L"\\ovs.cfg";
};

TEST_F(PolicyFolder, LoadsAFileWhosePathIsNotAscii) {
    root_.WriteFile(L"Tolv\u00e4n \u4e2d\\ovs.cfg", "SilentAutoUpdateEnable=1\r\n");
    PolicyConfig policy(Utf8(file_));
    EXPECT_EQ(policy.Get(kSilentAutoUpdateEnableKey), "1");
}

TEST_F(PolicyFolder, AMissingFileGivesAnEmptyTable) {
    PolicyConfig policy(Utf8(file_));
    EXPECT_EQ(policy.Get(kSilentAutoUpdateEnableKey), "");
    EXPECT_EQ(policy.Get(kAutoUpdateDisableKey), "");
}

TEST_F(PolicyFolder, SaveCreatesTheFileWithExactlyTheTablesLinesAndNothingElse) {
    PolicyConfig policy(Utf8(file_));
    policy.Set(kSilentAutoUpdateEnableKey, "1");
    policy.Set(kAutoUpdateDisableKey, "0");
    ASSERT_TRUE(policy.Save());
    EXPECT_EQ(ReadFileBytes(file_), "AutoUpdateDisable=0\r\nSilentAutoUpdateEnable=1\r\n");
    EXPECT_EQ(Names(folder_), std::vector<std::wstring>{L"ovs.cfg"}) << "no temporary file left";
}

TEST_F(PolicyFolder, SaveReplacesTheFileLosingWhatTheTableLacks) {
    root_.WriteFile(L"Tolv\u00e4n \u4e2d\\ovs.cfg",
                    "\xEF\xBB\xBF# comment\r\n\r\nSilentAutoUpdateVerboseLogging = 1\r\nx=1\r\n"
                    "x=2\r\n");
    PolicyConfig policy(Utf8(file_));
    policy.Set(kSilentAutoUpdateEnableKey, "0");
    policy.Set(kAutoUpdateDisableKey, "1");
    ASSERT_TRUE(policy.Save());
    EXPECT_EQ(ReadFileBytes(file_),
              "AutoUpdateDisable=1\r\nSilentAutoUpdateEnable=0\r\n"
              "x=2\r\nSilentAutoUpdateVerboseLogging=1\r\n");  // "x" is in bucket 8 too
    EXPECT_EQ(Names(folder_), std::vector<std::wstring>{L"ovs.cfg"});
}

TEST_F(PolicyFolder, ASaveThatCannotReplaceTheFileFailsAndLeavesItWhole) {
    std::string before = "SilentAutoUpdateEnable=1\r\nAutoUpdateDisable=0\r\n";
    root_.WriteFile(L"Tolv\u00e4n \u4e2d\\ovs.cfg", before);
    PolicyConfig policy(Utf8(file_));
    policy.Set(kSilentAutoUpdateEnableKey, "0");
    {
        // Another program holds the file open and shares nothing.
        HANDLE holder = CreateFileW(file_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(holder, INVALID_HANDLE_VALUE);
        EXPECT_FALSE(policy.Save());
        CloseHandle(holder);
    }
    EXPECT_EQ(ReadFileBytes(file_), before);
    // Wine's ReplaceFileW leaves a file of its own ("rf*.tmp") here; none of ours is left.
    EXPECT_EQ(NamesStartingWith(folder_, L"ovs"), std::vector<std::wstring>{L"ovs.cfg"});
    EXPECT_TRUE(policy.Save()) << "once the file is free again";
    EXPECT_EQ(ReadFileBytes(file_), "AutoUpdateDisable=0\r\nSilentAutoUpdateEnable=0\r\n");
}

TEST_F(PolicyFolder, SaveIntoAMissingFolderFailsAndCreatesNothing) {
    std::wstring missing = folder_ + L"\\missing";
    PolicyConfig policy(Utf8(missing + L"\\ovs.cfg"));
    policy.Set(kSilentAutoUpdateEnableKey, "1");
    EXPECT_FALSE(policy.Save());
    EXPECT_FALSE(PathExists(missing));
    EXPECT_TRUE(Names(folder_).empty());
}

TEST(PolicyConfig, SaveWithAnEmptyPathFails) {
    PolicyConfig policy(SASM::String(""));
    policy.Set(kSilentAutoUpdateEnableKey, "1");
    EXPECT_FALSE(policy.Save());
}

}  // namespace
