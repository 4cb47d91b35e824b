#include <gtest/gtest.h>

#include <cstring>

#include "engine/core/String.h"

namespace zel {
namespace {

TEST(String, EqualityComparesLengthThenBytes) {
    EXPECT_EQ(String(), String(""));
    EXPECT_EQ(String("abc"), String("abcdef", 3));
    EXPECT_NE(String("abc"), String("abd"));
    // An embedded zero is part of the string when a length is given.
    EXPECT_NE(String("ab\0c", 4), String("ab"));
    EXPECT_EQ(String("ab\0c", 4).Length(), 4);
    EXPECT_EQ(String(nullptr).Length(), 0);
}

TEST(String, AssignmentKeepsTerminatorAndSurvivesSelfAndOverlap) {
    String text("hello");
    text = text;
    EXPECT_STREQ(text.CStr(), "hello");
    text.Assign(text.CStr() + 1, 3);  // same block, shorter: overlapping source
    EXPECT_STREQ(text.CStr(), "ell");
    text.Assign(text.CStr(), 3);      // equal length reuses the block
    EXPECT_STREQ(text.CStr(), "ell");
    String moved(std::move(text));
    EXPECT_STREQ(moved.CStr(), "ell");
    EXPECT_EQ(text.Length(), 0);
    EXPECT_STREQ(text.CStr(), "");
}

}  // namespace
}  // namespace zel
