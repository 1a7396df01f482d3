// Nearest colours by squared distance in RGB, weighted the way the eye weighs the channels
// (green most, blue least), so greys stay grey and dark blues do not turn black.
#include "frontends/tty/ColorMap.h"

#include <array>
#include <cstdlib>

namespace tty {

namespace {

constexpr std::array<int, 6> kCubeLevels{0, 95, 135, 175, 215, 255};

struct Rgb {
    int r;
    int g;
    int b;
};

constexpr std::array<Rgb, 16> kBasic{{{0, 0, 0},       {205, 0, 0},   {0, 205, 0},   {205, 205, 0},
                                      {0, 0, 238},     {205, 0, 205}, {0, 205, 205}, {229, 229, 229},
                                      {127, 127, 127}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                                      {92, 92, 255},   {255, 0, 255}, {0, 255, 255}, {255, 255, 255}}};

Rgb ToRgb(plat::COLORREF color) noexcept { return {plat::GetRValue(color), plat::GetGValue(color), plat::GetBValue(color)}; }

long Distance(Rgb a, Rgb b) noexcept
{
    const long dr = a.r - b.r;
    const long dg = a.g - b.g;
    const long db = a.b - b.b;
    return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

int NearestLevel(int value) noexcept
{
    int best = 0;
    for (int i = 1; i < 6; ++i)
        if (std::abs(kCubeLevels[static_cast<std::size_t>(i)] - value) < std::abs(kCubeLevels[static_cast<std::size_t>(best)] - value))
            best = i;
    return best;
}

} // namespace

ColorDepth DepthForColorCount(int colors) noexcept
{
    if (colors >= 0x1000000)
        return ColorDepth::Direct;
    if (colors >= 256)
        return ColorDepth::Colors256;
    if (colors >= 16)
        return ColorDepth::Colors16;
    return ColorDepth::Colors8;
}

int Nearest256(plat::COLORREF color) noexcept
{
    const Rgb rgb = ToRgb(color);
    const int r = NearestLevel(rgb.r);
    const int g = NearestLevel(rgb.g);
    const int b = NearestLevel(rgb.b);
    const Rgb cube{kCubeLevels[static_cast<std::size_t>(r)], kCubeLevels[static_cast<std::size_t>(g)],
                   kCubeLevels[static_cast<std::size_t>(b)]};
    // The grey ramp runs 8, 18, ..., 238.
    const int average = (rgb.r + rgb.g + rgb.b) / 3;
    const int step = average < 8 ? 0 : average > 238 ? 23 : (average - 8 + 5) / 10;
    const int level = 8 + 10 * step;
    const Rgb grey{level, level, level};
    if (Distance(rgb, grey) < Distance(rgb, cube))
        return 232 + step;
    return 16 + 36 * r + 6 * g + b;
}

int NearestBasic(plat::COLORREF color, int count) noexcept
{
    const Rgb rgb = ToRgb(color);
    int best = 0;
    for (int i = 1; i < count && i < 16; ++i)
        if (Distance(rgb, kBasic[static_cast<std::size_t>(i)]) < Distance(rgb, kBasic[static_cast<std::size_t>(best)]))
            best = i;
    return best;
}

int TerminalColor(plat::COLORREF color, ColorDepth depth) noexcept
{
    switch (depth) {
    case ColorDepth::Direct: {
        const Rgb rgb = ToRgb(color);
        return (rgb.r << 16) | (rgb.g << 8) | rgb.b;
    }
    case ColorDepth::Colors256: return Nearest256(color);
    case ColorDepth::Colors16: return NearestBasic(color, 16);
    case ColorDepth::Colors8: return NearestBasic(color, 8);
    }
    return 0;
}

} // namespace tty
