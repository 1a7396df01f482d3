// Number text without allocation: scanning a typed number, rounding by a measure's rule and
// writing fixed-point digits into a caller's buffer. Every numeric control and measure of
// the suite formats through here, so that a grid full of numbers costs no heap traffic.
#pragma once

#include <cstddef>
#include <string_view>

// How a value is brought to the decimals shown. Modes act on the magnitude (a negative value
// rounds like its positive counterpart) except Floor. A value that sits on a half only
// because of binary representation (2.675, stored as 2.67499999...) counts as the half the
// person wrote.
enum class HixRound : int {
    Down = 0,     // toward zero (truncation)
    Up = 1,       // away from zero
    HalfEven = 2, // half to the even neighbour
    HalfDown = 3, // half toward zero
    Floor = 4,    // toward minus infinity
    HalfUp = 5,   // half away from zero: the usual rounding of surveys, and the default
};

// The shape of a scanned number, for controls that limit digits.
struct HixNumberShape {
    bool sign = false;     // a leading + or -
    bool negative = false;
    bool point = false;    // a decimal point was written
    int integerDigits = 0; // digits before the point, leading zeros included
    int fractionDigits = 0;
};

// Scans the whole text as [+-]digits[.digits] (digits on at least one side of the point).
// Surrounding blanks are not allowed: callers trim when they mean to.
[[nodiscard]] bool HixScanNumber(std::string_view text, double& value, HixNumberShape* shape = nullptr) noexcept;

// The text without leading and trailing blanks (spaces, tabs, ideographic spaces).
[[nodiscard]] std::string_view HixTrim(std::string_view text) noexcept;
// Where the first of those blanks starts; npos when there is none.
[[nodiscard]] std::size_t HixFindBlank(std::string_view text) noexcept;

// Largest buffer any of the writers below needs for a finite double.
inline constexpr std::size_t kHixNumberBuffer = 352;

// 10^n for the decimals a measure can show (0..15).
inline constexpr double kHixPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// Writes a whole number with at least width (up to 24) digits, zeros in front; returns the
// length.
std::size_t HixWriteWhole(unsigned long long value, int width, char* out) noexcept;

// Writes value rounded to decimals (0..15) by mode as fixed-point text; returns the length.
// "-0.000" is written as "0.000". Non-finite values are written as printf writes them.
std::size_t HixWriteFixed(double value, int decimals, HixRound mode, char* out) noexcept;

// The text of printf's "%.*f" (round half to even on the exact binary value).
std::size_t HixWritePrintf(double value, int decimals, char* out) noexcept;

// value * 10^decimals rounded to a whole number by mode, on the magnitude; false when the
// result would not fit 2^53 (then no rounding rule can be applied exactly).
[[nodiscard]] bool HixRoundScaled(double magnitude, int decimals, HixRound mode, bool negative,
                                  unsigned long long& scaled) noexcept;
