#include "sasm/windows_file_manager.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <memory>

#include "platform/text_conversion.h"
#include "test_folder.h"

namespace {

SASM::String Utf8(const std::wstring& wide) {
    SASM::String utf8;
    WideToUtf8(wide.c_str(), &utf8);
    return utf8;
}

// Sets a file's last-write time to the given number of seconds before now.
void AgeFile(const std::wstring& path, int64_t seconds) {
    SYSTEMTIME now;
    GetSystemTime(&now);
    FILETIME time;
    SystemTimeToFileTime(&now, &time);
    ULARGE_INTEGER value;
    value.LowPart = time.dwLowDateTime;
    value.HighPart = time.dwHighDateTime;
    value.QuadPart -= static_cast<uint64_t>(seconds) * 10000000;
    time.dwLowDateTime = value.LowPart;
    time.dwHighDateTime = value.HighPart;
    HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    SetFileTime(file, nullptr, nullptr, &time);
    CloseHandle(file);
}

TEST(ListFolder, SortsNamesWithANonDigitFirstThenNumbers) {
    TestFolder folder;
    for (const wchar_t* name : {L"b", L"A", L"10", L"9"}) folder.WriteFile(name, "x");
    CreateDirectoryW(folder.Join(L"a1").c_str(), nullptr);  // folders are listed too
    SASM::WindowsFileManager files;
    std::unique_ptr<SASM::StringVector> names(files.ListFolder(Utf8(folder.Path())));
    ASSERT_NE(names, nullptr);
    std::vector<std::string> listed;
    for (uint32_t i = 0; i < names->Count(); ++i) listed.push_back(names->At(i).CStr());
    EXPECT_EQ(listed, (std::vector<std::string>{"A", "a1", "b", "9", "10"}));
}

TEST(ListFolder, OfAMissingFolderIsEmptyNotNull) {
    TestFolder folder;
    SASM::WindowsFileManager files;
    std::unique_ptr<SASM::StringVector> names(files.ListFolder(Utf8(folder.Join(L"missing"))));
    ASSERT_NE(names, nullptr);
    EXPECT_EQ(names->Count(), 0u);
}

TEST(DeleteAgedFiles, DeletesOnlyFilesStrictlyInsideTheWindow) {
    TestFolder folder;
    CreateDirectoryW(folder.Join(L"tree").c_str(), nullptr);
    CreateDirectoryW(folder.Join(L"tree\\old").c_str(), nullptr);
    std::wstring young = folder.WriteFile(L"tree\\young", "y");  // younger than the minimum
    std::wstring inside = folder.WriteFile(L"tree\\inside", "i");
    std::wstring insideSub = folder.WriteFile(L"tree\\old\\inside", "i");
    std::wstring ancient = folder.WriteFile(L"tree\\ancient", "a");  // older than the maximum
    AgeFile(young, 10);
    AgeFile(inside, 1000);
    AgeFile(insideSub, 1000);
    AgeFile(ancient, 100000);
    SASM::WindowsFileManager files;
    EXPECT_TRUE(files.DeleteAgedFiles(Utf8(folder.Join(L"tree")), 100, 10000));
    EXPECT_TRUE(PathExists(young));
    EXPECT_FALSE(PathExists(inside));
    EXPECT_FALSE(PathExists(folder.Join(L"tree\\old"))) << "emptied sub-folders go too";
    EXPECT_TRUE(PathExists(ancient));
    EXPECT_TRUE(PathExists(folder.Join(L"tree")));
}

TEST(DeleteAgedFiles, RemovesAFolderItEmptiesAndFailsOnAMissingOne) {
    TestFolder folder;
    CreateDirectoryW(folder.Join(L"tree").c_str(), nullptr);
    AgeFile(folder.WriteFile(L"tree\\f", "f"), 1000);
    SASM::WindowsFileManager files;
    EXPECT_TRUE(files.DeleteAgedFiles(Utf8(folder.Join(L"tree")), 0, 100000));
    EXPECT_FALSE(PathExists(folder.Join(L"tree")));
    EXPECT_FALSE(files.DeleteAgedFiles(Utf8(folder.Join(L"tree")), 0, 100000));
}

TEST(DeleteAgedFiles, KeepsAFileWrittenInTheFuture) {
    TestFolder folder;
    CreateDirectoryW(folder.Join(L"tree").c_str(), nullptr);
    std::wstring future = folder.WriteFile(L"tree\\future", "f");
    AgeFile(future, -3600);  // its age wraps to a huge value
    SASM::WindowsFileManager files;
    EXPECT_TRUE(files.DeleteAgedFiles(Utf8(folder.Join(L"tree")), 0, 1000000000));
    EXPECT_TRUE(PathExists(future));
}

TEST(CreateFolder, CreatesEveryMissingLevel) {
    TestFolder folder;
    SASM::WindowsFileManager files;
    SASM::String parent = Utf8(folder.Join(L"one\\two\\three"));
    EXPECT_TRUE(files.CreateFolder(parent, "leaf"));
    EXPECT_TRUE(PathExists(folder.Join(L"one\\two\\three\\leaf")));
    EXPECT_TRUE(files.CreateFolder(parent, "leaf")) << "an existing folder is fine";
}

TEST(CreateFolder, FailsUnderADriveThatDoesNotExist) {
    SASM::WindowsFileManager files;
    EXPECT_FALSE(files.CreateFolder("Q:\\no\\such", "leaf"));
}

TEST(DeletePath, DeletesTreesAndAcceptsAMissingPath) {
    TestFolder folder;
    CreateDirectoryW(folder.Join(L"tree").c_str(), nullptr);
    folder.WriteFile(L"tree\\f", "f");
    SASM::WindowsFileManager files;
    EXPECT_TRUE(files.DeletePath(Utf8(folder.Join(L"tree"))));
    EXPECT_FALSE(PathExists(folder.Join(L"tree")));
    EXPECT_TRUE(files.DeletePath(Utf8(folder.Join(L"tree"))));
}

TEST(GetTotalSize, SumsATreeAndCountsAnUnreadableFileAsZero) {
    TestFolder folder;
    CreateDirectoryW(folder.Join(L"sub").c_str(), nullptr);
    folder.WriteFile(L"a", std::string(100, 'a'));
    folder.WriteFile(L"sub\\b", std::string(23, 'b'));
    std::wstring locked = folder.WriteFile(L"sub\\locked", std::string(1000, 'c'));
    SASM::WindowsFileManager files;
    EXPECT_EQ(files.GetTotalSize(Utf8(folder.Path())), 1123u);
    HANDLE exclusive = CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(exclusive, INVALID_HANDLE_VALUE);
    EXPECT_EQ(files.GetTotalSize(Utf8(folder.Path())), 123u);
    CloseHandle(exclusive);
    EXPECT_EQ(files.GetTotalSize(Utf8(folder.Join(L"missing"))), 0u);
}

TEST(PathOperations, NameTheSystemAndUserFoldersAndCacheThem) {
    wchar_t system[MAX_PATH];
    SHGetFolderPathW(nullptr, CSIDL_SYSTEM, nullptr, 0, system);
    wchar_t appData[MAX_PATH];
    SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, appData);
    const SASM::String& policy = SASM::WindowsFileManager::GetPolicyFilePath();
    EXPECT_EQ(policy, Utf8(std::wstring(system) + L"\\Tolvan\\Vorlix\\ovs.cfg"));
    EXPECT_EQ(&SASM::WindowsFileManager::GetPolicyFilePath(), &policy);
    SASM::WindowsFileManager files;
    EXPECT_EQ(files.GetPathSeparator(), "\\");
    EXPECT_EQ(files.GetAssetCacheFolder(),
              Utf8(std::wstring(appData) + L"\\Kestiva\\Vorlix Player\\AssetCache"));
    EXPECT_EQ(files.GetKVCacheFolder(),
              Utf8(std::wstring(appData) + L"\\Kestiva\\Vorlix Player\\KVCache"));
    EXPECT_EQ(files.GetTolvanePlayerFolder(),
              Utf8(std::wstring(appData) + L"\\Tolvane\\Vorlix Player"));
    EXPECT_EQ(files.GetZRTPrivateDataFolder(),
              Utf8(std::wstring(appData) + L"\\Kestiva\\Vorlix Player\\ZRTPrivateData2"));
}

}  // namespace
