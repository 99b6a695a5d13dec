#include "update/check_schedule.h"

#include <gtest/gtest.h>

namespace {

TEST(ClampCheckFrequency, KeepsOneToThree) {
    EXPECT_EQ(ClampCheckFrequency(0), 1u);
    EXPECT_EQ(ClampCheckFrequency(1), 1u);
    EXPECT_EQ(ClampCheckFrequency(2), 2u);
    EXPECT_EQ(ClampCheckFrequency(3), 3u);
    EXPECT_EQ(ClampCheckFrequency(4), 3u);
    EXPECT_EQ(ClampCheckFrequency(7), 3u);
    EXPECT_EQ(ClampCheckFrequency(9), 3u);
    EXPECT_EQ(ClampCheckFrequency(0xFFFFFFFFu), 3u);
}

TEST(IsCheckDueAt, OneDayIs864BillionUnits) {
    EXPECT_EQ(kFileTimeUnitsPerDay, 86400ULL * 10000000ULL);
}

// A file time of 2024-01-01 (any time well inside the range does).
const uint64_t kNow = 133485408000000000ULL;

TEST(IsCheckDueAt, ExactlyTheFrequencyAgoIsNotDueOneUnitMoreIs) {
    for (uint32_t days : {1u, 2u, 3u}) {
        uint64_t last = kNow - days * kFileTimeUnitsPerDay;
        EXPECT_FALSE(IsCheckDueAt(last, days, kNow)) << days << " days, equality";
        EXPECT_TRUE(IsCheckDueAt(last - 1, days, kNow)) << days << " days, one unit earlier";
        EXPECT_TRUE(IsCheckDueAt(last, days, kNow + 1)) << days << " days, now one unit later";
        EXPECT_FALSE(IsCheckDueAt(last + 1, days, kNow)) << days << " days, one unit later";
    }
}

TEST(IsCheckDueAt, NoCheckYetIsDueAtOnce) {
    EXPECT_TRUE(IsCheckDueAt(0, 1, kNow));
    EXPECT_TRUE(IsCheckDueAt(0, 3, kNow));
}

TEST(IsCheckDueAt, AFutureCheckPostponesUntilItPlusTheFrequency) {
    uint64_t future = kNow + 10 * kFileTimeUnitsPerDay;
    EXPECT_FALSE(IsCheckDueAt(future, 1, kNow));
    EXPECT_FALSE(IsCheckDueAt(future, 1, future + kFileTimeUnitsPerDay));
    EXPECT_TRUE(IsCheckDueAt(future, 1, future + kFileTimeUnitsPerDay + 1));
}

TEST(IsCheckDueAt, ComparesUnsigned64BitAndTheSumWraps) {
    // A last check near the top of the range wraps past zero and reads as long ago.
    EXPECT_TRUE(IsCheckDueAt(0xFFFFFFFFFFFFFFFFULL, 1, kNow));
    // Values with the top bit set are large, not negative.
    EXPECT_FALSE(IsCheckDueAt(0x8000000000000000ULL, 1, kNow));
    EXPECT_TRUE(IsCheckDueAt(kNow, 1, 0x8000000000000000ULL));
}

}  // namespace
