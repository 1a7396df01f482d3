// Pixels and terminal cells, for the cell renderer and the terminal's menus only: everything
// else measures through the driver's text measure.
#pragma once

#include "platform/ui/TextMeasure.h"
#include "platform/ui/Types.h"

#include <algorithm>

namespace plat::cells {

inline constexpr int kWidth = CellTextMeasure::kColumnWidth;
inline constexpr int kHeight = CellTextMeasure::kLineHeight;

// value / unit rounded to the nearest integer, halves up, for negative values too.
[[nodiscard]] inline LONG RoundDiv(LONG value, LONG unit) noexcept
{
    const LONG twice = 2 * value + unit;
    const LONG divisor = 2 * unit;
    return twice >= 0 ? twice / divisor : -((-twice + divisor - 1) / divisor);
}

[[nodiscard]] inline LONG FloorDiv(LONG value, LONG unit) noexcept
{
    return value >= 0 ? value / unit : -((-value + unit - 1) / unit);
}

[[nodiscard]] inline RECT Intersect(const RECT& a, const RECT& b) noexcept
{
    RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
    if (r.right < r.left)
        r.right = r.left;
    if (r.bottom < r.top)
        r.bottom = r.top;
    return r;
}

// The line a one-line control shows on: the middle of its rectangle.
[[nodiscard]] inline int MiddleLine(const RECT& cells) noexcept
{
    return cells.top + (std::max<LONG>(cells.Height(), 1) - 1) / 2;
}

} // namespace plat::cells
