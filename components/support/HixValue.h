// A value that remembers whether it was ever entered, as dialog fields and cells exchange it:
// a line number or a coordinate that the person has not typed yet is unset, not zero. The
// unset state is one reserved value of the type, so the object stays as plain as the value
// itself (the record table stores a HixReal byte for byte in radius cells).
#pragma once

// Unset names the reserved value as its member `value` (a class rather than a template
// argument of its own, since a real cannot be one with every compiler this builds with).
template <typename Value, typename Unset>
class HixValue {
public:
    // The value that stands for "never entered".
    static constexpr Value kNoValue = Unset::value;

    constexpr HixValue() noexcept = default;
    constexpr HixValue(Value value) noexcept : m_value(value) {}

    constexpr operator Value() const noexcept { return m_value; }
    [[nodiscard]] constexpr Value Get() const noexcept { return m_value; }
    constexpr void Set(Value value) noexcept { m_value = value; }
    constexpr void SetShoki() noexcept { m_value = kNoValue; }
    // True while the value was never entered.
    [[nodiscard]] constexpr bool IsShoki() const noexcept { return m_value == kNoValue; }

private:
    Value m_value = kNoValue;
};
