#include "discovery/update_host_client.h"

#include <gtest/gtest.h>

#include <string>

#include "update/update_settings.h"

namespace {

TEST(RequestProfile, TheManifestIsAnHttpsGetFromThePrimaryHostReadTolerantly) {
    RequestProfile profile = ManifestProfile();
    EXPECT_STREQ(profile.userAgent, L"Get Vorlix Player version xml/1.0");
    EXPECT_EQ(profile.host, &PrimaryUpdateHost);
    EXPECT_EQ(profile.port, 443);
    EXPECT_EQ(profile.requestFlags, static_cast<DWORD>(WINHTTP_FLAG_SECURE));
    EXPECT_STREQ(profile.path, L"/pub/vorlixplayer/update/current/sau/11/beta/xml/version.xml");
    EXPECT_EQ(profile.policy, FailurePolicy::kTolerant);
}

TEST(RequestProfile, APackageIsAPlainHttpGetFromTheSecondaryHostReadStrictly) {
    const wchar_t path[] = L"/pub/vorlixplayer/update/current/sau/11/beta/install/x.z";
    RequestProfile profile = PackageProfile(path);
    EXPECT_STREQ(profile.userAgent, L"Download Vorlix Player Installer/1.0");
    EXPECT_EQ(profile.host, &SecondaryUpdateHost);
    EXPECT_EQ(profile.port, 80);
    EXPECT_EQ(profile.requestFlags, 0u);
    EXPECT_EQ(profile.path, path);
    EXPECT_EQ(profile.policy, FailurePolicy::kStrict);
}

TEST(UpdateHosts, DefaultToTwoPlainHostNames) {
    EXPECT_EQ(PrimaryUpdateHost, L"update.vorlixplayer.example");
    EXPECT_EQ(SecondaryUpdateHost, L"download.vorlixplayer.example");
}

// A chunk as the read loop hands it over: the bytes read, then zeros to n + 1.
std::string Chunk(const std::string& bytes, size_t available) {
    std::string chunk = bytes;
    chunk.resize(available + 1, '\0');
    return chunk;
}

TEST(MemorySink, AppendsEachChunkUpToItsFirstZeroByteAndKeepsTheFollowingChunks) {
    std::string body;
    MemorySink sink(&body);
    DWORD error = 0;
    const std::string chunks[] = {
        Chunk("<versions>", 10),
        Chunk(std::string("<a/>\0dropped", 12), 12),
        Chunk("", 0),  // the zero-byte read at the end
        Chunk("</versions>", 11),
    };
    for (const std::string& chunk : chunks) {
        ASSERT_TRUE(sink.Accept(chunk.data(), static_cast<DWORD>(chunk.size() - 1), &error));
    }
    EXPECT_EQ(body, "<versions><a/></versions>");
}

TEST(MemorySink, AShortReadStopsAtTheBytesRead) {
    std::string body;
    MemorySink sink(&body);
    DWORD error = 0;
    std::string chunk = Chunk("abc", 8);  // 3 of the 8 announced bytes arrived
    ASSERT_TRUE(sink.Accept(chunk.data(), 3, &error));
    EXPECT_EQ(body, "abc");
}

}  // namespace
