// A multiple selection: ranges in the order they were made, each with one flag byte that
// says whether it was made of whole lines or whole columns.
#pragma once

#include "components/mox/MoxRect.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class MoxRectArray {
public:
    // Flag bits of a range.
    static constexpr std::uint8_t kWholeColumns = 1;
    static constexpr std::uint8_t kWholeLines = 2;

    // Appends a range; returns its index.
    std::size_t Add(const MoxRect& rect, std::uint8_t flags = 0);
    // The range at an index; an index outside the array throws plat::InvalidArgument.
    [[nodiscard]] const MoxRect& GetAt(std::size_t index) const;
    void SetAt(std::size_t index, const MoxRect& rect);
    [[nodiscard]] std::uint8_t GetFlags(std::size_t index) const;
    void SetFlags(std::size_t index, std::uint8_t flags);
    [[nodiscard]] std::size_t GetSize() const noexcept { return m_rects.size(); }
    [[nodiscard]] bool IsEmpty() const noexcept { return m_rects.empty(); }
    void RemoveAll() noexcept;

    // One byte per range, in range order: what the grid hands out with a selection.
    [[nodiscard]] const std::vector<std::uint8_t>& GetFlagArray() const noexcept { return m_flags; }

    friend bool operator==(const MoxRectArray&, const MoxRectArray&) = default;

private:
    void Check(std::size_t index) const;

    std::vector<MoxRect> m_rects;
    std::vector<std::uint8_t> m_flags;
};
