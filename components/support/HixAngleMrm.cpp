// Angles as degrees, grads, suite-style ddd.mmss or degrees-minutes-seconds text, and back.
#include "components/support/HixAngleMrm.h"

#include <cmath>
#include <cstring>

namespace {

std::size_t Append(char* out, std::size_t at, std::string_view text) noexcept
{
    std::memcpy(out + at, text.data(), text.size());
    return at + text.size();
}

bool ReadDigits(std::string_view text, std::size_t& pos, unsigned long long& value, int& count) noexcept
{
    value = 0;
    count = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        if (count < 18)
            value = value * 10 + static_cast<unsigned>(text[pos] - '0');
        ++pos;
        ++count;
    }
    return count > 0;
}

// The value of the digits after a point; those past the fifteenth cannot change a double
// that already holds whole seconds.
double FractionOf(std::string_view digits) noexcept
{
    const std::size_t count = digits.size() < 15 ? digits.size() : 15;
    unsigned long long whole = 0;
    for (std::size_t i = 0; i < count; ++i)
        whole = whole * 10 + static_cast<unsigned>(digits[i] - '0');
    return static_cast<double>(whole) / kHixPowersOfTen[count];
}

// The digits from pos on, pos moved past them.
std::string_view DigitRun(std::string_view text, std::size_t& pos) noexcept
{
    const std::size_t start = pos;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9')
        ++pos;
    return text.substr(start, pos - start);
}

// Minutes, seconds and the seconds' fraction from the digits after a suite-style point.
bool PackedFraction(std::string_view digits, double& minutes, double& seconds) noexcept
{
    char padded[4] = {'0', '0', '0', '0'};
    for (std::size_t i = 0; i < digits.size() && i < 4; ++i)
        padded[i] = digits[i];
    minutes = (padded[0] - '0') * 10 + (padded[1] - '0');
    seconds = (padded[2] - '0') * 10 + (padded[3] - '0');
    if (digits.size() > 4)
        seconds += FractionOf(digits.substr(4));
    return minutes < 60 && seconds < 60;
}

// A suite-style ddd.mmss text (sign already taken off) into decimal degrees.
bool ParsePacked(std::string_view text, double& degrees) noexcept
{
    std::size_t pos = 0;
    unsigned long long whole = 0;
    int count = 0;
    const bool hasWhole = ReadDigits(text, pos, whole, count);
    std::string_view fraction;
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        fraction = DigitRun(text, pos);
    }
    if (pos != text.size() || (!hasWhole && fraction.empty()))
        return false;
    double minutes = 0, seconds = 0;
    if (!PackedFraction(fraction, minutes, seconds))
        return false;
    degrees = static_cast<double>(whole) + minutes / 60.0 + seconds / 3600.0;
    return true;
}

// Marks that may follow a part of a degrees-minutes-seconds text.
bool SkipMark(std::string_view text, std::size_t& pos, std::initializer_list<std::string_view> marks) noexcept
{
    for (const std::string_view mark : marks)
        if (text.substr(pos, mark.size()) == mark) {
            pos += mark.size();
            return true;
        }
    return false;
}

void SkipBlanks(std::string_view text, std::size_t& pos) noexcept
{
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t'))
        ++pos;
}

bool ParseDms(std::string_view text, double& degrees) noexcept
{
    std::size_t pos = 0;
    unsigned long long deg = 0, min = 0, sec = 0;
    int count = 0;
    std::string_view secFraction;
    if (!ReadDigits(text, pos, deg, count))
        return false;
    const bool marked = SkipMark(text, pos, {"°", "度"});
    SkipBlanks(text, pos);
    if (pos == text.size()) {
        degrees = static_cast<double>(deg);
        return marked;
    }
    if (!ReadDigits(text, pos, min, count) || count > 2)
        return false;
    SkipMark(text, pos, {"′", "'", "分"});
    SkipBlanks(text, pos);
    if (pos < text.size()) {
        if (!ReadDigits(text, pos, sec, count) || count > 2)
            return false;
        if (pos < text.size() && text[pos] == '.') {
            ++pos;
            secFraction = DigitRun(text, pos);
        }
        SkipMark(text, pos, {"″", "\"", "秒"});
        SkipBlanks(text, pos);
    }
    if (pos != text.size() || min >= 60 || sec >= 60)
        return false;
    const double seconds = static_cast<double>(sec) + FractionOf(secFraction);
    degrees = static_cast<double>(deg) + static_cast<double>(min) / 60.0 + seconds / 3600.0;
    return true;
}

} // namespace

HixAngleMrm::HixAngleMrm(int angleKind) noexcept : HixMrm(kDefaultRound, 0, 1) { SetAngleKind(angleKind); }

void HixAngleMrm::SetAngleKind(int angleKind) noexcept
{
    m_kind = angleKind >= 0 && angleKind <= 3 ? static_cast<HixAngleKind>(angleKind) : HixAngleKind::Dms;
}

void HixAngleMrm::StrDouble(double degrees, int decimals, std::string& out) const
{
    const int places = Decimals(decimals);
    char buffer[kHixNumberBuffer];
    if (m_kind == HixAngleKind::Degree || m_kind == HixAngleKind::Grad || !std::isfinite(degrees)) {
        const double shown = m_kind == HixAngleKind::Grad ? degrees * (400.0 / 360.0) : degrees;
        out.assign(buffer, HixWriteFixed(shown, places, GetRound(), buffer));
        return;
    }
    const bool negative = std::signbit(degrees);
    unsigned long long units = 0; // the last unit shown: 10^-places of a second
    if (!HixRoundScaled(std::fabs(degrees) * 3600.0, places, GetRound(), negative, units)) {
        out.assign(buffer, HixWriteFixed(degrees, places, GetRound(), buffer));
        return;
    }
    const auto perSecond = static_cast<unsigned long long>(kHixPowersOfTen[places]);
    const unsigned long long fraction = units % perSecond;
    const unsigned long long totalSeconds = units / perSecond;
    const unsigned long long deg = totalSeconds / 3600;
    const unsigned long long min = totalSeconds / 60 % 60;
    const unsigned long long sec = totalSeconds % 60;
    std::size_t length = 0;
    if (negative && units != 0)
        buffer[length++] = '-';
    length += HixWriteWhole(deg, 1, buffer + length);
    if (m_kind == HixAngleKind::Packed) {
        buffer[length++] = '.';
        length += HixWriteWhole(min, 2, buffer + length);
        length += HixWriteWhole(sec, 2, buffer + length);
        if (places > 0)
            length += HixWriteWhole(fraction, places, buffer + length);
    } else {
        length = Append(buffer, length, "°");
        length += HixWriteWhole(min, 2, buffer + length);
        length = Append(buffer, length, "′");
        length += HixWriteWhole(sec, 2, buffer + length);
        if (places > 0) {
            buffer[length++] = '.';
            length += HixWriteWhole(fraction, places, buffer + length);
        }
        length = Append(buffer, length, "″");
    }
    out.assign(buffer, length);
}

bool HixAngleMrm::ValDouble(std::string_view text, double& degrees) const noexcept
{
    text = HixTrim(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    double parsed = 0;
    bool ok = false;
    switch (m_kind) {
    case HixAngleKind::Degree:
    case HixAngleKind::Grad:
        ok = HixScanNumber(text, parsed) && !std::signbit(parsed);
        if (ok && m_kind == HixAngleKind::Grad)
            parsed *= 360.0 / 400.0;
        break;
    case HixAngleKind::Packed: ok = ParsePacked(text, parsed); break;
    case HixAngleKind::Dms: ok = ParsePacked(text, parsed) || ParseDms(text, parsed); break;
    }
    if (!ok)
        return false;
    degrees = negative ? -parsed : parsed;
    return true;
}

bool HixPackedToDegrees(double packed, double& degrees) noexcept
{
    if (!std::isfinite(packed))
        return false;
    // Through its decimal text, so that 123.45067 splits into 45′ and 06.7″ and not into
    // 45′ and 06.69999″.
    char buffer[kHixNumberBuffer];
    const std::size_t length = HixWriteFixed(std::fabs(packed), 10, HixRound::HalfUp, buffer);
    double parsed = 0;
    if (!ParsePacked(std::string_view(buffer, length), parsed))
        return false;
    degrees = std::signbit(packed) ? -parsed : parsed;
    return true;
}
