#include "sasm/listing_order.h"

#include <gtest/gtest.h>

#include "sasm/string_vector.h"

namespace {

std::vector<std::string> Sorted(std::initializer_list<const char*> names) {
    SASM::StringVector vector;
    for (const char* name : names) {
        SASM::String item(name);
        vector.Append(&item);
    }
    vector.Sort(SASM::ComesBeforeInListing);
    std::vector<std::string> result;
    for (uint32_t i = 0; i < vector.Count(); ++i) result.push_back(vector.At(i).CStr());
    return result;
}

TEST(ListingOrder, PutsNamesWithANonDigitFirstThenNumbersByValue) {
    EXPECT_EQ(Sorted({"b", "A", "10", "9", "a1"}),
              (std::vector<std::string>{"A", "a1", "b", "9", "10"}));
}

TEST(ListingOrder, ComparesTextByUnsignedBytesAndNumbersByValue) {
    EXPECT_EQ(SASM::CompareListingNames("7", "007"), 0);
    EXPECT_LT(SASM::CompareListingNames("ab", "abc"), 0);      // a prefix comes first
    EXPECT_LT(SASM::CompareListingNames("Z", "a"), 0);         // case-sensitive byte order
    EXPECT_LT(SASM::CompareListingNames("z", "\xc3\xa4"), 0);  // bytes compare unsigned
    EXPECT_LT(SASM::CompareListingNames("x", ""), 0);          // the empty name counts as digits
    EXPECT_LT(SASM::CompareListingNames("2147483646", "99999999999"), 0);
}

TEST(StringVector, GrowsPastItsFirstTenSlotsAndOwnsCopies) {
    SASM::StringVector vector;
    char name[] = "n0";
    for (int i = 0; i < 25; ++i) {
        name[1] = static_cast<char>('A' + i);
        SASM::String item(name);
        EXPECT_TRUE(vector.Append(&item));
    }
    ASSERT_EQ(vector.Count(), 25u);
    EXPECT_EQ(vector.At(0), "nA");
    EXPECT_EQ(vector.At(24), "nY");
}

}  // namespace
