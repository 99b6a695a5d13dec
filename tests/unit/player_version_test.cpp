#include "discovery/player_version.h"

#include <gtest/gtest.h>

#include "player_version_values.h"

#include <string>

#include "discovery/decimal_number.h"

namespace {

TEST(CompareVersions, FieldByFieldTheFirstDifferenceDecides) {
    EXPECT_EQ(CompareVersions(V(11, 3, 300, 265), V(11, 3, 300, 262)), 1);
    EXPECT_EQ(CompareVersions(V(11, 3, 300, 262), V(11, 3, 300, 265)), -1);
    EXPECT_EQ(CompareVersions(V(11, 3, 300, 262), V(11, 3, 300, 262)), 0);
    EXPECT_EQ(CompareVersions(V(11, 2, 999, 999), V(11, 3, 300, 262)), -1);
    EXPECT_EQ(CompareVersions(V(11, 10, 0, 0), V(11, 9, 0, 0)), 1);
    EXPECT_EQ(CompareVersions(V(12, 0, 0, 0), V(11, 99, 99, 99)), 1);
    EXPECT_EQ(CompareVersions(V(1, 2, 4, 0), V(1, 2, 3, 9)), 1);
    EXPECT_EQ(CompareVersions(V(0xFFFFFFFF, 0, 0, 0), V(1, 0, 0, 0)), 1) << "unsigned";
}

TEST(CompareVersions, TheFlavourTakesNoPart) {
    EXPECT_EQ(CompareVersions(V(1, 2, 3, 4, PlayerFlavour::ActiveX),
                              V(1, 2, 3, 4, PlayerFlavour::Plugin)),
              0);
}

TEST(ParseVersionText, Table) {
    const struct {
        const wchar_t* text;
        const char* version;
    } rows[] = {
        {L"11.3.300.262", "11.3.300.262"},
        {L"11.9.0.0", "11.9.0.0"},
        {L"11.10.0.0", "11.10.0.0"},
        {L"11.3", "11.3.0.0"},
        {L"11", "11.0.0.0"},
        {L"", "0.0.0.0"},
        {L"11.3.300.262.1", "0.0.0.0"},  // a fifth segment
        {L"11.3.300.262.", "0.0.0.0"},   // an empty fifth segment
        {L"11,3,300,262", "11.0.0.0"},   // one segment, read up to the comma
        {L"011.003.0300.0262", "11.3.300.262"},
        {L" 11.\t3.+300.262", "11.3.300.262"},
        {L"11..300.262", "11.0.300.262"},
        {L"11.3b.300x.262 beta", "11.3.300.262"},
        {L"v11.3.300.262", "0.3.300.262"},
        {L"-1.0.0.0", "4294967295.0.0.0"},
        {L"4294967295.4294967296.99999999999999999999.0", "4294967295.4294967295.4294967295.0"},
        {L"...", "0.0.0.0"},
        {L"....", "0.0.0.0"},
    };
    for (const auto& row : rows) {
        PlayerVersion version = ParseVersionText(row.text, PlayerFlavour::Plugin);
        EXPECT_EQ(Text(version), row.version) << row.text;
        EXPECT_EQ(version.flavour, PlayerFlavour::Plugin);
    }
}

TEST(ParseDecimalUnsigned32, ReadsLikeStrtoulWithA32BitUnsignedLong) {
    const struct {
        const char* text;
        uint32_t value;
    } rows[] = {
        {"0", 0},
        {"011", 11},
        {"11.5", 11},
        {"abc", 0},
        {"", 0},
        {"-1", 4294967295u},
        {"-0", 0},
        {"-4294967295", 1},
        {"-4294967296", 4294967295u},
        {"4294967295", 4294967295u},
        {"4294967296", 4294967295u},
        {"18446744073709551617", 4294967295u},
        {"  \t\n\v\f\r42", 42},
        {"+7", 7},
        {"+-7", 0},
        {"- 7", 0},
        {"7 8", 7},
        {"0x1A", 0},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ParseDecimalUnsigned32(row.text), row.value) << "\"" << row.text << "\"";
    }
    const wchar_t wide[] = L"4294967296";
    EXPECT_EQ(ParseDecimalUnsigned32(wide), 4294967295u);
    // A bounded range stops at its end, digits or not.
    const char digits[] = "123456";
    EXPECT_EQ(ParseDecimalUnsigned32(digits, digits + 3), 123u);
}

}  // namespace
