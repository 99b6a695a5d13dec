#include "resources/localized_string.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "resources/resource_ids.h"

namespace {

class InLocale {
public:
    explicit InLocale(LCID locale) : previous_(GetThreadLocale()) { SetThreadLocale(locale); }
    ~InLocale() { SetThreadLocale(previous_); }

private:
    LCID previous_;
};

TEST(LoadLocalizedString, GivesTheEnglishTextsTerminated) {
    InLocale english(MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT));
    EXPECT_STREQ(LoadLocalizedString(IDS_SERVICE_DESCRIPTION),
                 L"This service keeps your Kestiva Vorlix Player installation up to date with the "
                 L"latest enhancements and security fixes.");
    EXPECT_STREQ(LoadLocalizedString(IDS_TASK_DESCRIPTION),
                 L"This task keeps your Kestiva Vorlix Player installation up to date with the "
                 L"latest enhancements and security fixes. If this task is disabled or removed, "
                 L"Kestiva Vorlix Player will be unable to automatically secure your machine with "
                 L"the latest security fixes.");
}

TEST(LoadLocalizedString, FollowsTheThreadLanguage) {
    InLocale german(MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT));
    EXPECT_EQ(std::wstring(LoadLocalizedString(IDS_SERVICE_DESCRIPTION)).rfind(L"Dieser Dienst", 0),
              0u);
    InLocale japanese(MAKELCID(MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT), SORT_DEFAULT));
    EXPECT_EQ(std::wstring(LoadLocalizedString(IDS_TASK_DESCRIPTION)).rfind(L"\u3053\u306e", 0),
              0u);
}

TEST(LoadLocalizedString, ReportsAMissingString) {
    EXPECT_STREQ(LoadLocalizedString(111), L"MISSING LOCALIZATION");
    EXPECT_STREQ(LoadLocalizedString(4000), L"MISSING LOCALIZATION");
}

}  // namespace
