// Installed versions as a table over real registry values of the test machine, written in the
// view this program sees (the code under test opens its keys without a view flag as well).
#include "discovery/installed_version.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "player_version_values.h"

#include <optional>
#include <string>

#include "test_registry.h"
#include "update/update_settings.h"

namespace {

const wchar_t kActiveXKey[] = L"Software\\Tolvane\\VorlixPlayerActiveX";
const wchar_t kPluginKey[] = L"Software\\Tolvane\\VorlixPlayerPlugin";

// How "isScriptDebugger" is stored for a row.
enum class Debugger { Absent, One, Zero, Seven, EightBytes, OneByteOne };

void SetDebugger(const TestRegistryKey& key, Debugger debugger) {
    switch (debugger) {
        case Debugger::Absent: break;
        case Debugger::One: key.SetDword(L"isScriptDebugger", 1); break;
        case Debugger::Zero: key.SetDword(L"isScriptDebugger", 0); break;
        case Debugger::Seven: key.SetDword(L"isScriptDebugger", 7); break;
        case Debugger::EightBytes: key.SetQword(L"isScriptDebugger", 1); break;
        case Debugger::OneByteOne: key.SetBytes(L"isScriptDebugger", std::string("\x01", 1)); break;
    }
}

class InstalledVersion : public ::testing::Test {
protected:
    void SetUp() override { OsGeneration = 2; }
    void TearDown() override { OsGeneration = 0; }

    // Removed before and after each test; the vendor key goes with the last of them.
    TestRegistryKey activeX_{kActiveXKey};
    TestRegistryKey plugin_{kPluginKey};
};

struct Row {
    const char* name;
    std::optional<std::wstring> installed;  // "Version"; none: the value is absent
    Debugger debugger;
    PlayerVersion announced;
    const char* read;  // what ReadInstalledVersion gives
    bool outOfDate;
};

TEST_F(InstalledVersion, Table) {
    const uint32_t kMax = 4294967295u;
    const Row rows[] = {
        {"newer build announced", L"11.3.300.262", Debugger::Absent, V(11, 3, 300, 265),
         "11.3.300.262", true},
        {"same version announced", L"11.3.300.262", Debugger::Absent, V(11, 3, 300, 262),
         "11.3.300.262", false},
        {"older version announced (no downgrade)", L"11.3.300.262", Debugger::Absent,
         V(11, 2, 999, 999), "11.3.300.262", false},
        {"numbers compare as numbers", L"11.9.0.0", Debugger::Absent, V(11, 10, 0, 0), "11.9.0.0",
         true},
        {"two segments", L"11.3", Debugger::Absent, V(11, 3, 0, 1), "11.3.0.0", true},
        {"two segments, equal", L"11.3", Debugger::Absent, V(11, 3, 0, 0), "11.3.0.0", false},
        {"empty text is not installed", L"", Debugger::Absent, V(11, 3, 300, 265), "0.0.0.0",
         false},
        {"five segments", L"11.3.300.262.1", Debugger::Absent, V(12, 0, 0, 0), "0.0.0.0", false},
        {"trailing dot", L"11.3.300.262.", Debugger::Absent, V(12, 0, 0, 0), "0.0.0.0", false},
        {"commas read as 11.0.0.0", L"11,3,300,262", Debugger::Absent, V(11, 0, 0, 1), "11.0.0.0",
         true},
        {"commas, 11.0.0.0 announced", L"11,3,300,262", Debugger::Absent, V(11, 0, 0, 0),
         "11.0.0.0", false},
        {"overflowing numbers", L"99999999999.1", Debugger::Absent, V(kMax, 2, 0, 0),
         "4294967295.1.0.0", true},
        {"debugger build (1)", L"11.3.300.262", Debugger::One, V(11, 3, 300, 265), "0.0.0.0",
         false},
        {"debugger build (7)", L"11.3.300.262", Debugger::Seven, V(11, 3, 300, 265), "0.0.0.0",
         false},
        {"debugger build (one byte)", L"11.3.300.262", Debugger::OneByteOne, V(11, 3, 300, 265),
         "0.0.0.0", false},
        {"isScriptDebugger 0", L"11.3.300.262", Debugger::Zero, V(11, 3, 300, 265), "11.3.300.262",
         true},
        {"isScriptDebugger longer than 4 bytes counts as absent", L"11.3.300.262",
         Debugger::EightBytes, V(11, 3, 300, 265), "11.3.300.262", true},
        {"no Version value", std::nullopt, Debugger::Absent, V(11, 3, 300, 265), "0.0.0.0", false},
        {"no Version value, debugger set", std::nullopt, Debugger::Zero, V(11, 3, 300, 265),
         "0.0.0.0", false},
        // 1023 characters and the terminator fill the 2048 bytes exactly.
        {"text of 2048 bytes", L"11.3.300.262" + std::wstring(1011, L' '), Debugger::Absent,
         V(11, 3, 300, 265), "11.3.300.262", true},
        {"text longer than 2048 bytes", L"11.3.300.262" + std::wstring(1012, L' '),
         Debugger::Absent, V(11, 3, 300, 265), "0.0.0.0", false},
    };
    for (PlayerFlavour flavour : {PlayerFlavour::ActiveX, PlayerFlavour::Plugin}) {
        const TestRegistryKey& key = flavour == PlayerFlavour::ActiveX ? activeX_ : plugin_;
        const TestRegistryKey& other = flavour == PlayerFlavour::ActiveX ? plugin_ : activeX_;
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(row.name) +
                         (flavour == PlayerFlavour::ActiveX ? " (ActiveX)" : " (Plugin)"));
            key.Remove();
            other.Remove();
            key.SetDword(L"Other", 1);  // the key exists even without "Version"
            if (row.installed) key.SetText(L"Version", *row.installed);
            SetDebugger(key, row.debugger);
            // The other flavour's key holds an old version: it must not be the one read.
            other.SetText(L"Version", L"1.0.0.0");

            PlayerVersion installed = ReadInstalledVersion(flavour);
            EXPECT_EQ(Text(installed), row.read);
            EXPECT_EQ(installed.flavour, flavour);
            PlayerVersion announced = row.announced;
            announced.flavour = flavour;
            EXPECT_EQ(IsFlavourOutOfDate(announced), row.outOfDate);
        }
    }
}

// Stores the text's characters only. RegSetValueExW (on NT and in Wine) adds a forgotten
// terminator when the character after the counted bytes is a zero, so a non-zero one follows.
void SetUnterminated(const TestRegistryKey& key, const std::wstring& text) {
    std::wstring buffer = text + L'#';
    key.Set(L"Version", REG_SZ, buffer.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)));
}

TEST_F(InstalledVersion, ATextStoredWithoutTerminatorStillEnds) {
    SetUnterminated(activeX_, L"11.3.300.262");
    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(activeX_.Get(L"Version", &type, &bytes));
    ASSERT_EQ(bytes.size(), 24u) << "stored without terminator";
    EXPECT_EQ(Text(ReadInstalledVersion(PlayerFlavour::ActiveX)), "11.3.300.262");
    // 2048 bytes of characters, no terminator: the whole buffer is filled and still ends.
    SetUnterminated(activeX_, L"11.3.300.262" + std::wstring(1012, L' '));
    ASSERT_TRUE(activeX_.Get(L"Version", &type, &bytes));
    ASSERT_EQ(bytes.size(), 2048u);
    EXPECT_EQ(Text(ReadInstalledVersion(PlayerFlavour::ActiveX)), "11.3.300.262");
    SetUnterminated(activeX_, L"11.3.300.262" + std::wstring(1013, L' '));
    EXPECT_EQ(Text(ReadInstalledVersion(PlayerFlavour::ActiveX)), "0.0.0.0") << "2050 bytes";
}

TEST_F(InstalledVersion, TheValueTypeIsNotExamined) {
    std::wstring text = L"11.3.300.262";
    activeX_.Set(L"Version", REG_BINARY, text.c_str(), static_cast<DWORD>((text.size() + 1) * 2));
    activeX_.SetBytes(L"isScriptDebugger", std::string("\0\0\0\0", 4));
    EXPECT_EQ(Text(ReadInstalledVersion(PlayerFlavour::ActiveX)), "11.3.300.262");
    activeX_.SetText(L"isScriptDebugger", L"");  // two zero bytes: a number 0
    EXPECT_EQ(Text(ReadInstalledVersion(PlayerFlavour::ActiveX)), "11.3.300.262");
    activeX_.SetText(L"isScriptDebugger", L"x");  // four bytes, not zero
    EXPECT_EQ(Text(ReadInstalledVersion(PlayerFlavour::ActiveX)), "0.0.0.0");
}

TEST_F(InstalledVersion, AMissingKeyIsNotOutOfDateAndTheOtherFlavourStillIs) {
    plugin_.SetText(L"Version", L"11.3.300.262");
    ASSERT_FALSE(activeX_.KeyExists());
    EXPECT_EQ(Text(ReadInstalledVersion(PlayerFlavour::ActiveX)), "0.0.0.0");
    EXPECT_FALSE(IsFlavourOutOfDate(V(99, 0, 0, 0, PlayerFlavour::ActiveX)));
    EXPECT_TRUE(IsFlavourOutOfDate(V(11, 3, 300, 265, PlayerFlavour::Plugin)));
    EXPECT_FALSE(activeX_.KeyExists()) << "reads never create a key";
}

TEST_F(InstalledVersion, BothKeysMissing) {
    EXPECT_EQ(Text(ReadInstalledVersion(PlayerFlavour::ActiveX)), "0.0.0.0");
    EXPECT_EQ(Text(ReadInstalledVersion(PlayerFlavour::Plugin)), "0.0.0.0");
    EXPECT_FALSE(IsFlavourOutOfDate(V(99, 0, 0, 0, PlayerFlavour::ActiveX)));
    EXPECT_FALSE(IsFlavourOutOfDate(V(99, 0, 0, 0, PlayerFlavour::Plugin)));
}

TEST_F(InstalledVersion, AnUnknownFlavourReadsNothing) {
    activeX_.SetText(L"Version", L"11.3.300.262");
    plugin_.SetText(L"Version", L"11.3.300.262");
    EXPECT_EQ(Text(ReadInstalledVersion(static_cast<PlayerFlavour>(3))), "0.0.0.0");
    EXPECT_EQ(Text(ReadInstalledVersion(static_cast<PlayerFlavour>(0))), "0.0.0.0");
    EXPECT_FALSE(IsFlavourOutOfDate(V(99, 0, 0, 0, static_cast<PlayerFlavour>(3))));
}

TEST_F(InstalledVersion, GenerationThreeNeverUpdatesActiveXButStillThePlugin) {
    activeX_.SetText(L"Version", L"11.3.300.262");
    plugin_.SetText(L"Version", L"11.3.300.262");
    for (int generation : {0, 1, 2}) {
        OsGeneration = generation;
        EXPECT_TRUE(IsFlavourOutOfDate(V(11, 3, 300, 265, PlayerFlavour::ActiveX))) << generation;
    }
    OsGeneration = 3;
    EXPECT_FALSE(IsFlavourOutOfDate(V(11, 3, 300, 265, PlayerFlavour::ActiveX)));
    EXPECT_FALSE(IsFlavourOutOfDate(V(99, 99, 99, 99, PlayerFlavour::ActiveX)));
    EXPECT_EQ(Text(ReadInstalledVersion(PlayerFlavour::ActiveX)), "11.3.300.262")
        << "the version is still read; only the decision changes";
    EXPECT_TRUE(IsFlavourOutOfDate(V(11, 3, 300, 265, PlayerFlavour::Plugin)));
    EXPECT_FALSE(IsFlavourOutOfDate(V(11, 3, 300, 262, PlayerFlavour::Plugin)));
}

}  // namespace
