// East Asian width by range tables (Unicode 15, W and F classes; Mn/Me/Cf as zero).
#include "platform/text/DisplayWidth.h"

#include "platform/text/Utf8.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

namespace plat {
namespace {

struct Range {
    char32_t first;
    char32_t last;
};

constexpr Range kWide[] = {
    {0x1100, 0x115F},   {0x231A, 0x231B},   {0x2329, 0x232A},   {0x23E9, 0x23EC},   {0x23F0, 0x23F0},
    {0x23F3, 0x23F3},   {0x25FD, 0x25FE},   {0x2614, 0x2615},   {0x2648, 0x2653},   {0x267F, 0x267F},
    {0x2693, 0x2693},   {0x26A1, 0x26A1},   {0x26AA, 0x26AB},   {0x26BD, 0x26BE},   {0x26C4, 0x26C5},
    {0x26CE, 0x26CE},   {0x26D4, 0x26D4},   {0x26EA, 0x26EA},   {0x26F2, 0x26F3},   {0x26F5, 0x26F5},
    {0x26FA, 0x26FA},   {0x26FD, 0x26FD},   {0x2705, 0x2705},   {0x270A, 0x270B},   {0x2728, 0x2728},
    {0x274C, 0x274C},   {0x274E, 0x274E},   {0x2753, 0x2755},   {0x2757, 0x2757},   {0x2795, 0x2797},
    {0x27B0, 0x27B0},   {0x27BF, 0x27BF},   {0x2B1B, 0x2B1C},   {0x2B50, 0x2B50},   {0x2B55, 0x2B55},
    {0x2E80, 0x303E},   {0x3041, 0x33FF},   {0x3400, 0x4DBF},   {0x4E00, 0x9FFF},   {0xA000, 0xA4CF},
    {0xA960, 0xA97F},   {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},   {0xFE10, 0xFE19},   {0xFE30, 0xFE6F},
    {0xFF00, 0xFF60},   {0xFFE0, 0xFFE6},   {0x16FE0, 0x16FE4}, {0x17000, 0x18CFF}, {0x1B000, 0x1B2FF},
    {0x1F004, 0x1F004}, {0x1F0CF, 0x1F0CF}, {0x1F18E, 0x1F18E}, {0x1F191, 0x1F19A}, {0x1F200, 0x1F251},
    {0x1F300, 0x1F64F}, {0x1F680, 0x1F6FF}, {0x1F7E0, 0x1F7EB}, {0x1F90C, 0x1F9FF}, {0x1FA70, 0x1FAFF},
    {0x20000, 0x2FFFD}, {0x30000, 0x3FFFD},
};

constexpr Range kZero[] = {
    {0x0300, 0x036F}, {0x0483, 0x0489}, {0x0591, 0x05BD}, {0x0610, 0x061A}, {0x064B, 0x065F},
    {0x200B, 0x200F}, {0x202A, 0x202E}, {0x2060, 0x2064}, {0x20D0, 0x20FF}, {0x3099, 0x309A},
    {0xFE00, 0xFE0F}, {0xFE20, 0xFE2F}, {0xFEFF, 0xFEFF}, {0xE0100, 0xE01EF},
};

template <std::size_t N>
bool InRanges(const Range (&ranges)[N], char32_t codePoint) noexcept
{
    const auto it = std::upper_bound(std::begin(ranges), std::end(ranges), codePoint,
                                     [](char32_t value, const Range& range) { return value < range.first; });
    return it != std::begin(ranges) && codePoint <= std::prev(it)->last;
}

} // namespace

int CodePointWidth(char32_t codePoint) noexcept
{
    if (codePoint < 0x300)
        return (codePoint < 0x20 || (codePoint >= 0x7F && codePoint < 0xA0)) ? 0 : 1;
    if (InRanges(kZero, codePoint))
        return 0;
    return InRanges(kWide, codePoint) ? 2 : 1;
}

int DisplayWidth(std::string_view utf8) noexcept
{
    int columns = 0;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const char32_t codePoint = DecodeUtf8(utf8, pos);
        columns += codePoint == kInvalidCodePoint ? 1 : CodePointWidth(codePoint);
    }
    return columns;
}

std::size_t FitToWidth(std::string_view utf8, int maxColumns) noexcept
{
    int columns = 0;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        std::size_t next = pos;
        const char32_t codePoint = DecodeUtf8(utf8, next);
        const int width = codePoint == kInvalidCodePoint ? 1 : CodePointWidth(codePoint);
        if (columns + width > maxColumns)
            break;
        columns += width;
        pos = next;
    }
    return pos;
}


std::vector<std::string> WrapToWidth(std::string_view text, int width)
{
    std::vector<std::string> lines;
    width = std::max(1, width);
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        do {
            std::size_t fit = FitToWidth(line, width);
            if (fit == 0 && !line.empty()) { // a wide character in a one-column space
                std::size_t pos = 0;
                DecodeUtf8(line, pos);
                fit = pos;
            }
            lines.emplace_back(line.substr(0, fit));
            line.remove_prefix(fit);
        } while (!line.empty());
        start = end + 1;
    }
    return lines;
}

} // namespace plat
