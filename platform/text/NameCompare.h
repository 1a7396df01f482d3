// Comparison of names (registry keys and values, template names) without regard to case:
// ASCII, Latin-1, Greek, Cyrillic and full-width Latin letters fold to lower case, all else
// compares as is. Stores keep folded names as lookup keys, so the folding must not change.
#pragma once

#include <string>
#include <string_view>

namespace plat {

[[nodiscard]] char32_t FoldCodePoint(char32_t codePoint) noexcept;

// The folded form of a UTF-8 name: two names are equal without regard to case exactly when
// their folded forms are equal byte for byte, so the folded form can serve as a lookup key.
[[nodiscard]] std::string FoldCase(std::string_view utf8);

[[nodiscard]] bool EqualNoCase(std::string_view a, std::string_view b) noexcept;

// <0, 0 or >0, ordering by folded code points.
[[nodiscard]] int CompareNoCase(std::string_view a, std::string_view b) noexcept;

} // namespace plat
