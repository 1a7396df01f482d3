// Constants and helpers the grid window's source files share; private to the grid, not
// installed with its header.
#pragma once

#include "components/mox/MoxCellCtrl.h"

#include <algorithm>
#include <limits>

namespace mox_detail {

// Column positions are sums of widths. Past this one a column is off any screen, and
// stopping the sum there keeps it in range however many columns there are.
inline constexpr int kFarRight = std::numeric_limits<int>::max() / 2;

inline int AddWidth(int x, int width) noexcept { return x >= kFarRight - width ? kFarRight : x + width; }

inline int BoundWidth(long long width) noexcept
{
    return static_cast<int>(std::clamp<long long>(width, 0, MoxCellCtrl::kMaxPaneWidth));
}

inline constexpr plat::COLORREF kPalette[MOXC_COUNT] = {
    plat::RGB(255, 255, 255), // window
    plat::RGB(0, 0, 0),       // text
    plat::RGB(192, 192, 192), // heading
    plat::RGB(0, 0, 0),       // heading text
    plat::RGB(0, 0, 128),     // selection
    plat::RGB(160, 160, 160), // disabled cells
    plat::RGB(255, 255, 0),   // caret
    plat::RGB(0, 128, 0),     // line marking
    plat::RGB(255, 0, 255),   // search highlighting
    plat::RGB(255, 255, 255), // selection text
};

} // namespace mox_detail
