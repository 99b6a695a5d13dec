#include "log/log_line.h"

#include <gtest/gtest.h>

namespace {

struct LineCase {
    const char* name;
    LogTime time;
    int32_t level;
    std::wstring message;
    std::wstring expected;
};

TEST(LogLine, IsBuiltFieldByFieldWithoutFill) {
    const LineCase cases[] = {
        {"documented example",
         {2012, 3, 5, 7, 4, 9, 8},
         kError,
         L"1234 5",
         L"2012-3-5+7-4-9.8 [error] 1234 5\r\n"},
        {"one-digit fields",
         {2013, 1, 1, 0, 0, 0, 0},
         kInfo,
         L"1617",
         L"2013-1-1+0-0-0.0 [info] 1617\r\n"},
        {"two- and three-digit fields",
         {2026, 12, 31, 23, 59, 58, 999},
         kWarning,
         L"1409",
         L"2026-12-31+23-59-58.999 [warning] 1409\r\n"},
        {"unknown level has an empty word",
         {2020, 2, 3, 4, 5, 6, 70},
         7,
         L"x",
         L"2020-2-3+4-5-6.70 [] x\r\n"},
        {"negative level too", {2020, 2, 3, 4, 5, 6, 70}, -1, L"x", L"2020-2-3+4-5-6.70 [] x\r\n"},
        {"non-ASCII message kept as code units",
         {2020, 2, 3, 4, 5, 6, 7},
         kError,
         L"1628 h\u00f6st\u4e2d\U0001F600",
         L"2020-2-3+4-5-6.7 [error] 1628 h\u00f6st\u4e2d\U0001F600\r\n"},
    };
    for (const LineCase& c : cases) {
        EXPECT_EQ(BuildLogLine(c.time, c.level, c.message), c.expected) << c.name;
    }
}

TEST(FormatNumber, IsPlainSignedDecimal) {
    EXPECT_EQ(FormatNumber(0), L"0");
    EXPECT_EQ(FormatNumber(1617), L"1617");
    EXPECT_EQ(FormatNumber(-1), L"-1");
    EXPECT_EQ(FormatNumber(INT32_MAX), L"2147483647");
    EXPECT_EQ(FormatNumber(INT32_MIN), L"-2147483648");
    // A failing HRESULT (E_ACCESSDENIED) is written as the negative 32-bit value.
    EXPECT_EQ(FormatNumber(static_cast<int32_t>(0x80070005u)), L"-2147024891");
}

TEST(CodeMessage, FollowsTheCodeConvention) {
    EXPECT_EQ(CodeMessage(kCycleStarted), L"1608");
    EXPECT_EQ(CodeMessage(kActiveXUpdateFailed, 5), L"1234 5");
    EXPECT_EQ(CodeMessage(kPrimaryHostSet, L"updates.example"), L"1629 updates.example");
}

TEST(LogCodes, EveryNumberIsUniqueAndInTheRangeOfItsLevel) {
    size_t count = 0;
    const LogCode* codes = AllLogCodes(&count);
    ASSERT_GT(count, 150u);
    for (size_t i = 0; i < count; ++i) {
        const LogCode& code = codes[i];
        EXPECT_EQ(FindLogCode(code.number), &code) << code.number << " appears twice";
        switch (code.level) {
            case kError:
                EXPECT_TRUE(code.number >= 1200 && code.number <= 1304) << code.number;
                break;
            case kWarning:
                EXPECT_TRUE(code.number >= 1400 && code.number <= 1441) << code.number;
                break;
            case kInfo:
                EXPECT_TRUE(code.number >= 1600 && code.number <= 1629) << code.number;
                break;
        }
        EXPECT_NE(code.meaning[0], '\0');
    }
    EXPECT_EQ(FindLogCode(1000), nullptr);
}

}  // namespace
