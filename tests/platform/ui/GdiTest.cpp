// Device contexts under the cell-font model, the font record, and pattern brushes built the
// way the grid builds its hatching: pixels set in a memory DC's bitmap.
#include "platform/ui/Gdi.h"
#include "platform/ui/Wnd.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace plat;

TEST(GdiTest, TextIsMeasuredInCellsWhateverTheFont)
{
    DC dc;
    Font big;
    big.CreatePointFont(240, "Big");
    dc.SelectObject(&big);
    EXPECT_EQ(dc.GetTextExtent("ab1"), (SIZE{24, 16}));
    EXPECT_EQ(dc.GetTextExtent("座標"), (SIZE{32, 16})) << "full-width characters take two cells";
    EXPECT_EQ(dc.GetTextExtent("ｻﾞﾋｮｳ"), (SIZE{40, 16})) << "half-width katakana take one";
    TEXTMETRIC metrics;
    ASSERT_TRUE(dc.GetTextMetrics(&metrics));
    EXPECT_EQ(metrics.tmHeight, 16);
    EXPECT_EQ(metrics.tmAveCharWidth, 8);
    EXPECT_EQ(metrics.tmAscent + metrics.tmDescent, metrics.tmHeight);
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSY), 96);
}

TEST(GdiTest, FontsKeepTheSixtyByteRecordAndPointSizesRoundAsThePlatformDoes)
{
    Font font;
    ASSERT_TRUE(font.CreatePointFont(90, "ＭＳ Ｐゴシック"));
    LOGFONTA record;
    EXPECT_EQ(font.GetLogFont(&record), 60);
    EXPECT_EQ(record.lfHeight, -12);
    EXPECT_STREQ(record.lfFaceName, "ＭＳ Ｐゴシック");
    font.CreatePointFont(100, "x");
    font.GetLogFont(&record);
    EXPECT_EQ(record.lfHeight, -13) << "10 points at 96 dpi is 13.33 px, rounded";

    LOGFONTA stock;
    ASSERT_NE(GetStockFont(DEFAULT_GUI_FONT), nullptr);
    EXPECT_EQ(GetStockFont(DEFAULT_GUI_FONT)->GetLogFont(&stock), 60);
    EXPECT_LT(stock.lfHeight, 0);
    EXPECT_EQ(GetStockFont(0), nullptr);

    font.CreatePointFont(90, std::string(79, 'F'));
    font.GetLogFont(&record);
    EXPECT_EQ(std::strlen(record.lfFaceName), 31u) << "a face name is cut to fit its 32 bytes";
}

TEST(GdiTest, APatternBrushRepeatsTheEightByEightPixelsOfItsBitmap)
{
    DC screen;
    DC memory;
    memory.CreateCompatibleDC(&screen);
    Bitmap bitmap;
    ASSERT_TRUE(bitmap.CreateBitmap(8, 8));
    Bitmap* old = memory.SelectObject(&bitmap);
    for (int x = 0; x < 8; ++x)
        for (int y = 0; y < 8; ++y)
            memory.SetPixel(x, y, (x + y) % 2 ? RGB(255, 255, 128) : RGB(210, 210, 210));
    memory.SelectObject(old);
    Brush brush;
    ASSERT_TRUE(brush.CreatePatternBrush(bitmap));
    EXPECT_EQ(brush.ColorAt(1, 0), RGB(255, 255, 128));
    EXPECT_EQ(brush.ColorAt(0, 0), RGB(210, 210, 210));
    EXPECT_EQ(brush.ColorAt(9, 8), RGB(255, 255, 128)) << "the pattern repeats every 8 pixels";
    EXPECT_EQ(brush.ColorAt(-1, 0), RGB(255, 255, 128));

    Bitmap small;
    small.CreateBitmap(4, 4);
    EXPECT_FALSE(Brush().CreatePatternBrush(small));

    const unsigned char rows[8 * 2] = {0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    Bitmap mono;
    mono.CreateMonochrome(8, 8, rows);
    EXPECT_EQ(mono.GetPixel(0, 0), RGB(255, 255, 255));
    EXPECT_EQ(mono.GetPixel(1, 0), RGB(0, 0, 0));
}

TEST(GdiTest, AWindowsDcHandsItsDrawingToTheWindow)
{
    Wnd wnd;
    wnd.Create("T", "", WS_VISIBLE, RECT{0, 0, 80, 32}, nullptr, 0);
    {
        ClientDC dc(&wnd);
        dc.SetTextColor(RGB(255, 0, 0));
        dc.TextOut(8, 0, "警告");
        Brush lock(RGB(255, 255, 128));
        dc.FillRect(RECT{0, 16, 80, 32}, &lock);
    }
    ASSERT_EQ(wnd.GetDrawing().size(), 2u);
    EXPECT_EQ(wnd.GetDrawing()[0].text, "警告");
    EXPECT_EQ(wnd.GetDrawing()[0].rect, (RECT{8, 0, 40, 16}));
    EXPECT_EQ(wnd.GetDrawing()[0].textColor, RGB(255, 0, 0));
    EXPECT_EQ(wnd.GetDrawing()[1].brush.ColorAt(0, 0), RGB(255, 255, 128));
    wnd.Invalidate();
    {
        PaintDC paint(&wnd);
        paint.TextOut(0, 0, "再");
    }
    EXPECT_TRUE(wnd.GetInvalidations().empty()) << "painting validates";
    ASSERT_EQ(wnd.GetDrawing().size(), 1u) << "a paint replaces what was drawn before";
}
