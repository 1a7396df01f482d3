// Tests of the binary archive: byte-exact stored forms, and refusal of misuse and damage.
#include "platform/io/Archive.h"
#include "tests/TemporaryFolder.h"
#include "tests/platform/text/NarrowCodePageGuard.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace plat;
using Bytes = std::vector<std::uint8_t>;
using ::testing::HasSubstr;

namespace {

Bytes Cat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

Bytes StoredString(std::string_view utf8)
{
    Archive archive = Archive::ForStoring();
    archive.WriteString(utf8);
    return archive.Bytes();
}

std::string LoadedString(Bytes bytes)
{
    Archive archive = Archive::ForLoading(std::move(bytes));
    std::string text = archive.ReadString();
    EXPECT_EQ(archive.Remaining(), 0u) << "the string's bytes are consumed exactly";
    return text;
}

// Runs an action that must raise ArchiveError and returns its message.
template <class Action>
std::string ArchiveErrorOf(Action&& action)
{
    try {
        action();
    } catch (const ArchiveError& error) {
        return error.what();
    }
    ADD_FAILURE() << "no ArchiveError raised";
    return {};
}

} // namespace

TEST(Archive, StringPrefixFormsAtTheirBoundaries)
{
    EXPECT_EQ(StoredString(""), Bytes{0x00}) << "an empty string is the single byte 0";
    EXPECT_EQ(StoredString("標準"), (Bytes{0x04, 0x95, 0x57, 0x8F, 0x80})) << "the length counts CP932 bytes";

    const struct {
        std::size_t length;
        Bytes prefix;
    } cases[] = {
        {254, {0xFE}},
        {255, {0xFF, 0xFF, 0x00}},
        {300, {0xFF, 0x2C, 0x01}},
        {0xFFFD, {0xFF, 0xFD, 0xFF}},
        // 0xFFFE would read as the wide-string marker, so it takes the 32-bit form.
        {0xFFFE, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
        {70000, {0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},
    };
    for (const auto& c : cases) {
        const std::string text(c.length, 'n');
        const Bytes stored = StoredString(text);
        EXPECT_EQ(stored, Cat({c.prefix, Bytes(c.length, 'n')})) << c.length << " bytes";
        EXPECT_EQ(LoadedString(stored), text) << c.length << " bytes";
    }
}

TEST(Archive, WideStringsAreReadAndConverted)
{
    // The marker 0xFF 0xFFFE, then a prefix of its own counted in UTF-16 units.
    const Bytes wide = {0xFF, 0xFE, 0xFF, 0x03, 0x19, 0x6A, 0x96, 0x6E, 0x41, 0x00};
    EXPECT_EQ(LoadedString(wide), "標準A");
    Archive narrow = Archive::ForLoading(wide);
    EXPECT_EQ(narrow.ReadNarrowString(), std::string("\x95\x57\x8F\x80" "A"));

    Bytes longWide = {0xFF, 0xFE, 0xFF, 0xFF, 0x2C, 0x01};
    for (int i = 0; i < 300; ++i)
        longWide.insert(longWide.end(), {0x42, 0x00});
    EXPECT_EQ(LoadedString(longWide), std::string(300, 'B'));

    // A wide string may hold what CP932 cannot: it still reads as text, but not as narrow bytes.
    const Bytes smiley = {0xFF, 0xFE, 0xFF, 0x02, 0x3D, 0xD8, 0x00, 0xDE};
    EXPECT_EQ(LoadedString(smiley), "\xF0\x9F\x98\x80");
    Archive archive = Archive::ForLoading(smiley);
    EXPECT_THAT(ArchiveErrorOf([&] { (void)archive.ReadNarrowString(); }), HasSubstr("narrow code page"));
}

TEST(Archive, CountFormAtItsThreeSizes)
{
    const struct {
        std::uint64_t count;
        Bytes stored;
    } cases[] = {
        {0, {0x00, 0x00}},
        {0xFFFE, {0xFE, 0xFF}},
        {0xFFFF, {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}},
        {0xFFFFFFFEu, {0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF}},
        {0xFFFFFFFFu, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00}},
        {0x123456789Aull, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x9A, 0x78, 0x56, 0x34, 0x12, 0x00, 0x00, 0x00}},
    };
    for (const auto& c : cases) {
        Archive store = Archive::ForStoring();
        store.WriteCount(c.count);
        EXPECT_EQ(store.Bytes(), c.stored) << c.count;
        Archive load = Archive::ForLoading(c.stored);
        EXPECT_EQ(load.ReadCount(), c.count);
        EXPECT_EQ(load.Remaining(), 0u);
    }
}

TEST(Archive, NumbersAndArraysAreLittleEndian)
{
    Archive store = Archive::ForStoring();
    store.WriteUInt8(0xAB);
    store.WriteUInt16(0x1234);
    store.WriteInt32(-2);
    store.WriteUInt64(0x0102030405060708ull);
    store.WriteDouble(1.5);
    const std::uint32_t widths[] = {80, 60, 0x01020304};
    store.WriteUIntArray(widths);
    store.WriteUIntArray({});
    const Bytes expected = {
        0xAB, 0x34, 0x12, 0xFE, 0xFF, 0xFF, 0xFF, 0x08, 0x07, 0x06, 0x05, 0x04, 0x03, 0x02, 0x01,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF8, 0x3F,                               // 1.5
        0x03, 0x00, 0x00, 0x00, 80, 0, 0, 0, 60, 0, 0, 0, 0x04, 0x03, 0x02, 0x01,     // {80, 60, ...}
        0x00, 0x00, 0x00, 0x00,                                                       // {}
    };
    EXPECT_EQ(store.Bytes(), expected);

    Archive load = Archive::ForLoading(store.TakeBytes());
    EXPECT_EQ(load.ReadUInt8(), 0xAB);
    EXPECT_EQ(load.ReadUInt16(), 0x1234);
    EXPECT_EQ(load.ReadInt32(), -2);
    EXPECT_EQ(load.ReadUInt64(), 0x0102030405060708ull);
    EXPECT_EQ(load.ReadDouble(), 1.5);
    EXPECT_EQ(load.ReadUIntArray(), (std::vector<std::uint32_t>{80, 60, 0x01020304}));
    EXPECT_TRUE(load.ReadUIntArray().empty());
    EXPECT_EQ(load.Remaining(), 0u);
}

TEST(Archive, TruncatedAndOversizedInputIsRefused)
{
    const Bytes damaged[] = {
        {},                                                   // nothing at all
        {0x05, 'a', 'b'},                                     // fewer bytes than the length
        {0xFF, 0x2C},                                         // the 16-bit length cut off
        {0xFF, 0xFF, 0xFF, 0xF0, 0xFF, 0xFF, 0xFF, 'a'},      // 32-bit length far past the end
        {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0x80}, // 64-bit length
        {0xFF, 0xFE, 0xFF, 0x02, 0x41, 0x00, 0x42},           // wide string short of a unit
        {0x02, 0x82, 0x20},                                   // not a CP932 character
    };
    for (const Bytes& bytes : damaged) {
        Archive archive = Archive::ForLoading(bytes);
        EXPECT_THROW((void)archive.ReadString(), ArchiveError) << ::testing::PrintToString(bytes);
    }

    // A count that promises more than is left is refused before anything is allocated for it.
    Archive array = Archive::ForLoading(Bytes{0xFF, 0xFF, 0xFF, 0xFF, 1, 0, 0, 0});
    EXPECT_THAT(ArchiveErrorOf([&] { (void)array.ReadUIntArray(); }), HasSubstr("4294967295"));
    Archive counted = Archive::ForLoading(Bytes{0, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_NO_THROW(counted.RequireRemaining(2, 4));
    EXPECT_THROW(counted.RequireRemaining(3, 4), ArchiveError);
    EXPECT_THROW(counted.RequireRemaining(0x4000000000000001ull, 4), ArchiveError) << "no overflow in count x size";

    Archive shortNumber = Archive::ForLoading(Bytes{1, 2, 3});
    EXPECT_THAT(ArchiveErrorOf([&] { (void)shortNumber.ReadUInt32(); }), HasSubstr("ends early"));
    EXPECT_EQ(shortNumber.ReadUInt16(), 0x0201) << "a refused read consumes nothing";
    EXPECT_THROW((void)shortNumber.ReadUInt16(), ArchiveError);
}

TEST(Archive, WrongDirectionIsRefused)
{
    Archive store = Archive::ForStoring();
    EXPECT_THAT(ArchiveErrorOf([&] { (void)store.ReadUInt8(); }), HasSubstr("storing"));
    EXPECT_THROW((void)store.ReadString(), ArchiveError);
    EXPECT_THROW((void)store.ReadCount(), ArchiveError);

    Archive load = Archive::ForLoading(Bytes{0, 0, 0, 0});
    EXPECT_THAT(ArchiveErrorOf([&] { load.WriteUInt32(1); }), HasSubstr("loading"));
    EXPECT_THROW(load.WriteString("a"), ArchiveError);
    EXPECT_THROW(load.WriteCount(1), ArchiveError);
    EXPECT_THROW(load.SaveFile("unused"), ArchiveError);
    EXPECT_EQ(load.Remaining(), 4u) << "nothing was appended to the input";
}

TEST(Archive, TextTheNarrowCodePageCannotHoldIsRefusedWithoutWritingPart)
{
    Archive store = Archive::ForStoring();
    store.WriteString("A");
    EXPECT_THAT(ArchiveErrorOf([&] { store.WriteString("座標\xF0\x9F\x98\x80"); }), HasSubstr("byte 6"));
    EXPECT_EQ(store.Bytes(), (Bytes{0x01, 'A'})) << "a refused string leaves no prefix or partial bytes";

    NarrowCodePageGuard utf8(NarrowCodePage::Utf8);
    store.WriteString("\xF0\x9F\x98\x80");
    EXPECT_EQ(store.Bytes(), (Bytes{0x01, 'A', 0x04, 0xF0, 0x9F, 0x98, 0x80})) << "UTF-8 narrow strings are stored as is";
}

TEST(Archive, FilesAreSavedAndLoaded)
{
    const tavtest::TemporaryFolder folder("tavcell-archive");

    Archive store = Archive::ForStoring();
    store.WriteString("標準");
    store.WriteUInt32(7);
    store.SaveFile(folder / "table.bin");
    Archive load = Archive::LoadFile(folder / "table.bin");
    EXPECT_EQ(load.ReadString(), "標準");
    EXPECT_EQ(load.ReadUInt32(), 7u);
    EXPECT_EQ(load.Remaining(), 0u);

    EXPECT_THAT(ArchiveErrorOf([&] { (void)Archive::LoadFile(folder / "missing.bin"); }), HasSubstr("missing.bin"));
    EXPECT_THAT(ArchiveErrorOf([&] { store.SaveFile(folder / "no" / "table.bin"); }), HasSubstr("table.bin"));
}
