// The character-cell canvas keeps wide characters whole: never half drawn at a clip edge,
// never half overwritten.
#include "platform/ui/Canvas.h"

#include "platform/io/Errors.h"

#include <gtest/gtest.h>

using namespace plat;

TEST(CanvasTest, AWideCharacterIsNeverSplitByTheClipOrByAnOverwrite)
{
    Canvas canvas(10, 2);
    canvas.Clear(0, 0xFFFFFF);
    canvas.SetClip(RECT{0, 0, 5, 1});
    EXPECT_EQ(canvas.Write(0, 0, "AB漢字", 1, 2), 6) << "the width is reported even where the clip cuts";
    EXPECT_EQ(canvas.LineText(0), "AB漢") << "字 would straddle the clip edge at column 5";
    EXPECT_EQ(canvas.At(4, 0).ch, U' ');
    EXPECT_EQ(canvas.At(4, 0).bg, 2u) << "its visible half is a blank of the text's colours";
    EXPECT_EQ(canvas.At(5, 0).bg, 0xFFFFFFu) << "nothing is drawn past the clip";

    canvas.SetClip(RECT{1, 0, 10, 1});
    canvas.Write(0, 0, "漢x", 3, 4);
    EXPECT_EQ(canvas.LineText(0), "A x") << "a wide character cut on the left edge is not half shown, and "
                                            "the x over the left half of 漢 took all of it";

    canvas.ResetClip();
    canvas.Write(0, 1, "座標", 0, 0);
    canvas.Put(1, 1, U'z', 0, 0);
    EXPECT_EQ(canvas.LineText(1), " z標") << "overwriting the right half blanks the left";
    canvas.Put(2, 1, U'y', 0, 0);
    EXPECT_EQ(canvas.LineText(1), " zy") << "overwriting the left half blanks the right";
    EXPECT_FALSE(canvas.At(3, 1).IsWideTail());
    EXPECT_EQ(canvas.ToText(), "A x\n zy\n");
    EXPECT_THROW((void)canvas.At(10, 0), InvalidArgument);
}

TEST(CanvasTest, ControlCharactersAndCombiningMarksDoNotMoveTheColumns)
{
    Canvas canvas(8, 1);
    EXPECT_EQ(canvas.Write(0, 0, "a\tb\x80", 0, 0), 4) << "each control or broken byte takes one cell";
    EXPECT_EQ(canvas.LineText(0), "a?b?");
    EXPECT_EQ(canvas.Write(0, 0, "e\xCC\x81", 0, 0), 1) << "a combining mark adds no column";
}
