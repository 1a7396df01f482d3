// Width of text on a character-cell screen: East Asian wide and full-width characters take
// two columns, half-width katakana and characters of ambiguous width one (as terminals draw
// them), combining marks none.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

// 0, 1 or 2 columns for one code point.
[[nodiscard]] int CodePointWidth(char32_t codePoint) noexcept;

// Columns taken by a UTF-8 text; a malformed byte counts as one column.
[[nodiscard]] int DisplayWidth(std::string_view utf8) noexcept;

// Length in bytes of the longest prefix of a UTF-8 text that fits in maxColumns without
// splitting a character; a wide character that would straddle the limit is left out.
[[nodiscard]] std::size_t FitToWidth(std::string_view utf8, int maxColumns) noexcept;

// Splits at newlines (a CR before one is dropped) and breaks lines longer than the width
// between characters, as Japanese text breaks; a width under 1 counts as 1.
[[nodiscard]] std::vector<std::string> WrapToWidth(std::string_view text, int width);

} // namespace plat
