#include "sasm/string.h"

#include <gtest/gtest.h>

namespace {

TEST(String, NullAndEmptyAreTheEmptyString) {
    SASM::String fromNull(static_cast<const char*>(nullptr));
    EXPECT_TRUE(fromNull.IsEmpty());
    EXPECT_EQ(fromNull, "");
    EXPECT_EQ(fromNull, static_cast<const char*>(nullptr));
}

TEST(String, CopiesOwnTheirBytesAndCompareCaseSensitively) {
    SASM::String original("Key");
    SASM::String copy(original);
    copy.Append("=1");
    EXPECT_EQ(original, "Key");
    EXPECT_EQ(copy, "Key=1");
    EXPECT_NE(original, "key");
    EXPECT_NE(original, "Ke");
}

TEST(String, AppendsItselfAndKeepsEmbeddedBytesUpToTheLength) {
    SASM::String s("ab");
    s.Append(s);
    EXPECT_EQ(s, "abab");
    EXPECT_EQ(s.Length(), 4u);
    SASM::String moved(std::move(s));
    EXPECT_EQ(moved, "abab");
    EXPECT_EQ(s, "");  // a moved-from string reads as empty
}

}  // namespace
