// Number scanning, rounding and fixed-point writing shared by the measures and controls.
#include "components/support/HixNumber.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace {

constexpr int kMaxDecimals = 15;
constexpr double kExactLimit = 9007199254740992.0; // 2^53

int ClampDecimals(int decimals) noexcept { return decimals < 0 ? 0 : (decimals > kMaxDecimals ? kMaxDecimals : decimals); }

bool IsBlank(std::string_view text, std::size_t pos, std::size_t& length) noexcept
{
    const auto byte = static_cast<unsigned char>(text[pos]);
    if (byte == ' ' || byte == '\t') {
        length = 1;
        return true;
    }
    // U+3000 IDEOGRAPHIC SPACE, which an input method types for a blank.
    if (byte == 0xE3 && text.substr(pos, 3) == "\xE3\x80\x80") {
        length = 3;
        return true;
    }
    return false;
}

} // namespace

std::string_view HixTrim(std::string_view text) noexcept
{
    std::size_t length = 0;
    while (!text.empty() && IsBlank(text, 0, length))
        text.remove_prefix(length);
    for (;;) {
        if (text.empty())
            return text;
        if (text.back() == ' ' || text.back() == '\t')
            text.remove_suffix(1);
        else if (text.size() >= 3 && text.substr(text.size() - 3) == "\xE3\x80\x80")
            text.remove_suffix(3);
        else
            return text;
    }
}

std::size_t HixFindBlank(std::string_view text) noexcept
{
    std::size_t length = 0;
    for (std::size_t pos = 0; pos < text.size(); ++pos)
        if (IsBlank(text, pos, length))
            return pos;
    return std::string_view::npos;
}

bool HixScanNumber(std::string_view text, double& value, HixNumberShape* shape) noexcept
{
    HixNumberShape scanned;
    std::size_t pos = 0;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        scanned.sign = true;
        scanned.negative = text[pos] == '-';
        ++pos;
    }
    const std::size_t digitsStart = pos;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        ++pos;
        ++scanned.integerDigits;
    }
    if (pos < text.size() && text[pos] == '.') {
        scanned.point = true;
        ++pos;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
            ++pos;
            ++scanned.fractionDigits;
        }
    }
    if (pos != text.size() || scanned.integerDigits + scanned.fractionDigits == 0)
        return false;
    // The pattern is checked above; from_chars, which takes no plus sign, reads the digits.
    double parsed = 0;
    const char* first = text.data() + digitsStart;
    const auto [end, error] = std::from_chars(first, text.data() + text.size(), parsed);
    if (error != std::errc() || end != text.data() + text.size())
        return false;
    value = scanned.negative ? -parsed : parsed;
    if (shape != nullptr)
        *shape = scanned;
    return true;
}

bool HixRoundScaled(double magnitude, int decimals, HixRound mode, bool negative, unsigned long long& scaled) noexcept
{
    const double x = magnitude * kHixPowersOfTen[ClampDecimals(decimals)];
    if (!(x < kExactLimit))
        return false;
    double whole = std::floor(x);
    double fraction = x - whole;
    // Decimal input rarely survives binary exactly: 0.29 * 100 is 28.999999999999996 and
    // 2.675 * 100 is 267.49999999999997. Within a few units of the last place the value is
    // taken as the decimal the person wrote.
    const double slack = (x > 1.0 ? x : 1.0) * 8.0 * 2.220446049250313e-16;
    if (1.0 - fraction <= slack) {
        whole += 1.0;
        fraction = 0.0;
    } else if (fraction <= slack) {
        fraction = 0.0;
    }
    const bool half = std::fabs(fraction - 0.5) <= slack;
    bool up = false;
    switch (mode) {
    case HixRound::Down: up = false; break;
    case HixRound::Up: up = fraction > 0.0; break;
    case HixRound::Floor: up = negative && fraction > 0.0; break;
    case HixRound::HalfEven:
        up = half ? std::fmod(whole, 2.0) != 0.0 : fraction > 0.5;
        break;
    case HixRound::HalfDown: up = !half && fraction > 0.5; break;
    case HixRound::HalfUp:
    default: up = half || fraction > 0.5; break;
    }
    if (up)
        whole += 1.0;
    if (!(whole < kExactLimit))
        return false;
    scaled = static_cast<unsigned long long>(whole);
    return true;
}

std::size_t HixWritePrintf(double value, int decimals, char* out) noexcept
{
    const auto result = std::to_chars(out, out + kHixNumberBuffer, value, std::chars_format::fixed,
                                      ClampDecimals(decimals));
    return static_cast<std::size_t>(result.ptr - out);
}

std::size_t HixWriteFixed(double value, int decimals, HixRound mode, char* out) noexcept
{
    decimals = ClampDecimals(decimals);
    if (!std::isfinite(value))
        return HixWritePrintf(value, decimals, out);
    const bool negative = std::signbit(value);
    unsigned long long scaled = 0;
    if (!HixRoundScaled(std::fabs(value), decimals, mode, negative, scaled))
        return HixWritePrintf(value, decimals, out); // beyond 2^53 every digit is already exact
    // At least one digit before the point.
    char digits[32];
    const std::size_t count = HixWriteWhole(scaled, decimals + 1, digits);
    std::size_t length = 0;
    if (negative && scaled != 0)
        out[length++] = '-';
    const std::size_t integerDigits = count - static_cast<std::size_t>(decimals);
    std::memcpy(out + length, digits, integerDigits);
    length += integerDigits;
    if (decimals > 0) {
        out[length++] = '.';
        std::memcpy(out + length, digits + integerDigits, static_cast<std::size_t>(decimals));
        length += static_cast<std::size_t>(decimals);
    }
    return length;
}

std::size_t HixWriteWhole(unsigned long long value, int width, char* out) noexcept
{
    char digits[24];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (count < width && count < static_cast<int>(sizeof digits))
        digits[count++] = '0';
    for (int i = 0; i < count; ++i)
        out[i] = digits[count - 1 - i];
    return static_cast<std::size_t>(count);
}
