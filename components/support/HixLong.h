// A whole value that remembers whether it was ever entered, as dialog fields exchange it:
// a line number that the person has not typed yet is unset, not zero.
#pragma once

#include <cstdint>

class HixLong {
public:
    // The value that stands for "never entered": the smallest 32-bit whole number.
    static constexpr long kNoValue = INT32_MIN;

    constexpr HixLong() noexcept = default;
    constexpr HixLong(long value) noexcept : m_value(value) {}

    constexpr operator long() const noexcept { return m_value; }
    [[nodiscard]] constexpr long Get() const noexcept { return m_value; }
    constexpr void Set(long value) noexcept { m_value = value; }
    constexpr void SetShoki() noexcept { m_value = kNoValue; }
    // True while the value was never entered.
    [[nodiscard]] constexpr bool IsShoki() const noexcept { return m_value == kNoValue; }

private:
    long m_value = kNoValue;
};
