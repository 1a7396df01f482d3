// Tests of the width of text on a character-cell screen.
#include "platform/text/DisplayWidth.h"

#include <gtest/gtest.h>

using namespace plat;

TEST(DisplayWidth, ColumnsByEastAsianWidth)
{
    EXPECT_EQ(DisplayWidth(""), 0);
    EXPECT_EQ(DisplayWidth("X=123.456"), 9);
    EXPECT_EQ(DisplayWidth("標準"), 4) << "kanji are wide";
    EXPECT_EQ(DisplayWidth("ひらがなカタカナ"), 16);
    EXPECT_EQ(DisplayWidth("ｺｳｻﾞ"), 4) << "half-width katakana, voiced mark included, take one column each";
    EXPECT_EQ(DisplayWidth("ＡＢ１　"), 8) << "full-width Latin, digits and the ideographic space are wide";
    EXPECT_EQ(DisplayWidth("地番12-3"), 8);
    EXPECT_EQ(DisplayWidth("e\xCC\x81"), 1) << "a combining accent takes no column";
    EXPECT_EQ(DisplayWidth("a\tb"), 2) << "control characters take no column";
    EXPECT_EQ(DisplayWidth("a\xFF" "b"), 3) << "a malformed byte shows as one column";
    EXPECT_EQ(DisplayWidth("\xF0\xA0\x80\x8B"), 2) << "supplementary-plane ideographs are wide";
}

TEST(DisplayWidth, FitToWidthLeavesOutAWideCharacterThatWouldStraddle)
{
    const std::string text = "a標準ｱ"; // columns 1 + 2 + 2 + 1, bytes 1 + 3 + 3 + 3
    const std::size_t expected[] = {0, 1, 1, 4, 4, 7, 10, 10};
    for (int columns = 0; columns < static_cast<int>(std::size(expected)); ++columns)
        EXPECT_EQ(FitToWidth(text, columns), expected[columns]) << columns << " columns";
    EXPECT_EQ(FitToWidth("abc", -1), 0u);
    EXPECT_EQ(FitToWidth("e\xCC\x81x", 1), 3u) << "a combining mark stays with its letter";
}
