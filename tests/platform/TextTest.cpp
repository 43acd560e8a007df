// Text helpers: trimming, and comparing without regard to ASCII case in a consistent order.
#include "platform/Text.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace platform;

TEST(Text, TrimAndEqualNoCase) {
    EXPECT_EQ(Trim(" \t\r\n a b \r\n"), "a b");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_TRUE(EqualNoCase("Qel32.INI", "qel32.ini"));
    EXPECT_FALSE(EqualNoCase("abc", "abcd"));
    EXPECT_FALSE(EqualNoCase("a", "b"));
    EXPECT_FALSE(EqualNoCase("@", "`")); // differ by the case bit but are not letters
    EXPECT_FALSE(EqualNoCase("[", "{"));
}

TEST(Text, CompareNoCaseOrder) {
    EXPECT_EQ(CompareNoCase("abc", "ABC"), 0);
    EXPECT_EQ(CompareNoCase("", ""), 0);
    EXPECT_LT(CompareNoCase("ab", "abc"), 0);
    EXPECT_LT(CompareNoCase("", "a"), 0);
    for (const char* sep : {"/", "\\", "_", ".", " ", "-", "~", "["}) {
        EXPECT_LT(CompareNoCase(sep, "0"), 0) << sep;
        EXPECT_GT(CompareNoCase("0", sep), 0) << sep;
    }
    EXPECT_LT(CompareNoCase("9", "a"), 0);
    EXPECT_LT(CompareNoCase("a", "B"), 0);
    EXPECT_LT(CompareNoCase("C:\\DATA\\X.DTA", "C:\\DATA2\\Y.DTA"), 0);
    EXPECT_LT(CompareNoCase("/d/data/x", "/d/data2/y"), 0);
    EXPECT_TRUE(LessNoCase("x_1", "X1"));
}

TEST(Text, CompareNoCaseSortsConsistently) {
    std::vector<std::string> v = {"b", "A",   "a_b", "A1", "a",   "_", "10",   "1",  "ab",
                                  "B", "a.b", "Z",   "~",  "a/b", "2", "\xe9", "aB", ""};
    std::sort(v.begin(), v.end(), LessNoCase);
    for (size_t i = 0; i + 1 < v.size(); ++i) {
        EXPECT_LE(CompareNoCase(v[i], v[i + 1]), 0) << v[i] << " / " << v[i + 1];
        for (size_t j = 0; j < v.size(); ++j) {
            int ab = CompareNoCase(v[i], v[j]), ba = CompareNoCase(v[j], v[i]);
            EXPECT_EQ(ab<0, ba> 0) << v[i] << " / " << v[j];
            EXPECT_EQ(ab == 0, EqualNoCase(v[i], v[j])) << v[i] << " / " << v[j];
        }
    }
    EXPECT_EQ(v.front(), "");
}
