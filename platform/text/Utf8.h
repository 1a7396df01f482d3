// Decoding and encoding of single code points in UTF-8, shared by the width, case and
// code page functions of this folder.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace plat {

inline constexpr char32_t kInvalidCodePoint = 0xFFFFFFFF;

// Decodes the code point that starts at text[pos] and advances pos past it. A malformed
// sequence (overlong, surrogate, truncated, beyond U+10FFFF) yields kInvalidCodePoint and
// advances by one byte, so a caller can report the offset and go on.
char32_t DecodeUtf8(std::string_view text, std::size_t& pos) noexcept;

// Appends the UTF-8 form of a code point; code points outside Unicode are not appended.
void AppendUtf8(std::string& out, char32_t codePoint);

// True when the whole text is well-formed UTF-8.
bool IsValidUtf8(std::string_view text) noexcept;

} // namespace plat
