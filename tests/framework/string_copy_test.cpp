// CopyStringBounded: the bounded, always-terminated copy behind every fixed-size text.
#include <gtest/gtest.h>

#include <cstring>

#include "framework/application_framework.h"

namespace {

TEST(CopyStringBounded, CopiesATextThatFits) {
    char target[8];
    std::memset(target, 'x', sizeof(target));
    EXPECT_EQ(CopyStringBounded(target, "abc", sizeof(target)), S_OK);
    EXPECT_STREQ(target, "abc");
}

TEST(CopyStringBounded, CutsALongTextAndAlwaysTerminates) {
    char target[8];
    std::memset(target, 'x', sizeof(target));
    EXPECT_EQ(CopyStringBounded(target, "abcdefghijkl", 5), S_OK);
    EXPECT_STREQ(target, "abcd");
    EXPECT_EQ(target[5], 'x') << "nothing is written past the given size";

    EXPECT_EQ(CopyStringBounded(target, "abc", 1), S_OK);
    EXPECT_STREQ(target, "");
}

TEST(CopyStringBounded, RefusesNullPointersAndEmptyTargets) {
    char target[4] = "old";
    EXPECT_EQ(CopyStringBounded(nullptr, "abc", 4), E_INVALIDARG);
    EXPECT_EQ(CopyStringBounded(target, nullptr, 4), E_INVALIDARG);
    EXPECT_EQ(CopyStringBounded(target, "abc", 0), E_INVALIDARG);
    EXPECT_EQ(CopyStringBounded(target, "abc", -3), E_INVALIDARG);
    EXPECT_STREQ(target, "old");
}

}  // namespace
