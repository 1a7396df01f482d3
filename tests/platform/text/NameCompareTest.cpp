// Tests of comparing names without regard to case.
#include "platform/text/NameCompare.h"

#include <gtest/gtest.h>

using namespace plat;

TEST(NameCompare, LettersMatchWithoutRegardToCase)
{
    EXPECT_TRUE(EqualNoCase("Cell Template", "CELL TEMPLATE"));
    EXPECT_TRUE(EqualNoCase("ＰｏｉＮＴ", "ｐＯＩｎｔ")) << "full-width Latin letters fold too";
    EXPECT_TRUE(EqualNoCase("Ärger", "äRGER"));
    EXPECT_TRUE(EqualNoCase("ΩΣ区間", "ωσ区間")) << "Greek letters, which CP932 holds";
    EXPECT_TRUE(EqualNoCase("ЁЖИК", "ёжик")) << "Cyrillic letters, which CP932 holds";
    EXPECT_TRUE(EqualNoCase("標準", "標準"));
    EXPECT_FALSE(EqualNoCase("A", "Ａ")) << "an ASCII letter is not its full-width form";
    EXPECT_FALSE(EqualNoCase("ｱ", "ア")) << "half-width and full-width katakana are different names";
    EXPECT_FALSE(EqualNoCase("point", "points"));
    EXPECT_FALSE(EqualNoCase("[", "{")) << "only letters fold: '[' is not an upper-case '{'";
}

TEST(NameCompare, OrderAndFoldedKeyAgreeWithEquality)
{
    EXPECT_LT(CompareNoCase("apple", "Banana"), 0);
    EXPECT_GT(CompareNoCase("BANANA", "apple"), 0);
    EXPECT_LT(CompareNoCase("abc", "ABCD"), 0) << "a prefix sorts first";
    EXPECT_EQ(CompareNoCase("ＡＢＣ", "ａｂｃ"), 0);
    EXPECT_GT(CompareNoCase("a\xFF", "a標"), 0) << "a malformed byte sorts after every character";
    EXPECT_NE(CompareNoCase("a\xFE", "a\xFF"), 0) << "different malformed bytes are different names";

    const char* names[] = {"Point", "POINT", "ｐｏｉｎｔ", "ＰＯＩＮＴ", "Punkt", "a\xFF"};
    for (const char* a : names) {
        for (const char* b : names)
            EXPECT_EQ(FoldCase(a) == FoldCase(b), EqualNoCase(a, b)) << a << " / " << b;
    }
    EXPECT_EQ(FoldCase("ＡbＣ"), "ａbｃ");
}
