#include "update/os_generation.h"

#include <gtest/gtest.h>

namespace {

struct VersionCase {
    uint32_t platformId;
    uint32_t major;
    uint32_t minor;
    int32_t generation;
};

class OsGenerationCases : public ::testing::TestWithParam<VersionCase> {};

TEST_P(OsGenerationCases, Classifies) {
    const VersionCase& c = GetParam();
    EXPECT_EQ(ClassifyOsGeneration(c.platformId, c.major, c.minor), c.generation)
        << "platform " << c.platformId << ", " << c.major << "." << c.minor;
}

// Platform 2 is NT, 1 the Windows 9x family, 0 Win32s.
INSTANTIATE_TEST_SUITE_P(Versions, OsGenerationCases,
                         ::testing::Values(VersionCase{2, 5, 1, 1},   // XP
                                           VersionCase{2, 5, 2, 1},   // Server 2003
                                           VersionCase{2, 4, 0, 1},   // NT 4
                                           VersionCase{2, 6, 0, 2},   // Vista
                                           VersionCase{2, 6, 1, 2},   // 7
                                           VersionCase{2, 6, 2, 3},   // 8, and 10 unmanifested
                                           VersionCase{2, 6, 3, 3},   // 8.1
                                           VersionCase{2, 10, 0, 3},  // 10 and 11
                                           VersionCase{2, 7, 0, 3},
                                           VersionCase{1, 6, 2, 1},   // 9x family
                                           VersionCase{1, 4, 90, 1},  // Me
                                           VersionCase{0, 10, 0, 1}, VersionCase{3, 10, 0, 1}));

}  // namespace
