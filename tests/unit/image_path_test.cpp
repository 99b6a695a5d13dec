#include "app/image_path.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

TEST(FullImagePath, ResolvesARelativePathAgainstTheCurrentDirectory) {
    wchar_t current[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, current);
    std::wstring expected = current;
    if (expected.back() != L'\\') expected += L'\\';
    EXPECT_EQ(FullImagePath(L"Updater.exe"), expected + L"Updater.exe");
}

TEST(FullImagePath, KeepsAPathLongerThanMaxPathWhole) {
    std::wstring path = L"C:\\";
    for (int i = 0; i < 30; ++i) path += L"folder-" + std::to_wstring(i) + L"\\";
    path += L"Updater.exe";
    ASSERT_GT(path.size(), static_cast<size_t>(MAX_PATH));
    EXPECT_EQ(FullImagePath(path.c_str()), path);
}

TEST(FullImagePath, FallsBackToThePathAsGiven) { EXPECT_EQ(FullImagePath(L""), L""); }

}  // namespace
