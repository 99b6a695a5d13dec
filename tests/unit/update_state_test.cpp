// The update state store against the real registry of the test machine. The due edges
// (equality, one unit later) are the pure rule's tests (check_schedule_test.cpp); here the
// store's reading, writing and defaults.
#include "update/update_state.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "test_registry.h"
#include "update/check_schedule.h"

namespace {

class UpdateState : public ::testing::Test {
protected:
    // Whatever an earlier run left is removed before and after each test.
    TestRegistryKey key_{L"SOFTWARE\\Tolvane\\VorlixPlayer"};

    DWORD StoredDword(const wchar_t* name) const {
        DWORD type = 0;
        std::string bytes;
        EXPECT_TRUE(key_.Get(name, &type, &bytes)) << "no value";
        EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
        EXPECT_EQ(bytes.size(), 4u);
        DWORD value = 0xDEADBEEF;
        if (bytes.size() == 4) std::memcpy(&value, bytes.data(), 4);
        return value;
    }
    bool Stored(const wchar_t* name) const {
        DWORD type = 0;
        std::string bytes;
        return key_.Get(name, &type, &bytes);
    }
};

TEST_F(UpdateState, AFreshMachineIsDueWithFrequencyOneAndAFalseRead) {
    ASSERT_FALSE(key_.KeyExists());
    EXPECT_TRUE(IsCheckDue());
    uint32_t days = 77;
    EXPECT_FALSE(ReadCheckFrequency(&days));
    EXPECT_EQ(days, 1u);
    uint32_t count = 77;
    EXPECT_FALSE(ReadUpdateAttempts(&count));
    EXPECT_EQ(count, 77u) << "left untouched";
    EXPECT_FALSE(key_.KeyExists()) << "reads never create the key";
}

TEST_F(UpdateState, AnEmptyKeyGivesTheDefaultsToo) {
    key_.SetDword(L"Other", 5);
    EXPECT_TRUE(IsCheckDue());
    uint32_t days = 0;
    EXPECT_FALSE(ReadCheckFrequency(&days));
    EXPECT_EQ(days, 1u);
}

TEST_F(UpdateState, StoredFrequenciesAreClampedAndStillCountAsRead) {
    const struct {
        DWORD stored;
        uint32_t read;
    } rows[] = {{0, 1}, {1, 1}, {2, 2}, {3, 3}, {4, 3}, {7, 3}, {0xFFFFFFFF, 3}};
    for (const auto& row : rows) {
        key_.SetDword(L"CheckFrequency", row.stored);
        uint32_t days = 0;
        EXPECT_TRUE(ReadCheckFrequency(&days)) << row.stored;
        EXPECT_EQ(days, row.read) << row.stored;
    }
}

TEST_F(UpdateState, FrequencyReadsAtMostFourBytesWhateverTheType) {
    key_.SetBytes(L"CheckFrequency", std::string("\x02", 1));  // one byte: the low byte
    uint32_t days = 0;
    EXPECT_TRUE(ReadCheckFrequency(&days));
    EXPECT_EQ(days, 2u);
    key_.SetQword(L"CheckFrequency", 2);  // eight bytes do not fit: not read, the default
    EXPECT_FALSE(ReadCheckFrequency(&days));
    EXPECT_EQ(days, 1u);
}

TEST_F(UpdateState, FrequencyWritesAreClampedAsDwords) {
    const struct {
        uint32_t given;
        DWORD stored;
    } rows[] = {{0, 1}, {1, 1}, {2, 2}, {3, 3}, {9, 3}};
    for (const auto& row : rows) {
        EXPECT_TRUE(WriteCheckFrequency(&row.given)) << row.given;
        EXPECT_EQ(StoredDword(L"CheckFrequency"), row.stored) << row.given;
    }
    key_.SetDword(L"CheckFrequency", 3);
    EXPECT_TRUE(WriteCheckFrequency(nullptr));
    EXPECT_EQ(StoredDword(L"CheckFrequency"), 1u) << "no value writes 1";
}

TEST_F(UpdateState, WritesCreateTheKey) {
    ASSERT_FALSE(key_.KeyExists());
    EXPECT_TRUE(WriteUpdateAttempts(4));
    EXPECT_TRUE(key_.KeyExists());
    EXPECT_EQ(StoredDword(L"UpdateAttempts"), 4u);
}

TEST_F(UpdateState, ACompletedCheckIsStoredAsAQwordOfNowAndIsNotDue) {
    uint64_t before = CurrentFileTime();
    EXPECT_TRUE(WriteLastUpdateCheck(false));
    uint64_t after = CurrentFileTime();
    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(key_.Get(L"LastUpdateCheck", &type, &bytes));
    EXPECT_EQ(type, static_cast<DWORD>(REG_QWORD));
    ASSERT_EQ(bytes.size(), 8u);
    uint64_t stored = 0;
    std::memcpy(&stored, bytes.data(), 8);
    EXPECT_GE(stored, before);
    EXPECT_LE(stored, after);
    EXPECT_FALSE(IsCheckDue()) << "frequency 1 by default: due in a day";
}

TEST_F(UpdateState, AResetStoresZeroAndMakesTheCheckDue) {
    EXPECT_TRUE(WriteLastUpdateCheck(false));
    EXPECT_TRUE(WriteCheckFrequency(nullptr));
    ASSERT_FALSE(IsCheckDue());
    EXPECT_TRUE(WriteLastUpdateCheck(true));
    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(key_.Get(L"LastUpdateCheck", &type, &bytes));
    EXPECT_EQ(type, static_cast<DWORD>(REG_QWORD));
    EXPECT_EQ(bytes, std::string(8, '\0'));
    EXPECT_TRUE(IsCheckDue());
}

TEST_F(UpdateState, DueFollowsTheStoredTimeAndFrequency) {
    uint64_t now = CurrentFileTime();
    // A margin of an hour keeps the clock's advance during the test out of the picture.
    const uint64_t hour = kFileTimeUnitsPerDay / 24;
    key_.SetDword(L"CheckFrequency", 2);
    key_.SetQword(L"LastUpdateCheck", now - 2 * kFileTimeUnitsPerDay - hour);
    EXPECT_TRUE(IsCheckDue());
    key_.SetQword(L"LastUpdateCheck", now - 2 * kFileTimeUnitsPerDay + hour);
    EXPECT_FALSE(IsCheckDue());
    key_.SetDword(L"CheckFrequency", 0);  // read as 1
    EXPECT_TRUE(IsCheckDue());
    key_.SetDword(L"CheckFrequency", 9);  // read as 3
    key_.SetQword(L"LastUpdateCheck", now - 3 * kFileTimeUnitsPerDay + hour);
    EXPECT_FALSE(IsCheckDue());
    key_.SetQword(L"LastUpdateCheck", now + 5 * kFileTimeUnitsPerDay);  // in the future
    EXPECT_FALSE(IsCheckDue());
}

TEST_F(UpdateState, ALastCheckLongerThanEightBytesReadsAsNoCheckYet) {
    key_.SetDword(L"CheckFrequency", 3);
    // Eight bytes of a far future: read, not due.
    key_.SetBytes(L"LastUpdateCheck", std::string(8, '\x7f'));
    EXPECT_FALSE(IsCheckDue());
    // The same time followed by more bytes: the read fails and whatever the registry left in
    // the field is not used; the value is 0, so the check is due.
    key_.SetBytes(L"LastUpdateCheck", std::string(9, '\x7f'));
    EXPECT_TRUE(IsCheckDue());
    key_.SetBytes(L"LastUpdateCheck", std::string(64, '\x7f'));
    EXPECT_TRUE(IsCheckDue());
}

TEST_F(UpdateState, IncrementFromNoneWritesOneAndFromSixWritesSeven) {
    EXPECT_TRUE(IncrementUpdateAttempts());
    EXPECT_EQ(StoredDword(L"UpdateAttempts"), 1u);
    key_.SetDword(L"UpdateAttempts", 6);
    EXPECT_TRUE(IncrementUpdateAttempts());
    EXPECT_EQ(StoredDword(L"UpdateAttempts"), 7u);
    uint32_t count = 0;
    EXPECT_TRUE(ReadUpdateAttempts(&count));
    EXPECT_EQ(count, 7u);
}

TEST_F(UpdateState, AnUnreadableCounterLeavesTheCountAndIncrementsToOne) {
    key_.SetQword(L"UpdateAttempts", 6);  // longer than 4 bytes
    uint32_t count = 42;
    EXPECT_FALSE(ReadUpdateAttempts(&count));
    EXPECT_EQ(count, 42u);
    EXPECT_TRUE(IncrementUpdateAttempts());
    EXPECT_EQ(StoredDword(L"UpdateAttempts"), 1u);
}

TEST_F(UpdateState, DeletesRemoveOneValueAndFailWhenItIsNotThere) {
    EXPECT_TRUE(WriteUpdateAttempts(0));
    EXPECT_TRUE(WriteLastUpdateCheck(true));
    EXPECT_TRUE(WriteCheckFrequency(nullptr));

    EXPECT_TRUE(DeleteUpdateAttempts());
    EXPECT_FALSE(Stored(L"UpdateAttempts"));
    EXPECT_TRUE(Stored(L"LastUpdateCheck"));
    EXPECT_FALSE(DeleteUpdateAttempts()) << "already gone";

    EXPECT_TRUE(DeleteLastUpdateCheck());
    EXPECT_FALSE(Stored(L"LastUpdateCheck"));
    EXPECT_FALSE(DeleteLastUpdateCheck());

    EXPECT_TRUE(Stored(L"CheckFrequency"));
    EXPECT_TRUE(DeleteCheckFrequency());
    EXPECT_FALSE(Stored(L"CheckFrequency"));
    EXPECT_FALSE(DeleteCheckFrequency());
}

TEST_F(UpdateState, DeletesNeverCreateTheKey) {
    EXPECT_FALSE(DeleteUpdateAttempts());
    EXPECT_FALSE(DeleteLastUpdateCheck());
    EXPECT_FALSE(DeleteCheckFrequency());
    EXPECT_FALSE(key_.KeyExists());
}

}  // namespace
