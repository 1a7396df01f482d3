// Key tree snapshots and template files: the stored layout, capture and write-back, restores
// that replace a key whole or leave it alone, and damaged files refused.
#include "tav/templates/RegKeyFile.h"
#include "tav/templates/SolsRegKey.h"

#include "platform/io/Files.h"
#include "platform/registry/Registry.h"
#include "tav/data/TavUserData.h"
#include "tests/FuzzSeeds.h"
#include "tests/TemporaryFolder.h"
#include "tests/tav/templates/FailingStore.h"
#include "tests/platform/registry/MemoryRegistry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

using namespace plat;

namespace {

using Bytes = std::vector<std::uint8_t>;

HKEY Create(HKEY parent, const char* path, const char* className = "")
{
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyEx(parent, path, 0, className, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), ERROR_SUCCESS);
    return key;
}

void Set(HKEY key, const char* name, DWORD type, const Bytes& data)
{
    ASSERT_EQ(RegSetValueEx(key, name, 0, type, data.data(), static_cast<DWORD>(data.size())), ERROR_SUCCESS);
}

Bytes Text(std::string_view text, bool terminated = true)
{
    Bytes bytes(text.begin(), text.end());
    if (terminated)
        bytes.push_back(0);
    return bytes;
}

// The stored form of a key, or of whatever is at a path below HKEY_CURRENT_USER ("" when missing).
Bytes Stored(HKEY key)
{
    SolsRegKey tree;
    EXPECT_EQ(tree.ReadFrom(key), 1);
    Archive archive = Archive::ForStoring();
    tree.Serialize(archive);
    return archive.TakeBytes();
}

Bytes StoredAt(const char* path)
{
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return {};
    Bytes bytes = Stored(key);
    RegCloseKey(key);
    return bytes;
}

class RegKeyFileTest : public ::testing::Test {
protected:
    tavtest::MemoryRegistry m_registry;

    // A template as the store writes it, under Group\Plan, saved to a file under this
    // header; returns the key as stored.
    Bytes SavePlan(const std::filesystem::path& file, const char* headerText)
    {
        HKEY plan = Create(HKEY_CURRENT_USER, "Group\\Plan");
        Set(plan, "Template", REG_SZ, Text("3,1,7,"));
        Set(plan, "Width", REG_SZ, Text("80,60,40,"));
        Set(plan, "Lock", REG_SZ, Text("3.0.9,"));
        Set(plan, "AutoWidth", REG_DWORD, {1, 0, 0, 0});
        TavUserData header;
        header.SetString(headerText);
        EXPECT_EQ(SaveKeyToFile(plan, file, header), 1);
        Bytes tree = Stored(plan);
        RegCloseKey(plan);
        return tree;
    }
    // Group\Other, holding what no template file has: a stale value and a sub key.
    static void StoreStaleOther(HKEY group)
    {
        HKEY other = Create(group, "Other");
        Set(other, "Stale", REG_SZ, Text("old"));
        RegCloseKey(Create(other, "Sub"));
        RegCloseKey(other);
    }

    tavtest::TemporaryFolder m_temporary{"tavkeyfile"};
    const std::filesystem::path m_folder = m_temporary.Path();
};

TEST_F(RegKeyFileTest, SnapshotStoresEachValueTypeAndSubKeysInTheFileLayoutAndWritesThemBackUnchanged)
{
    HKEY source = Create(HKEY_CURRENT_USER, "Source");
    Set(source, "", REG_SZ, Text("root"));
    Set(source, "Bin", REG_BINARY, {0x00, 0xFF, 0x10});
    Set(source, "Num", REG_DWORD, {0x78, 0x56, 0x34, 0x12});
    Set(source, "Multi", REG_MULTI_SZ, {'a', 0, 'b', 'c', 0, 0});
    Set(source, "Empty", REG_BINARY, {});
    HKEY child = Create(source, "Child", "Cls");
    HKEY grandChild = Create(child, "Deep");
    Set(grandChild, "x", REG_SZ, Text(""));
    RegCloseKey(grandChild);
    RegCloseKey(child);

    const Bytes expected = [] {
        Bytes b;
        auto u32 = [&](std::uint32_t v) { b.insert(b.end(), {BYTE(v), BYTE(v >> 8), BYTE(v >> 16), BYTE(v >> 24)}); };
        auto str = [&](std::string_view s) { b.push_back(BYTE(s.size())); b.insert(b.end(), s.begin(), s.end()); };
        auto value = [&](std::string_view name, DWORD type, const Bytes& data) {
            str(name); u32(type); u32(static_cast<std::uint32_t>(data.size())); b.insert(b.end(), data.begin(), data.end());
        };
        str(""); str(""); u32(5);
        value("", REG_SZ, Text("root"));
        value("Bin", REG_BINARY, {0x00, 0xFF, 0x10});
        value("Num", REG_DWORD, {0x78, 0x56, 0x34, 0x12});
        value("Multi", REG_MULTI_SZ, {'a', 0, 'b', 'c', 0, 0});
        value("Empty", REG_BINARY, {});
        u32(1);
        str("Child"); str("Cls"); u32(0); u32(1);
        str("Deep"); str(""); u32(1); value("x", REG_SZ, {0}); u32(0);
        return b;
    }();
    EXPECT_EQ(Stored(source), expected) << "root: empty name and class; values in creation order; sub keys depth first";

    SolsRegKey loaded;
    Archive in = Archive::ForLoading(expected);
    loaded.Serialize(in);
    HKEY target = Create(HKEY_CURRENT_USER, "Target");
    EXPECT_EQ(loaded.WriteTo(target), 1);
    EXPECT_EQ(Stored(target), expected) << "every value keeps its type and bytes, every sub key its class";
    RegCloseKey(target);
    RegCloseKey(source);

    SolsRegKey empty;
    Archive out = Archive::ForStoring();
    empty.Serialize(out);
    EXPECT_EQ(out.Bytes(), Bytes(10, 0)) << "an empty key is two empty strings and two zero counts";
}

TEST_F(RegKeyFileTest, TemplateFileHoldsTheHeaderThenTheTreeAndReadingTheHeaderLeavesTheRegistryAlone)
{
    const std::filesystem::path file = m_folder / "CELL01.mbf";
    SavePlan(file, "標準");
    Bytes bytes;
    ASSERT_FALSE(ReadWholeFile(file, bytes));
    tavtest::WriteFuzzSeed("template_file", "plan", bytes);
    ASSERT_GE(bytes.size(), 11u);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 11), (Bytes{4, 0x95, 0x57, 0x8F, 0x80, 0, 0, 4, 0, 0, 0}))
        << "the header in the narrow code page, the root's empty name and class, four values";
    EXPECT_EQ(bytes.back(), 0) << "no sub keys: the file ends with a zero count";

    HKEY group = Create(HKEY_CURRENT_USER, "Group");
    StoreStaleOther(group);
    const Bytes before = StoredAt("Group");

    TavUserData learnt;
    EXPECT_EQ(RestoreKeyFromFile(group, "Other", file, learnt, false), 1);
    EXPECT_EQ(learnt.GetString(), "標準");
    EXPECT_EQ(StoredAt("Group"), before) << "with the write flag clear only the header is read";
    RegCloseKey(group);
}

TEST_F(RegKeyFileTest, RestoreIntoAKeyWithMoreEndsWithOnlyTheFilesContentAndAFailedOneKeepsTheOldKey)
{
    const std::filesystem::path file = m_folder / "plan.mbf";
    const Bytes planTree = SavePlan(file, "Plan");
    HKEY group = Create(HKEY_CURRENT_USER, "Group");
    StoreStaleOther(group);
    TavUserData header;
    EXPECT_EQ(RestoreKeyFromFile(group, "Other", file, header, true), 1);
    EXPECT_EQ(StoredAt("Group\\Other"), planTree) << "the old values and sub keys are gone";
    EXPECT_EQ(RestoreKeyFromFile(group, "New", file, header, true), 1);
    EXPECT_EQ(StoredAt("Group\\New"), planTree) << "a missing key is created";
    RegCloseKey(group);

    auto refusing = std::make_shared<tavtest::FailingStore>();
    RegSetStore(HKEY_CURRENT_USER, refusing);
    group = Create(HKEY_CURRENT_USER, "Group");
    StoreStaleOther(group);
    const Bytes before = StoredAt("Group");
    refusing->m_failWrites = true;
    std::string why;
    EXPECT_EQ(RestoreKeyFromFile(group, "Other", file, header, true, &why), 0);
    EXPECT_NE(why.find("left as it was"), std::string::npos) << why;
    EXPECT_EQ(StoredAt("Group"), before) << "nothing is deleted before the new key is written whole";
    RegCloseKey(group);
}

TEST_F(RegKeyFileTest, DamagedOrHostileFilesAreRefusedWithoutTouchingTheRegistry)
{
    const std::filesystem::path file = m_folder / "bad.mbf";
    SavePlan(file, "Plan");
    HKEY group = Create(HKEY_CURRENT_USER, "Group");
    Bytes good;
    ASSERT_FALSE(ReadWholeFile(file, good));
    const Bytes before = StoredAt("Group");

    auto refused = [&](const Bytes& bytes, const char* why) {
        ASSERT_FALSE(WriteFileAtomically(file, bytes));
        TavUserData learnt;
        std::string reason;
        EXPECT_EQ(RestoreKeyFromFile(group, "Plan", file, learnt, true, &reason), 0) << why;
        EXPECT_NE(reason.find("bad.mbf"), std::string::npos) << why << ": the reason names the file: " << reason;
        EXPECT_EQ(StoredAt("Group"), before) << why;
    };
    for (std::size_t size = 0; size < good.size(); size += 7)
        refused(Bytes(good.begin(), good.begin() + size), "truncated");
    Bytes longer = good;
    longer.push_back(0);
    refused(longer, "bytes after the tree");

    Bytes prefix = {0, 0, 0};                       // header, root name, root class
    auto u32 = [](Bytes& b, std::initializer_list<std::uint32_t> words) {
        for (const std::uint32_t v : words)
            b.insert(b.end(), {BYTE(v), BYTE(v >> 8), BYTE(v >> 16), BYTE(v >> 24)});
    };
    Bytes hugeSize = prefix;
    u32(hugeSize, {1});
    hugeSize.insert(hugeSize.end(), {1, 'v'});
    u32(hugeSize, {REG_BINARY, 0xFFFFFFF0u});
    refused(hugeSize, "a value size larger than the file");
    Bytes hugeCount = prefix;
    u32(hugeCount, {0, 0x7FFFFFFFu});
    refused(hugeCount, "a sub key count larger than the file");
    refused(Bytes{0xFF, 0x00, 0x10, 'a'}, "a length prefix larger than the file");
    Bytes badName = prefix;
    u32(badName, {0, 1});
    badName.insert(badName.end(), {3, 'a', '\\', 'b', 0});
    u32(badName, {0, 0});
    refused(badName, "a sub key name with a separator");
    refused(Bytes{2, 0x81, 0x20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, "a header that is not valid in the narrow code page");

    Bytes deep = prefix;
    for (int level = 0; level < 5000; ++level) {
        u32(deep, {0, 1});
        deep.insert(deep.end(), {1, 'k', 0});
    }
    u32(deep, {0, 0});
    refused(deep, "keys nested 5000 deep");
    RegCloseKey(group);
}

TEST_F(RegKeyFileTest, SaveRefusesNamesTheNarrowCodePageCannotHoldAndKeepsTheOldFile)
{
    HKEY key = Create(HKEY_CURRENT_USER, "Odd");
    Set(key, "\xF0\x9F\x98\x80", REG_SZ, Text("x")); // an emoji: no narrow code page has it
    const std::filesystem::path file = m_folder / "odd.mbf";
    ASSERT_FALSE(WriteFileAtomically(file, std::string_view("old")));
    TavUserData header;
    header.SetString("Odd");
    std::string why;
    EXPECT_EQ(SaveKeyToFile(key, file, header, &why), 0);
    EXPECT_NE(why.find("narrow code page"), std::string::npos) << why;
    Bytes kept;
    ASSERT_FALSE(ReadWholeFile(file, kept));
    EXPECT_EQ(kept, Text("old", false));
    RegCloseKey(key);

    HKEY parent = Create(HKEY_CURRENT_USER, "Tree");
    RegCloseKey(Create(parent, "A\\B\\C"));
    EXPECT_EQ(DeleteKeyTree(parent, "A"), 1);
    EXPECT_EQ(DeleteKeyTree(parent, "Missing"), 1) << "a key that is not there counts as deleted";
    EXPECT_EQ(StoredAt("Tree"), Bytes(10, 0));
    RegCloseKey(parent);
}

} // namespace
