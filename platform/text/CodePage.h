// Conversion between UTF-8, which every interface uses, and the narrow code page in which
// every byte-exact stored form is kept (CP932 unless a program selects UTF-8), plus
// UTF-16LE for the files that other tools write in it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace plat {

enum class NarrowCodePage { Cp932, Utf8 };

// The narrow code page of this process; CP932 until a program selects another.
NarrowCodePage GetNarrowCodePage() noexcept;
void SetNarrowCodePage(NarrowCodePage codePage) noexcept;

// Outcome of a conversion. A character that the target cannot represent (or a malformed
// input sequence) stops the conversion: text then holds what was converted before it and
// badOffset is its byte offset in the input, so nothing is silently dropped.
// A few characters that CP932 holds only in a look-alike form are stored as that form and
// read back as it: U+301C wave dash as U+FF5E, U+2212 minus as U+FF0D, U+00A5 yen as 0x5C
// (a backslash when read back). Input methods produce them for ordinary Japanese text, and
// a program of the CP932 world shows the stored bytes as the character the user typed.
struct TextConversion {
    static constexpr std::size_t npos = std::string::npos;
    std::string text;
    std::size_t badOffset = npos;
    [[nodiscard]] bool ok() const noexcept { return badOffset == npos; }
};

[[nodiscard]] TextConversion Utf8ToNarrow(std::string_view utf8);
[[nodiscard]] TextConversion NarrowToUtf8(std::string_view narrow);
// For showing only: each byte that does not start a valid character becomes U+FFFD.
[[nodiscard]] std::string NarrowToUtf8Replacing(std::string_view narrow);
[[nodiscard]] TextConversion Utf8ToUtf16Le(std::string_view utf8);
[[nodiscard]] TextConversion Utf16LeToUtf8(std::string_view utf16le);

// Forms that reuse the caller's string, for paths that convert many cells: out is replaced
// by the converted text; the result is the offset of the first bad input byte, or npos.
std::size_t NarrowToUtf8Into(std::string_view narrow, std::string& out);
std::size_t Utf8ToNarrowInto(std::string_view utf8, std::string& out);

// Length of the longest prefix of a narrow-code-page text that fits in maxBytes without
// splitting a double-byte (or multi-byte) character.
[[nodiscard]] std::size_t NarrowFitLength(std::string_view narrow, std::size_t maxBytes) noexcept;

// Length in bytes of the narrow character that starts with this byte (1 or 2 in CP932,
// 1 to 4 in UTF-8).
[[nodiscard]] std::size_t NarrowCharLength(unsigned char leadByte) noexcept;

} // namespace plat
