// The stored form of a record table with its layout, the lock array's generic form, and the
// transfer files' user data.
#include "tav/data/TavData.h"
#include "tav/data/TavUserData.h"

#include "platform/io/Errors.h"
#include "tests/tav/data/TestHost.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

void Append32(Bytes& bytes, std::initializer_list<std::uint32_t> values)
{
    for (const std::uint32_t value : values)
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

Bytes Store(TavData& data, bool templateOnly = false)
{
    plat::Archive archive = plat::Archive::ForStoring();
    templateOnly ? data.SerializeTemplate(archive) : data.Serialize(archive);
    return archive.TakeBytes();
}

void FillLayout(TavData& data)
{
    data.TemplateName() = "標準";
    data.Template() = {3, 1};
    data.SetAutoWidthFlag(TRUE);
    data.Lock().Add({3, 0, 9});
    data.Width() = {80, 60, 40};
}

TEST(TavStorageTest, TemplateBlockIsStoredFieldByField)
{
    TavData data;
    FillLayout(data);
    Bytes expected = {4, 0x95, 0x57, 0x8F, 0x80}; // "標準" in the narrow code page
    // The template {3, 1}, automatic width on, cell lock off, one lock range, three widths.
    Append32(expected, {2, 3, 1, 1, 0, 1, 3, 0, 9, 3, 80, 60, 40});
    EXPECT_EQ(Store(data, true), expected);

    const Bytes whole = Store(data);
    ASSERT_GT(whole.size(), expected.size() + 4);
    const Bytes tail(whole.end() - static_cast<std::ptrdiff_t>(expected.size() + 4), whole.end());
    Bytes versionAndBlock;
    Append32(versionAndBlock, {1});
    versionAndBlock.insert(versionAndBlock.end(), expected.begin(), expected.end());
    EXPECT_EQ(tail, versionAndBlock) << "the base table, then the version 1, then the block";

    data.TemplateName() = std::string(300, 'n');
    const Bytes longName = Store(data, true);
    EXPECT_EQ(Bytes(longName.begin(), longName.begin() + 3), (Bytes{0xFF, 0x2C, 0x01})) << "0xFF then 300";
}

TEST(TavStorageTest, LoadingReproducesTheTableAndReplacesTheLocks)
{
    TestManager manager({1, 2, 3}, {{1, 4}, {2, 8}, {3, 12}}, 20);
    TavData data;
    manager.Bind(data);
    FillLayout(data);
    ASSERT_TRUE(data.Set(2L, 19, "last line"));
    ASSERT_TRUE(data.Set(1L, 0, 2.5));
    const Bytes bytes = Store(data);

    TavData loaded;
    loaded.Lock().Add({7, 1, 1});
    loaded.Lock().Add({8, 2, 2});
    plat::Archive archive = plat::Archive::ForLoading(bytes);
    loaded.Serialize(archive);
    EXPECT_EQ(archive.Remaining(), 0u);
    EXPECT_EQ(loaded.TemplateName(), "標準");
    EXPECT_EQ(loaded.Template(), (std::vector<unsigned>{3, 1}));
    EXPECT_TRUE(loaded.GetAutoWidthFlag());
    EXPECT_FALSE(loaded.GetCellLockFlag());
    ASSERT_EQ(loaded.Lock().GetSize(), 1u) << "loading replaces the lock ranges, it does not add to them";
    EXPECT_EQ(loaded.Lock().GetAt(0), (TavLockData{3, 0, 9}));
    EXPECT_EQ(loaded.Width(), (std::vector<unsigned>{80, 60, 40}));
    EXPECT_EQ(loaded.GetTemplateVersion(), 1);
    EXPECT_EQ(CellValue<std::string>(loaded, 2L, 19), "last line") << "an unbound table reads by item number";
    EXPECT_EQ(loaded.GetLastInputRecordNo(), 19);
    EXPECT_EQ(CellValue<double>(loaded, 1L, 0), 2.5);
}

TEST(TavStorageTest, DamagedDocumentsAreRefusedAndTheTableStaysUsable)
{
    TestManager manager({1, 2}, {{1, 4}, {2, 6}}, 3);
    TavData data;
    manager.Bind(data);
    FillLayout(data);
    ASSERT_TRUE(data.Set(1L, 2, "abc"));
    const Bytes good = Store(data);

    TavData fresh;
    TestManager freshManager({1, 2}, {{1, 4}, {2, 6}}, 3);
    freshManager.Bind(fresh);
    for (std::size_t length = 0; length < good.size(); ++length) {
        plat::Archive archive = plat::Archive::ForLoading(Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(length)));
        ASSERT_THROW(fresh.Serialize(archive), plat::ArchiveError) << "truncated at " << length;
    }
    Bytes hugeLocks = good;
    // The lock count sits after the name (5 bytes), template (12) and switches (8) at the end
    // of the block, which is followed by the width array (16 bytes).
    const std::size_t lockCountAt = good.size() - 16 - 12 - 4;
    ASSERT_EQ(hugeLocks[lockCountAt], 1);
    hugeLocks[lockCountAt + 3] = 0x40;
    plat::Archive damaged = plat::Archive::ForLoading(hugeLocks);
    EXPECT_THROW(fresh.Serialize(damaged), plat::ArchiveError) << "a lock count larger than the input";
    Bytes otherKind = good;
    otherKind[1] = 'Z';
    plat::Archive other = plat::Archive::ForLoading(otherKind);
    EXPECT_THROW(fresh.Serialize(other), plat::ArchiveError);

    EXPECT_TRUE(fresh.TemplateName().empty()) << "nothing of a refused document is applied";
    EXPECT_EQ(fresh.Lock().GetSize(), 0u);
    EXPECT_TRUE(fresh.QueryIsBlank(1L, 2));
    EXPECT_TRUE(fresh.Set(1L, 2, "new")) << "the table is still usable";
    EXPECT_EQ(fresh.GetLastInputRecordNo(), 2);
}

TEST(TavStorageTest, LockArrayAndUserDataGenericForms)
{
    TavLockArray locks;
    locks.Add({5, 1, 2});
    plat::Archive store = plat::Archive::ForStoring();
    locks.Serialize(store);
    Bytes expected = {1, 0}; // the framework's 16-bit count
    Append32(expected, {5, 1, 2});
    EXPECT_EQ(store.Bytes(), expected);
    TavLockArray loaded;
    loaded.Add({9, 9, 9});
    plat::Archive load = plat::Archive::ForLoading(store.TakeBytes());
    loaded.Serialize(load);
    EXPECT_EQ(loaded, locks);
    EXPECT_THROW(static_cast<void>(locks.GetAt(1)), plat::InvalidArgument);

    TavUserData empty;
    plat::Archive single = plat::Archive::ForStoring();
    empty.Serialize(single);
    EXPECT_EQ(single.Bytes(), Bytes{0}) << "a header without text is one zero length";
}

} // namespace

TEST(TavStorageTest, ATemplateNameThatIsNotTextOpensAndIsSavedBackByteForByte)
{
    TavData data;
    FillLayout(data);
    Bytes block = Store(data, true);
    // "A", a byte no character of the narrow code page starts with, then "標".
    const Bytes oddName = {4, 'A', 0xFD, 0x95, 0x57};
    block.erase(block.begin(), block.begin() + 5);
    block.insert(block.begin(), oddName.begin(), oddName.end());

    TavData loaded;
    plat::Archive archive = plat::Archive::ForLoading(block);
    ASSERT_NO_THROW(loaded.SerializeTemplate(archive));
    EXPECT_EQ(loaded.TemplateName(), "A\uFFFD標") << "shown with a replacement character";
    EXPECT_EQ(loaded.Template(), (std::vector<unsigned>{3, 1}));
    EXPECT_EQ(Store(loaded, true), block) << "saving writes the same bytes back";

    loaded.TemplateName() = "別名";
    const Bytes renamed = Store(loaded, true);
    EXPECT_EQ(Bytes(renamed.begin(), renamed.begin() + 5), (Bytes{4, 0x95, 0xCA, 0x96, 0xBC})) << "a new name is stored as text";
}
