// The Windows side of the manifest parse: a failed parse leaves its code and then 1409 in the
// log, at warning level; a good one logs nothing.
#include "discovery/fetch_version_manifest.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "log/log.h"
#include "test_folder.h"

namespace {

std::string Narrow(const std::string& utf16) {
    std::string text;
    for (size_t i = 0; i + 1 < utf16.size(); i += 2) text.push_back(utf16[i]);
    return text;
}

const char kComplete[] =
    "<version><ActiveX major=\"11\" minor=\"3\" buildMajor=\"300\" buildMinor=\"265\"/>"
    "<Plugin major=\"11\" minor=\"4\" buildMajor=\"301\" buildMinor=\"266\"/>"
    "<SAUConfig checkFrequency=\"2\"/></version>";

class ManifestBody : public ::testing::Test {
protected:
    void SetUp() override {
        CreateDirectoryW(folder_.Join(L"Tolvan").c_str(), nullptr);
        CreateDirectoryW(folder_.Join(L"Tolvan\\Vorlix").c_str(), nullptr);
        VerboseLogging = true;
    }
    void TearDown() override { VerboseLogging = false; }

    // The log's lines without their time stamps ("[level] code"), one per line.
    std::string Logged() const {
        std::string text = Narrow(ReadFileBytes(logPath_));
        std::string lines;
        for (size_t start = 0; start < text.size();) {
            size_t end = text.find("\r\n", start);
            if (end == std::string::npos) end = text.size();
            std::string line = text.substr(start, end - start);
            lines += line.substr(line.find(' ') + 1) + "\n";
            start = end + 2;
        }
        return lines;
    }

    TestFolder folder_;
    CurrentDirectory inFolder_{folder_.Path()};
    std::wstring logPath_ = folder_.Join(L"Tolvan\\Vorlix\\VorlixInstall.log");
};

TEST_F(ManifestBody, AGoodBodyGivesTheManifestAndLogsNothing) {
    std::string body = kComplete;
    VersionManifest manifest;
    ASSERT_TRUE(ParseManifestBody(&body, &manifest));
    EXPECT_EQ(manifest.activeX.buildMinor, 265u);
    EXPECT_EQ(manifest.plugin.minor, 4u);
    EXPECT_EQ(manifest.checkFrequency, 2u);
    EXPECT_FALSE(PathExists(logPath_));
}

TEST_F(ManifestBody, EachFailureLogsItsCodeThen1409) {
    const struct {
        std::string body;
        const char* logged;
    } rows[] = {
        {"", "[warning] 1411\n[warning] 1409\n"},
        {"<html><body><hr></body></html>", "[warning] 1431\n[warning] 1409\n"},
        {"<version/>", "[warning] 1437\n[warning] 1409\n"},
        {"<version><ActiveX major=\"1\" minor=\"1\" buildMajor=\"1\"/><Plugin/><SAUConfig/>"
         "</version>",
         "[warning] 1434\n[warning] 1409\n"},
        // A zero byte inside the body ends the text the parser sees.
        {std::string(kComplete, 40) + std::string(1, '\0') + (kComplete + 41),
         "[warning] 1431\n[warning] 1409\n"},
    };
    for (const auto& row : rows) {
        DeleteFileW(logPath_.c_str());
        std::string body = row.body;
        VersionManifest manifest;
        manifest.checkFrequency = 77;
        EXPECT_FALSE(ParseManifestBody(&body, &manifest)) << row.logged;
        EXPECT_EQ(manifest.checkFrequency, 77u);
        EXPECT_EQ(Logged(), row.logged);
    }
}

TEST_F(ManifestBody, WarningsNeedVerboseLogging) {
    VerboseLogging = false;
    std::string body = "<version/>";
    VersionManifest manifest;
    EXPECT_FALSE(ParseManifestBody(&body, &manifest));
    EXPECT_FALSE(PathExists(logPath_));
}

}  // namespace
