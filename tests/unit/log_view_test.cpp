// The log viewer's reading of log lines: splitting the file's bytes, reading a line back into its
// fields, explaining the appended value and the readable form.
#include "tools/logview/log_view.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tools/logview/error_names.h"

namespace {

std::string Utf16Le(const std::u16string& text) {
    std::string bytes;
    for (char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

std::vector<std::string> SplitInPieces(const std::string& bytes, size_t pieceSize) {
    LogLineSplitter splitter;
    std::vector<std::string> lines;
    std::string line;
    for (size_t at = 0; at < bytes.size(); at += pieceSize) {
        splitter.Append(bytes.data() + at, std::min(pieceSize, bytes.size() - at));
        while (splitter.NextLine(&line)) lines.push_back(line);
    }
    if (splitter.TakeRest(&line)) lines.push_back("rest: " + line);
    return lines;
}

TEST(LogLineSplitter, GivesTheSameLinesWhereverTheReadsEnd) {
    // A lone CR or LF belongs to its line; a surrogate pair becomes one UTF-8 character.
    const std::string bytes = Utf16Le(u"one\r\ntwo\rx\ny\r\n\xD83D\xDE00\r\n\r\nlast");
    const std::vector<std::string> expected = {"one", "two\rx\ny", "\xF0\x9F\x98\x80", "",
                                               "rest: last"};
    for (size_t pieceSize : {bytes.size(), size_t{1}, size_t{2}, size_t{3}, size_t{7}})
        EXPECT_EQ(SplitInPieces(bytes, pieceSize), expected) << "pieces of " << pieceSize;
}

TEST(LogLineSplitter, ShowsATornLastCodeUnitAndAnUnpairedSurrogateAsReplacements) {
    EXPECT_EQ(SplitInPieces(Utf16Le(u"a\xD800") + "b", 4),
              (std::vector<std::string>{"rest: a\xEF\xBF\xBD\xEF\xBF\xBD"}));
}

struct LineCase {
    const char* line;
    bool readable;
    LogTime time;
    int32_t level;
    const char* message;
};

TEST(ParseLogLine, ReadsTheWritersFormOnly) {
    const LineCase cases[] = {
        {"2012-3-5+7-4-9.8 [error] 1234 5", true, {2012, 3, 5, 7, 4, 9, 8}, kError, "1234 5"},
        {"2026-12-31+23-59-58.999 [warning] 1409",
         true,
         {2026, 12, 31, 23, 59, 58, 999},
         kWarning,
         "1409"},
        {"2013-1-1+0-0-0.0 [info] C:\\x y\\z.exe",
         true,
         {2013, 1, 1, 0, 0, 0, 0},
         kInfo,
         "C:\\x y\\z.exe"},
        {"2020-2-3+4-5-6.70 [] x", true, {2020, 2, 3, 4, 5, 6, 70}, -1, "x"},
        {"2020-2-3+4-5-6.70 [info] ", true, {2020, 2, 3, 4, 5, 6, 70}, kInfo, ""},
        {"2020-2-3+4-5-6.70 [fatal] x", false, {}, 0, ""},
        {"2020-2-3+4-5-6.70 [info]x", false, {}, 0, ""},
        {"2020-2-3 4-5-6.70 [info] x", false, {}, 0, ""},
        {"2020-2-3+4-5-6 [info] x", false, {}, 0, ""},
        {"65536-2-3+4-5-6.7 [info] x", false, {}, 0, ""},
        {"", false, {}, 0, ""},
    };
    for (const LineCase& c : cases) {
        LogEntry entry;
        ASSERT_EQ(ParseLogLine(c.line, &entry), c.readable) << c.line;
        if (!c.readable) continue;
        EXPECT_EQ(std::memcmp(&entry.time, &c.time, sizeof c.time), 0) << c.line;
        EXPECT_EQ(entry.level, c.level) << c.line;
        EXPECT_EQ(entry.message, c.message) << c.line;
    }
}

TEST(IsoTime, FillsEveryField) {
    EXPECT_EQ(IsoTime({2012, 3, 5, 7, 4, 9, 8}), "2012-03-05T07:04:09.008Z");
    EXPECT_EQ(IsoTime({2026, 12, 31, 23, 59, 58, 999}), "2026-12-31T23:59:58.999Z");
}

struct ValueCase {
    int32_t code;
    const char* value;
    const char* explained;
};

TEST(ExplainValue, NamesKnownErrorsAndLeavesTheRest) {
    const ValueCase cases[] = {
        {kPackageFileCreateFailed.number, "5", "5 (ERROR_ACCESS_DENIED)"},
        {kPackageFileCreateFailed.number, "2", "2 (ERROR_FILE_NOT_FOUND)"},
        {kManifestSendFailed.number, "12029", "12029 (ERROR_WINHTTP_CANNOT_CONNECT)"},
        {kManifestSendFailed.number, "12157", "12157 (ERROR_WINHTTP_SECURE_CHANNEL_ERROR)"},
        {kManifestSendFailed.number, "12175", "12175 (ERROR_WINHTTP_SECURE_FAILURE)"},
        {kDispatcherConnectFailed.number, "1063", "1063 (ERROR_FAILED_SERVICE_CONTROLLER_CONNECT)"},
        {kStartRefused.number, "1056", "1056 (ERROR_SERVICE_ALREADY_RUNNING)"},
        {kStartServiceOpenFailed.number, "1060", "1060 (ERROR_SERVICE_DOES_NOT_EXIST)"},
        {kStopRefused.number, "1062", "1062 (ERROR_SERVICE_NOT_ACTIVE)"},
        {kRemoveRefused.number, "1072", "1072 (ERROR_SERVICE_MARKED_FOR_DELETE)"},
        {kCreateServiceFailed.number, "1073", "1073 (ERROR_SERVICE_EXISTS)"},
        // HRESULTs are written as negative numbers and shown as their 32-bit pattern.
        {kV2TriggerIdFailed.number, "-2147467263", "0x80004001 (E_NOTIMPL)"},
        {kV2ConnectFailed.number, "-2147024891", "0x80070005 (E_ACCESSDENIED)"},
        {kV1ActivateFailed.number, "-2147024894",
         "0x80070002 (HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND))"},
        {kPackageVerificationFailed.number, "-2146885628", "0x80092004 (CRYPT_E_NOT_FOUND)"},
        {kPackageVerificationFailed.number, "-2146762496", "0x800B0100 (TRUST_E_NOSIGNATURE)"},
        {kPackageVerificationFailed.number, "-2146893818", "0x80090006 (NTE_BAD_SIGNATURE)"},
        {kPackageVerificationFailed.number, "-2147483648", "0x80000000"},
        {kPackageVerificationFailed.number, "-1", "0xFFFFFFFF"},
        {kPackageReadFailed.number, "4242", "4242"},
        // The control handler's number is a control code, not an error.
        {kControlReceived.number, "1", "1 (SERVICE_CONTROL_STOP)"},
        {kControlReceived.number, "5", "5 (SERVICE_CONTROL_SHUTDOWN)"},
        {kControlReceived.number, "-2147024894", "0x80070002"},
        // Text stays text, and so does a number FormatNumber cannot have written.
        {kPrimaryHostSet.number, "update.example", "update.example"},
        {kPrimaryHostSet.number, "2147483648", "2147483648"},
        {kPrimaryHostSet.number, "5 x", "5 x"},
        {kPrimaryHostSet.number, "", ""},
    };
    for (const ValueCase& c : cases)
        EXPECT_EQ(ExplainValue(c.code, c.value), c.explained) << c.code << " " << c.value;
}

TEST(ErrorNames, EveryEntryIsFoundUnderItsOwnName) {
    // A value written twice would hide the later name.
#define VORLIX_CHECK_NAME(name, value) EXPECT_STREQ(ErrorName(value), #name);
    VORLIX_ERROR_NAMES(VORLIX_CHECK_NAME)
#undef VORLIX_CHECK_NAME
#define VORLIX_CHECK_NAME(name, value) EXPECT_STREQ(ServiceControlName(value), #name);
    VORLIX_SERVICE_CONTROL_NAMES(VORLIX_CHECK_NAME)
#undef VORLIX_CHECK_NAME
}

struct ViewCase {
    const char* line;
    int32_t minimumLevel;
    const char* shown;
};

TEST(ViewLine, ShowsTheReadableFormAtTheChosenLevels) {
    const ViewCase cases[] = {
        {"2012-3-5+7-4-9.8 [error] 1234 5", kInfo,
         "2012-03-05T07:04:09.008Z error   1234 ActiveX update failed: 5 (ERROR_ACCESS_DENIED)\n"},
        {"2012-3-5+7-4-9.8 [info] 1608", kInfo,
         "2012-03-05T07:04:09.008Z info    1608 update cycle started\n"},
        {"2012-3-5+7-4-9.8 [info] 1629 update.example", kInfo,
         "2012-03-05T07:04:09.008Z info    1629 primary update host set from the policy: "
         "update.example\n"},
        {"2012-3-5+7-4-9.8 [warning] 9999 7", kInfo,
         "2012-03-05T07:04:09.008Z warning 9999 (unknown code): 7\n"},
        {"2012-3-5+7-4-9.8 [info] C:\\p\\u.exe", kInfo,
         "2012-03-05T07:04:09.008Z info    C:\\p\\u.exe\n"},
        {"2012-3-5+7-4-9.8 [] 12345", kInfo, "2012-03-05T07:04:09.008Z ?       12345\n"},
        {"not a log line", kInfo, "not a log line\n"},
        {"2012-3-5+7-4-9.8 [info] 1629 a\x1B[2J\rb\tc", kInfo,
         "2012-03-05T07:04:09.008Z info    1629 primary update host set from the policy: "
         "a\\x1B[2J\\x0Db\\x09c\n"},
        {"x\ny\x7F", kInfo, "x\\x0Ay\\x7F\n"},
        // The filter is a minimum level.
        {"2012-3-5+7-4-9.8 [error] 1234 5", kError,
         "2012-03-05T07:04:09.008Z error   1234 ActiveX update failed: 5 (ERROR_ACCESS_DENIED)\n"},
        {"2012-3-5+7-4-9.8 [warning] 1409", kWarning,
         "2012-03-05T07:04:09.008Z warning 1409 the fetched body is not a usable manifest\n"},
        {"2012-3-5+7-4-9.8 [warning] 1409", kError, ""},
        {"2012-3-5+7-4-9.8 [info] 1608", kWarning, ""},
        {"2012-3-5+7-4-9.8 [] 1608", kWarning, ""},
        {"not a log line", kWarning, ""},
    };
    for (const ViewCase& c : cases)
        EXPECT_EQ(ViewLine(c.line, c.minimumLevel), c.shown) << c.line << " at " << c.minimumLevel;
}

struct ArgumentsCase {
    std::vector<std::string> args;
    bool valid;
    int32_t minimumLevel;
    bool follow;
    const char* path;
};

TEST(ParseLogViewArguments, TakesALevelFollowAndOneFile) {
    const ArgumentsCase cases[] = {
        {{}, true, kInfo, false, ""},
        {{"x.log"}, true, kInfo, false, "x.log"},
        {{"--level=error", "--follow", "x.log"}, true, kError, true, "x.log"},
        {{"--level=warning"}, true, kWarning, false, ""},
        {{"--level=info"}, true, kInfo, false, ""},
        {{"--level=debug"}, false, kInfo, false, ""},
        {{"--level"}, false, kInfo, false, ""},
        {{"-f"}, false, kInfo, false, ""},
        {{"a.log", "b.log"}, false, kInfo, false, ""},
    };
    for (const ArgumentsCase& c : cases) {
        LogViewOptions options;
        std::string error;
        ASSERT_EQ(ParseLogViewArguments(c.args, &options, &error), c.valid)
            << testing::PrintToString(c.args);
        if (!c.valid) {
            EXPECT_FALSE(error.empty());
            continue;
        }
        EXPECT_EQ(options.minimumLevel, c.minimumLevel);
        EXPECT_EQ(options.follow, c.follow);
        EXPECT_EQ(options.path, c.path);
    }
}

}  // namespace
