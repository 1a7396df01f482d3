// A rectangular range of cells given by two corners, or empty: one range of a selection.
#pragma once

#include "components/mox/MoxPos.h"

#include <algorithm>
#include <cstdint>

class MoxRect {
public:
    // An empty range: it holds no cell.
    MoxRect() = default;
    // The range spanned by two corners, in either order; both corners belong to it.
    MoxRect(const MoxPos& first, const MoxPos& second) noexcept : m_first(first), m_second(second), m_empty(false) {}

    [[nodiscard]] bool IsEmpty() const noexcept { return m_empty; }
    // The corners as given (the first is where a drag selection started).
    [[nodiscard]] const MoxPos& First() const noexcept { return m_first; }
    [[nodiscard]] const MoxPos& Second() const noexcept { return m_second; }

    // The edges, whatever the order of the corners; all inclusive.
    [[nodiscard]] std::int32_t Left() const noexcept { return std::min(m_first.column, m_second.column); }
    [[nodiscard]] std::int32_t Right() const noexcept { return std::max(m_first.column, m_second.column); }
    [[nodiscard]] std::int32_t Top() const noexcept { return std::min(m_first.row, m_second.row); }
    [[nodiscard]] std::int32_t Bottom() const noexcept { return std::max(m_first.row, m_second.row); }
    [[nodiscard]] std::int64_t ColumnCount() const noexcept
    {
        return m_empty ? 0 : std::int64_t{Right()} - Left() + 1;
    }
    [[nodiscard]] std::int64_t RowCount() const noexcept { return m_empty ? 0 : std::int64_t{Bottom()} - Top() + 1; }

    [[nodiscard]] bool Contains(const MoxPos& pos) const noexcept
    {
        return !m_empty && pos.column >= Left() && pos.column <= Right() && pos.row >= Top() && pos.row <= Bottom();
    }

    friend bool operator==(const MoxRect& a, const MoxRect& b) noexcept
    {
        return a.m_empty == b.m_empty && (a.m_empty || (a.m_first == b.m_first && a.m_second == b.m_second));
    }

private:
    MoxPos m_first;
    MoxPos m_second;
    bool m_empty = true;
};
