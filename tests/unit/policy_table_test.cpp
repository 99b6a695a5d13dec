#include "policy/policy_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "policy/policy_keys.h"

namespace {

struct Line {
    std::string key;
    std::string value;
    uint32_t bucket;
    bool operator==(const Line& other) const {
        return key == other.key && value == other.value && bucket == other.bucket;
    }
};

std::ostream& operator<<(std::ostream& out, const Line& line) {
    return out << line.key << "=" << line.value << " (bucket " << line.bucket << ")";
}

std::vector<Line> InListOrder(const PolicyTable& table) {
    std::vector<Line> lines;
    table.ForEach([&lines](const PolicyEntry& entry) {
        lines.push_back({entry.key.CStr(), entry.value.CStr(), entry.bucket});
    });
    return lines;
}

TEST(PolicyBucketIndex, OfTheFourKeysIs0_2_8_10) {
    EXPECT_EQ(PolicyBucketIndex(kAutoUpdateDisableKey), 0u);
    EXPECT_EQ(PolicyBucketIndex(kSilentAutoUpdateEnableKey), 2u);
    EXPECT_EQ(PolicyBucketIndex(kSilentAutoUpdateVerboseLoggingKey), 8u);
    EXPECT_EQ(PolicyBucketIndex(kSilentAutoUpdateServerDomainKey), 10u);
}

TEST(PolicyBucketIndex, SumsBytesAsSigned8BitValuesAndTakesTheLowFourBits) {
    EXPECT_EQ(PolicyBucketIndex(""), 0u);
    EXPECT_EQ(PolicyBucketIndex("A"), 1u);      // 65
    EXPECT_EQ(PolicyBucketIndex("\xFF"), 15u);  // -1 = 0xFFFFFFFF
    EXPECT_EQ(PolicyBucketIndex("\x80"
                                "a"),
              1u);                                     // -128 + 97 = -31 = 0xFFFFFFE1
    EXPECT_EQ(PolicyBucketIndex("\xF0\xF0\xF0"), 0u);  // -48 = 0xFFFFFFD0
}

TEST(PolicyTable, GetOfAMissingKeyIsTheEmptyString) {
    PolicyTable table;
    EXPECT_EQ(table.Get(kSilentAutoUpdateEnableKey), "");
    table.Set("A", "1");
    EXPECT_EQ(table.Get("B"), "");
    EXPECT_EQ(table.Get("a"), "") << "keys are case-sensitive";
    EXPECT_EQ(table.Get("A"), "1");
}

TEST(PolicyTable, AReplacedValueKeepsItsPlaceAndIsFound) {
    PolicyTable table;
    table.Set("A", "1");  // bucket 1
    table.Set("Q", "2");  // bucket 1 too (81 % 16)
    table.Set("B", "3");  // bucket 2
    table.Set("A", "4");
    EXPECT_EQ(table.Get("A"), "4");
    EXPECT_EQ(InListOrder(table), (std::vector<Line>{{"Q", "2", 1}, {"A", "4", 1}, {"B", "3", 2}}));
}

TEST(PolicyTable, WithinABucketTheKeyAddedLastComesFirst) {
    PolicyTable table;
    // "A", "Q" and "a" all fall in bucket 1 (65, 81 and 97).
    table.Set("A", "1");
    table.Set("Q", "2");
    table.Set("a", "3");
    EXPECT_EQ(InListOrder(table), (std::vector<Line>{{"a", "3", 1}, {"Q", "2", 1}, {"A", "1", 1}}));
    EXPECT_EQ(table.Get("A"), "1");
    EXPECT_EQ(table.Get("Q"), "2");
    EXPECT_EQ(table.Get("a"), "3");
}

TEST(PolicyTable, BucketsFollowEachOtherInAscendingOrderWhateverTheOrderOfAdding) {
    PolicyTable table;
    table.Set("O", "15");  // 79: bucket 15
    table.Set("H", "8");   // 72: bucket 8
    table.Set("@", "0");   // 64: bucket 0
    table.Set("J", "10");  // 74: bucket 10, between 8 and 15
    table.Set("X", "8b");  // 88: bucket 8, in front of "H"
    table.Set("C", "3");   // 67: bucket 3, after bucket 0
    EXPECT_EQ(InListOrder(table), (std::vector<Line>{{"@", "0", 0},
                                                     {"C", "3", 3},
                                                     {"X", "8b", 8},
                                                     {"H", "8", 8},
                                                     {"J", "10", 10},
                                                     {"O", "15", 15}}));
}

TEST(PolicyTable, TheModeKeysFollowTheirBucketsAroundAnEarlierKey) {
    PolicyTable table;
    table.Set(kSilentAutoUpdateVerboseLoggingKey, "1");
    table.Set(kSilentAutoUpdateEnableKey, "0");
    table.Set(kAutoUpdateDisableKey, "1");
    EXPECT_EQ(InListOrder(table),
              (std::vector<Line>{{kAutoUpdateDisableKey, "1", 0},
                                 {kSilentAutoUpdateEnableKey, "0", 2},
                                 {kSilentAutoUpdateVerboseLoggingKey, "1", 8}}));
}

}  // namespace
