// Colours chosen for terminals of each depth.
#include "frontends/tty/ColorMap.h"

#include <gtest/gtest.h>

using namespace tty;
using plat::RGB;

TEST(ColorMapTest, DepthFollowsTheColourCountAndDirectColourKeepsTheColour)
{
    EXPECT_EQ(DepthForColorCount(8), ColorDepth::Colors8);
    EXPECT_EQ(DepthForColorCount(16), ColorDepth::Colors16);
    EXPECT_EQ(DepthForColorCount(256), ColorDepth::Colors256);
    EXPECT_EQ(DepthForColorCount(0x1000000), ColorDepth::Direct);
    EXPECT_EQ(TerminalColor(RGB(0x12, 0x34, 0x56), ColorDepth::Direct), 0x123456) << "COLORREF is BGR, the terminal RGB";
}

TEST(ColorMapTest, TheNearestOf256ComesFromTheCubeOrTheGreyRamp)
{
    EXPECT_EQ(Nearest256(RGB(255, 0, 0)), 196);
    EXPECT_EQ(Nearest256(RGB(0, 0, 128)), 18) << "the caption's navy stays blue";
    EXPECT_EQ(Nearest256(RGB(255, 255, 255)), 231);
    EXPECT_EQ(Nearest256(RGB(0, 0, 0)), 16);
    EXPECT_EQ(Nearest256(RGB(192, 192, 192)), 250) << "button face falls on the grey ramp";
    EXPECT_EQ(Nearest256(RGB(210, 210, 210)), 252) << "the hatching's light grey";
    EXPECT_EQ(Nearest256(RGB(255, 255, 128)), 228) << "the lock hatching's pale yellow";
}

TEST(ColorMapTest, BasicPalettesPickTheClosestOfTheirColours)
{
    EXPECT_EQ(NearestBasic(RGB(0, 0, 128), 8), 4) << "navy is blue";
    EXPECT_EQ(NearestBasic(RGB(250, 10, 10), 16), 9) << "bright red";
    EXPECT_EQ(NearestBasic(RGB(250, 10, 10), 8), 1) << "red, with no bright colours";
    EXPECT_EQ(NearestBasic(RGB(192, 192, 192), 16), 7);
    EXPECT_EQ(TerminalColor(RGB(255, 255, 255), ColorDepth::Colors16), 15);
    EXPECT_EQ(TerminalColor(RGB(255, 255, 255), ColorDepth::Colors8), 7);
}
