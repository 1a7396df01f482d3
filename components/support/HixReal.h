// A real value that remembers whether it was ever entered: what numeric fields and the radius
// cell hold. The record table stores the object itself in radius cells, so it stays a plain
// 8-byte value (its text comes from the measure rules, HixMrm).
#pragma once

class HixReal {
public:
    // The value that stands for "never entered".
    static constexpr double kNoValue = -1e-99;

    constexpr HixReal() noexcept = default;
    constexpr HixReal(double value) noexcept : m_value(value) {}

    constexpr operator double() const noexcept { return m_value; }
    [[nodiscard]] constexpr double Get() const noexcept { return m_value; }
    constexpr void Set(double value) noexcept { m_value = value; }
    constexpr void SetShoki() noexcept { m_value = kNoValue; }
    // True while the value was never entered.
    [[nodiscard]] constexpr bool IsShoki() const noexcept { return m_value == kNoValue; }

private:
    double m_value = kNoValue;
};
