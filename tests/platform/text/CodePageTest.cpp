// Tests of the conversion between UTF-8 and the narrow code page, and of cutting narrow
// text at character boundaries.
#include "platform/text/CodePage.h"
#include "platform/text/Utf8.h"
#include "tests/platform/text/NarrowCodePageGuard.h"

#include <gtest/gtest.h>

using namespace plat;

namespace {

std::string Bytes(std::initializer_list<unsigned> values)
{
    std::string bytes;
    for (unsigned value : values)
        bytes.push_back(static_cast<char>(value));
    return bytes;
}

} // namespace

TEST(CodePage, KanjiKanaAndHalfWidthKatakanaRoundTrip)
{
    const struct {
        std::string utf8;
        std::string cp932;
    } cases[] = {
        {"標準", Bytes({0x95, 0x57, 0x8F, 0x80})},
        {"ｺｳｻﾞ", Bytes({0xBA, 0xB3, 0xBB, 0xDE})}, // half-width katakana are single bytes
        {"X座標1", Bytes({0x58, 0x8D, 0xC0, 0x95, 0x57, 0x31})},
        {"ﾃﾝﾌﾟﾚｰﾄ名", Bytes({0xC3, 0xDD, 0xCC, 0xDF, 0xDA, 0xB0, 0xC4, 0x96, 0xBC})},
        {"", ""},
    };
    for (const auto& c : cases) {
        const TextConversion narrow = Utf8ToNarrow(c.utf8);
        ASSERT_TRUE(narrow.ok()) << c.utf8;
        EXPECT_EQ(narrow.text, c.cp932) << c.utf8;
        const TextConversion back = NarrowToUtf8(narrow.text);
        ASSERT_TRUE(back.ok()) << c.utf8;
        EXPECT_EQ(back.text, c.utf8);
    }
}

TEST(CodePage, UnconvertibleCharactersAreReportedAtTheirOffset)
{
    // U+00E9 and U+1F600 have no CP932 form; the conversion stops there instead of dropping them.
    TextConversion result = Utf8ToNarrow("AB\xF0\x9F\x98\x80" "C");
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(result.badOffset, 2u);
    EXPECT_EQ(result.text, "AB") << "what came before the bad character is kept";

    result = Utf8ToNarrow("標é");
    EXPECT_EQ(result.badOffset, 3u);

    // Malformed UTF-8 is reported too: a lone lead byte, an overlong form, a surrogate.
    EXPECT_EQ(Utf8ToNarrow("ab\xC3").badOffset, 2u);
    EXPECT_EQ(Utf8ToNarrow("a\xC0\xAF").badOffset, 1u);
    EXPECT_EQ(Utf8ToNarrow("\xED\xA0\x80").badOffset, 0u);

    // Bytes that are not CP932: an undefined single byte, a lead byte cut off at the end,
    // a lead byte followed by a byte that cannot trail.
    EXPECT_EQ(NarrowToUtf8(Bytes({0x41, 0x80})).badOffset, 1u);
    EXPECT_EQ(NarrowToUtf8(Bytes({0x95, 0x57, 0x8F})).badOffset, 2u);
    result = NarrowToUtf8(Bytes({0x41, 0x82, 0x20}));
    EXPECT_EQ(result.badOffset, 1u);
    EXPECT_EQ(result.text, "A");
}

TEST(CodePage, JisFormsAreStoredAsTheCp932CharacterThatLooksTheSame)
{
    // Input methods give U+301C and U+2212 where CP932 has U+FF5E and U+FF0D; refusing them
    // would refuse ordinary Japanese input, so they are stored as the CP932 character.
    const TextConversion wave = Utf8ToNarrow("〜−");
    ASSERT_TRUE(wave.ok());
    EXPECT_EQ(wave.text, Bytes({0x81, 0x60, 0x81, 0x7C}));
    EXPECT_EQ(NarrowToUtf8(wave.text).text, "～－");
}

TEST(CodePage, Utf16LittleEndianBothWays)
{
    const TextConversion wide = Utf8ToUtf16Le("標A\xF0\x9F\x98\x80");
    ASSERT_TRUE(wide.ok());
    EXPECT_EQ(wide.text, Bytes({0x19, 0x6A, 0x41, 0x00, 0x3D, 0xD8, 0x00, 0xDE})) << "surrogate pair for U+1F600";
    const TextConversion back = Utf16LeToUtf8(wide.text);
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(back.text, "標A\xF0\x9F\x98\x80");

    EXPECT_EQ(Utf16LeToUtf8(Bytes({0x41, 0x00, 0x42})).badOffset, 2u) << "half a unit at the end";
    EXPECT_FALSE(Utf16LeToUtf8(Bytes({0x00, 0xDC, 0x41, 0x00})).ok()) << "a lone low surrogate";
}

TEST(CodePage, NarrowFitLengthNeverSplitsADoubleByteCharacter)
{
    const std::string text = Bytes({0x61, 0x95, 0x57, 0x8F, 0x80, 0xB1}); // "a標準ｱ"
    const std::size_t expected[] = {0, 1, 1, 3, 3, 5, 6, 6};
    for (std::size_t maxBytes = 0; maxBytes < std::size(expected); ++maxBytes)
        EXPECT_EQ(NarrowFitLength(text, maxBytes), expected[maxBytes]) << "max " << maxBytes;

    // A second byte in the range of lead bytes (0x95 0x95) still belongs to the character
    // before it: the cut follows the characters from the start, not the byte values.
    EXPECT_EQ(NarrowFitLength(Bytes({0x95, 0x95, 0x95, 0x95}), 3), 2u);
    // A lead byte cut off at the end of the text is not counted past the text.
    EXPECT_EQ(NarrowFitLength(Bytes({0x61, 0x95}), 10), 2u);
}

TEST(CodePage, Utf8CanBeSelectedAsTheNarrowCodePage)
{
    EXPECT_EQ(GetNarrowCodePage(), NarrowCodePage::Cp932) << "CP932 until a program selects another";
    {
        NarrowCodePageGuard utf8(NarrowCodePage::Utf8);
        const TextConversion narrow = Utf8ToNarrow("標é\xF0\x9F\x98\x80");
        ASSERT_TRUE(narrow.ok()) << "UTF-8 holds every character";
        EXPECT_EQ(narrow.text, "標é\xF0\x9F\x98\x80");
        EXPECT_EQ(NarrowToUtf8("ab\xE6\xA8").badOffset, 2u) << "a cut-off character is still reported";

        const std::string text = "a標準"; // 1 + 3 + 3 bytes
        EXPECT_EQ(NarrowFitLength(text, 3), 1u);
        EXPECT_EQ(NarrowFitLength(text, 4), 4u);
        EXPECT_EQ(NarrowFitLength(text, 6), 4u);
        EXPECT_EQ(NarrowFitLength(text, 7), 7u);
    }
    EXPECT_EQ(Utf8ToNarrow("標").text, Bytes({0x95, 0x57}));
}

TEST(Utf8, DecodeAdvancesOneByteOverMalformedInput)
{
    const std::string text = "a\xE6\xA8" "b\xF4\x90\x80\x80標";
    std::size_t pos = 0;
    EXPECT_EQ(DecodeUtf8(text, pos), U'a');
    EXPECT_EQ(DecodeUtf8(text, pos), kInvalidCodePoint) << "truncated three-byte form";
    EXPECT_EQ(pos, 2u);
    EXPECT_EQ(DecodeUtf8(text, pos), kInvalidCodePoint);
    EXPECT_EQ(DecodeUtf8(text, pos), U'b');
    EXPECT_EQ(DecodeUtf8(text, pos), kInvalidCodePoint) << "beyond U+10FFFF";
    pos = text.size() - 3;
    EXPECT_EQ(DecodeUtf8(text, pos), U'標');
    EXPECT_EQ(pos, text.size());

    std::string out;
    for (char32_t codePoint : {U'A', U'é', U'標', U'\U0001F600'})
        AppendUtf8(out, codePoint);
    EXPECT_EQ(out, "Aé標\xF0\x9F\x98\x80");
    EXPECT_TRUE(IsValidUtf8(out));
    EXPECT_FALSE(IsValidUtf8(text));
}
