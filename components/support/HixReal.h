// A real value that remembers whether it was ever entered: what numeric fields and the radius
// cell hold. Only what the record table needs so far; formatting comes with the edit controls.
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
    // True while the value was never entered.
    [[nodiscard]] constexpr bool IsShoki() const noexcept { return m_value == kNoValue; }

private:
    double m_value = kNoValue;
};
