#include "policy/policy_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "policy/policy_keys.h"

namespace {

// The "key=value" lines a table holds, in its order.
std::vector<std::string> Entries(const std::string& fileBytes) {
    PolicyTable table;
    LoadPolicyText(fileBytes.data(), fileBytes.size(), &table);
    std::vector<std::string> entries;
    table.ForEach([&entries](const PolicyEntry& entry) {
        entries.push_back(std::string(entry.key.CStr()) + "=" + entry.value.CStr());
    });
    return entries;
}

using Lines = std::vector<std::string>;

TEST(LoadPolicyText, OneCrLfLineYieldsOneEntryThatReadsTrue) {
    std::string bytes = "SilentAutoUpdateEnable=1\r\n";
    PolicyTable table;
    LoadPolicyText(bytes.data(), bytes.size(), &table);
    EXPECT_EQ(table.Get(kSilentAutoUpdateEnableKey), "1");
    EXPECT_TRUE(ParseBool(table.Get(kSilentAutoUpdateEnableKey)));
    EXPECT_EQ(Entries(bytes), Lines{"SilentAutoUpdateEnable=1"});
}

TEST(LoadPolicyText, NothingYieldsNothing) { EXPECT_EQ(Entries(""), Lines{}); }

TEST(LoadPolicyText, AFileShorterThanFourBytesYieldsNothing) {
    EXPECT_EQ(Entries("a=1"), Lines{});
    EXPECT_EQ(Entries("a=1\n"), Lines{"a=1"});
}

TEST(LoadPolicyText, AUtf16FileYieldsNothingInEitherByteOrder) {
    EXPECT_EQ(Entries(std::string("\xFF\xFE"
                                  "a\0=\0"
                                  "1\0",
                                  8)),
              Lines{});
    EXPECT_EQ(Entries("\xFF\xFE"
                      "a=1\nb=2\n"),
              Lines{});
    EXPECT_EQ(Entries("\xFE\xFF"
                      "a=1\nb=2\n"),
              Lines{});
}

TEST(LoadPolicyText, AUtf8MarkIsSkipped) {
    EXPECT_EQ(Entries("\xEF\xBB\xBF"
                      "a=1\n"),
              Lines{"a=1"});
    // Only the whole mark: a file that starts with EF BB alone is read from its first byte.
    EXPECT_EQ(Entries("\xEF\xBB"
                      "a=1\n"),
              Lines{"\xEF\xBB"
                    "a=1"});
}

TEST(LoadPolicyText, BlanksAroundKeyAndValueAreStrippedAndInnerOnesStay) {
    EXPECT_EQ(Entries(" \t SilentAutoUpdateEnable \t= \tyes please\t \r\n"),
              Lines{"SilentAutoUpdateEnable=yes please"});
}

TEST(LoadPolicyText, KeysAreCaseSensitive) {
    std::string bytes = "silentautoupdateenable=1\n";
    PolicyTable table;
    LoadPolicyText(bytes.data(), bytes.size(), &table);
    EXPECT_EQ(table.Get(kSilentAutoUpdateEnableKey), "");
}

TEST(LoadPolicyText, TheFirstEqualsSignSplitsAndLaterOnesBelongToTheValue) {
    EXPECT_EQ(Entries("SilentAutoUpdateServerDomain=host.example/?a=b\n"),
              Lines{"SilentAutoUpdateServerDomain=host.example/?a=b"});
}

TEST(LoadPolicyText, LinesWithoutAKeyAValueOrAnEqualsSignAreIgnored) {
    EXPECT_EQ(Entries("a=\n=1\n  =  \nno equals sign\n\n\r\nb=2"), Lines{"b=2"});
}

TEST(LoadPolicyText, ALineWithANumberSignDefinesAKeyStartingWithIt) {
    EXPECT_EQ(Entries("#a=1\n"), Lines{"#a=1"});
}

TEST(LoadPolicyText, ANulByteEndsTheTextOfItsLine) {
    EXPECT_EQ(Entries(std::string("a=1\0tail\nb\0=2\nc=3\n", 18)), (Lines{"a=1", "c=3"}));
}

TEST(LoadPolicyText, ALaterDuplicateReplacesTheValueInTheFirstPlace) {
    EXPECT_EQ(Entries("AutoUpdateDisable=1\nA=x\nAutoUpdateDisable=0\n"),
              (Lines{"AutoUpdateDisable=0", "A=x"}));
}

TEST(LoadPolicyText, TheLastLineNeedsNoLineEndAndLinesHaveNoLengthLimit) {
    std::string longValue(100000, 'v');
    EXPECT_EQ(Entries("a=1\nb=" + longValue), (Lines{"a=1", "b=" + longValue}));
}

// A lone carriage return ends its line and the next line keeps its first byte: only a line feed
// right after a carriage return belongs to the same line end.
TEST(LoadPolicyText, ALoneCarriageReturnEndsALineWithoutEatingTheNextByte) {
    EXPECT_EQ(Entries("a=1\rb=2\rc=3"), (Lines{"a=1", "b=2", "c=3"}));
    EXPECT_EQ(Entries("a=1\r\nb=2\r\rc=3\n\rd=4"), (Lines{"a=1", "b=2", "c=3", "d=4"}));
    EXPECT_EQ(Entries("a=1\r"), Lines{"a=1"});
}

// Only bytes up to 0x20 are blank: UTF-8 characters at either end of a key or value stay whole.
TEST(LoadPolicyText, NonAsciiBytesAreNotBlank) {
    EXPECT_EQ(Entries("SilentAutoUpdateServerDomain=h\xC3\xB6st.example.\xC3\xA9\n"),
              Lines{"SilentAutoUpdateServerDomain=h\xC3\xB6st.example.\xC3\xA9"});
    EXPECT_EQ(Entries("\xC3\xA9=\xE2\x82\xAC\n"), Lines{"\xC3\xA9=\xE2\x82\xAC"});
    EXPECT_EQ(Entries(" \xA0 a \xA0=\x7F\n"), Lines{"\xA0 a \xA0=\x7F"});
}

TEST(FormatPolicyText, WritesKeyEqualsValueCrLfLinesInTheTablesOrder) {
    PolicyTable table;
    EXPECT_EQ(FormatPolicyText(table), "");
    table.Set(kSilentAutoUpdateVerboseLoggingKey, "1");
    table.Set(kSilentAutoUpdateEnableKey, "0");
    table.Set(kAutoUpdateDisableKey, "1");
    EXPECT_EQ(FormatPolicyText(table),
              "AutoUpdateDisable=1\r\nSilentAutoUpdateEnable=0\r\n"
              "SilentAutoUpdateVerboseLogging=1\r\n");
}

TEST(FormatPolicyText, KeepsTheBytesOfKeysAndValuesAsTheyAreHeld) {
    std::string bytes = "\xEF\xBB\xBFk\xC3\xA9y = v\xC3\xA9 =x\r\n";
    PolicyTable table;
    LoadPolicyText(bytes.data(), bytes.size(), &table);
    EXPECT_EQ(FormatPolicyText(table), "k\xC3\xA9y=v\xC3\xA9 =x\r\n");
}

// The table's entries come back from its save, also when the first key of the save begins with
// the bytes of a byte-order mark, which the load would skip (EF BB BF) or take for a UTF-16 file
// and so lose every entry (FF FE, FE FF). Those keys sort first (bucket 0, before bucket 2).
TEST(FormatPolicyText, ASaveLoadsBackAsTheSameEntries) {
    const std::string files[] = {
        "SilentAutoUpdateEnable=1\r\nA=1\r\n",
        "SilentAutoUpdateEnable=1\n\xFF\xFE"
        "C=1\n",
        "SilentAutoUpdateEnable=1\n\xFE\xFF"
        "C=1\n",
        "SilentAutoUpdateEnable=1\n\xEF\xBB\xBF"
        "G=1\n",
    };
    for (const std::string& file : files) {
        PolicyTable table;
        LoadPolicyText(file.data(), file.size(), &table);
        ASSERT_EQ(table.Get(kSilentAutoUpdateEnableKey), "1") << file;
        EXPECT_EQ(Entries(FormatPolicyText(table)), Entries(file)) << file;
    }
}

TEST(FormatPolicyText, PutsAnEmptyLineInFrontOfAKeyThatStartsLikeAByteOrderMark) {
    PolicyTable table;
    table.Set(
        "\xFF\xFE"
        "C",
        "1");
    EXPECT_EQ(FormatPolicyText(table),
              "\r\n\xFF\xFE"
              "C=1\r\n");
}

struct BoolCase {
    const char* value;
    bool expected;
};

class ParseBoolCases : public ::testing::TestWithParam<BoolCase> {};

TEST_P(ParseBoolCases, ReadsTheValue) {
    EXPECT_EQ(ParseBool(SASM::String(GetParam().value)), GetParam().expected)
        << '"' << GetParam().value << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Values, ParseBoolCases,
    ::testing::Values(BoolCase{"1", true}, BoolCase{"2", true}, BoolCase{"-1", true},
                      BoolCase{"+1", true}, BoolCase{"10abc", true}, BoolCase{"TRUE", true},
                      BoolCase{"true", true}, BoolCase{"Yes", true}, BoolCase{"YES", true},
                      BoolCase{"T", true}, BoolCase{"t", true}, BoolCase{"y", true},
                      BoolCase{"Y", true}, BoolCase{" \t\n\v\f\r7", true},
                      BoolCase{"99999999999999999999", true}, BoolCase{"2147483648", true},
                      BoolCase{"-99999999999999999999", true}, BoolCase{"4294967296", true},
                      BoolCase{"0", false}, BoolCase{"", false}, BoolCase{"no", false},
                      BoolCase{"false", false}, BoolCase{"on", false}, BoolCase{"off", false},
                      BoolCase{"0x1", false}, BoolCase{"00", false}, BoolCase{"-0", false},
                      BoolCase{"+-1", false}, BoolCase{"yes ", false}, BoolCase{"tr", false},
                      BoolCase{"\xC3\xBF", false}, BoolCase{"- 1", false}));

}  // namespace
