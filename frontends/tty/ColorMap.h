// Colours of the window system (COLORREF) as terminal colour numbers: the colour itself on a
// terminal with direct colour, else the nearest of the 256, 16 or 8 it has.
#pragma once

#include "platform/ui/Types.h"

namespace tty {

enum class ColorDepth { Colors8, Colors16, Colors256, Direct };

// The depth of a terminal that reports this many colours (terminfo's "colors").
[[nodiscard]] ColorDepth DepthForColorCount(int colors) noexcept;

// The number to give the terminal for a colour: 0xRRGGBB under direct colour, else an index
// of the terminal's palette.
[[nodiscard]] int TerminalColor(plat::COLORREF color, ColorDepth depth) noexcept;

// The nearest of xterm's 256 colours, taken from its 6x6x6 cube and grey ramp (16 to 255;
// the first 16 differ from terminal to terminal).
[[nodiscard]] int Nearest256(plat::COLORREF color) noexcept;
// The nearest of the first 16 (or 8) colours as xterm shows them.
[[nodiscard]] int NearestBasic(plat::COLORREF color, int count) noexcept;

} // namespace tty
