#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "installer/download_installer.h"
#include "test_folder.h"

TEST(InstallerPath, IsTheInstallerFileInTheCurrentDirectory) {
    TestFolder folder;
    CurrentDirectory inFolder(folder.Path());
    PathBuffer path;
    ASSERT_TRUE(InstallerPath(&path));
    EXPECT_EQ(std::wstring(path.Get()), folder.Join(L"VorlixPlayerInstaller.exe"));
}

TEST(InstallerPath, AddsNoSecondBackslashAtADriveRoot) {
    CurrentDirectory atRoot(L"C:\\");
    PathBuffer path;
    ASSERT_TRUE(InstallerPath(&path));
    EXPECT_EQ(std::wstring(path.Get()), L"C:\\VorlixPlayerInstaller.exe");
}

TEST(InstallerPath, FailsRatherThanCutAPathTooLongForMaxPath) {
    // The folder fits MAX_PATH; with "\VorlixPlayerInstaller.exe" the path would not.
    TestFolder folder;
    std::wstring deep = folder.Path() + L"\\" + std::wstring(100, L'd');
    ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr));
    deep += L"\\" + std::wstring(MAX_PATH - 10 - deep.size(), L'e');
    ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr));
    CurrentDirectory inDeep(deep);
    PathBuffer path;
    EXPECT_FALSE(InstallerPath(&path));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE));
}

TEST(PathBuffer, AnAppendThatDoesNotFitLeavesThePathAsItWas) {
    PathBuffer path;
    std::wstring most(MAX_PATH - 2, L'p');
    ASSERT_TRUE(path.Append(most.c_str()));
    EXPECT_TRUE(path.Append(L"q"));  // MAX_PATH - 1 characters and the terminator: full
    EXPECT_FALSE(path.Append(L"r"));
    EXPECT_EQ(std::wstring(path.Get()), most + L"q");
}
