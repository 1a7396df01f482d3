// Case folding limited to the letters that names in this system are written with.
#include "platform/text/NameCompare.h"

#include "platform/text/Utf8.h"

namespace plat {

char32_t FoldCodePoint(char32_t codePoint) noexcept
{
    if (codePoint >= U'A' && codePoint <= U'Z')
        return codePoint + 0x20;
    if (codePoint >= 0xC0 && codePoint <= 0xDE && codePoint != 0xD7)
        return codePoint + 0x20;
    // Greek and Cyrillic capitals: CP932 holds these alphabets, so names may use them.
    if (codePoint >= 0x391 && codePoint <= 0x3A9 && codePoint != 0x3A2)
        return codePoint + 0x20;
    if (codePoint >= 0x410 && codePoint <= 0x42F)
        return codePoint + 0x20;
    if (codePoint >= 0x400 && codePoint <= 0x40F)
        return codePoint + 0x50;
    if (codePoint >= 0xFF21 && codePoint <= 0xFF3A) // full-width A to Z
        return codePoint + 0x20;
    return codePoint;
}

std::string FoldCase(std::string_view utf8)
{
    std::string folded;
    folded.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::size_t start = pos;
        const char32_t codePoint = DecodeUtf8(utf8, pos);
        if (codePoint == kInvalidCodePoint)
            folded.append(utf8.substr(start, pos - start));
        else
            AppendUtf8(folded, FoldCodePoint(codePoint));
    }
    return folded;
}

int CompareNoCase(std::string_view a, std::string_view b) noexcept
{
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const std::size_t startA = i;
        const std::size_t startB = j;
        char32_t ca = DecodeUtf8(a, i);
        char32_t cb = DecodeUtf8(b, j);
        // A malformed byte compares by its raw value, above every code point.
        ca = ca == kInvalidCodePoint ? 0x110000 + static_cast<unsigned char>(a[startA]) : FoldCodePoint(ca);
        cb = cb == kInvalidCodePoint ? 0x110000 + static_cast<unsigned char>(b[startB]) : FoldCodePoint(cb);
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (i < a.size())
        return 1;
    return j < b.size() ? -1 : 0;
}

bool EqualNoCase(std::string_view a, std::string_view b) noexcept { return CompareNoCase(a, b) == 0; }

} // namespace plat
