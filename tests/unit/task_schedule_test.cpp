#include "task/task_schedule.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

namespace {

struct BoundaryCase {
    std::optional<uint32_t> tens;
    std::optional<uint32_t> units;
    const wchar_t* expected;
};

class StartBoundary : public testing::TestWithParam<BoundaryCase> {};

TEST_P(StartBoundary, PutsTheDrawsIntoTheMinuteDigits) {
    const BoundaryCase& c = GetParam();
    EXPECT_EQ(MakeStartBoundary(c.tens, c.units), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Draws, StartBoundary,
    testing::Values(BoundaryCase{0u, 0u, L"2000-01-01T00:00:00Z"},
                    BoundaryCase{5u, 9u, L"2000-01-01T00:59:00Z"},
                    // The remainders, not the values: 6 is 0 tens, 13 is 3 units.
                    BoundaryCase{6u, 13u, L"2000-01-01T00:03:00Z"},
                    BoundaryCase{0xFFFFFFFFu, 0xFFFFFFFFu, L"2000-01-01T00:35:00Z"},
                    // A failed draw leaves only its own digit 0.
                    BoundaryCase{std::nullopt, 7u, L"2000-01-01T00:07:00Z"},
                    BoundaryCase{4u, std::nullopt, L"2000-01-01T00:40:00Z"},
                    BoundaryCase{std::nullopt, std::nullopt, L"2000-01-01T00:00:00Z"}));

TEST(StartBoundary, EveryDrawGivesAMinuteOfTheFirstHour) {
    for (uint32_t tens = 0; tens < 12; ++tens) {
        for (uint32_t units = 0; units < 20; ++units) {
            std::wstring text = MakeStartBoundary(tens, units);
            ASSERT_EQ(text.size(), 20u);
            int minute = std::stoi(text.substr(14, 2));
            EXPECT_EQ(minute, static_cast<int>(tens % 6 * 10 + units % 10));
            EXPECT_LT(minute, 60);
        }
    }
}

TEST(DailyTriggerRecord, IsTheHourlyScheduleFromTheFirstOfJanuary2000) {
    TriggerRecord r = MakeDailyTriggerRecord(61u);
    EXPECT_EQ(r.triggerSize, 48);
    EXPECT_EQ(r.reserved1, 0);
    EXPECT_EQ(r.beginYear, 2000);
    EXPECT_EQ(r.beginMonth, 1);
    EXPECT_EQ(r.beginDay, 1);
    EXPECT_EQ(r.endYear, 0);
    EXPECT_EQ(r.endMonth, 0);
    EXPECT_EQ(r.endDay, 0);
    EXPECT_EQ(r.startHour, 0);
    EXPECT_EQ(r.startMinute, 1);
    EXPECT_EQ(r.minutesDuration, 1440u);
    EXPECT_EQ(r.minutesInterval, 60u);
    EXPECT_EQ(r.flags, 0u);
    EXPECT_EQ(r.triggerType, 1);
    EXPECT_EQ(r.daysInterval, 1);
    EXPECT_EQ(r.reserved2, 0);
    EXPECT_EQ(r.randomMinutesInterval, 0);
}

TEST(DailyTriggerRecord, TheMinuteIsTheDrawModulo60OrZeroWithoutOne) {
    EXPECT_EQ(MakeDailyTriggerRecord(0u).startMinute, 0);
    EXPECT_EQ(MakeDailyTriggerRecord(59u).startMinute, 59);
    EXPECT_EQ(MakeDailyTriggerRecord(60u).startMinute, 0);
    EXPECT_EQ(MakeDailyTriggerRecord(0xFFFFFFFFu).startMinute, 0xFFFFFFFFu % 60);
    EXPECT_EQ(MakeDailyTriggerRecord(std::nullopt).startMinute, 0);
}

}  // namespace
