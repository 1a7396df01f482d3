// A curve radius: a real value with the side it turns to and whether the arc is the small
// one. The record table stores it in a 24-byte cell.
#pragma once

#include "components/support/HixReal.h"

#include "platform/ui/Types.h"

class HixRadius {
public:
    constexpr HixRadius() noexcept = default;
    constexpr HixRadius(const HixReal& r) noexcept : m_r(r) {}

    [[nodiscard]] constexpr HixReal GetR() const noexcept { return m_r; }
    constexpr void SetR(const HixReal& r) noexcept { m_r = r; }
    [[nodiscard]] constexpr plat::BOOL GetRight() const noexcept { return m_right; }
    constexpr void SetRight(plat::BOOL right) noexcept { m_right = right; }
    [[nodiscard]] constexpr plat::BOOL GetSmall() const noexcept { return m_small; }
    constexpr void SetSmall(plat::BOOL small) noexcept { m_small = small; }

private:
    HixReal m_r;
    plat::BOOL m_right = FALSE;
    plat::BOOL m_small = FALSE;
};
