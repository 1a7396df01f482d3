// The registry functions behave alike on both stores: names without regard to case,
// enumeration order, the buffer rules, deletes, access rights, all-or-nothing changes.
#include "platform/registry/MemoryRegistryStore.h"
#include "platform/registry/Registry.h"
#include "platform/registry/SqliteRegistryStore.h"
#include "tests/platform/registry/TemporaryRegistry.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace plat;

namespace {

enum class Backend { Memory, Sqlite };

class RegistryTest : public testing::TestWithParam<Backend> {
protected:
    void SetUp() override
    {
        if (GetParam() == Backend::Memory) {
            RegSetStore(HKEY_CURRENT_USER, std::make_shared<MemoryRegistryStore>());
        } else {
            auto opened = SqliteRegistryStore::Open(m_registry.UserPath(), SqliteRegistryStore::Mode::ReadWrite);
            ASSERT_TRUE(opened.store) << opened.error;
            RegSetStore(HKEY_CURRENT_USER, std::move(opened.store));
        }
    }

    static HKEY Create(HKEY parent, const char* path)
    {
        HKEY key = nullptr;
        EXPECT_EQ(RegCreateKeyEx(parent, path, 0, "", 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), ERROR_SUCCESS);
        return key;
    }
    static LONG SetText(HKEY key, const char* name, const std::string& text)
    {
        return RegSetValueEx(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                             static_cast<DWORD>(text.size() + 1));
    }
    // The names a key lists through RegEnumKeyEx or RegEnumValue, in the order it gives them.
    template <typename Enumerate>
    static std::vector<std::string> Names(HKEY key, Enumerate enumerate)
    {
        std::vector<std::string> names;
        char name[256];
        for (DWORD i = 0;; ++i) {
            DWORD length = sizeof name;
            const LONG status = enumerate(key, i, name, &length, nullptr, nullptr, nullptr, nullptr);
            if (status == ERROR_NO_MORE_ITEMS)
                return names;
            EXPECT_EQ(status, ERROR_SUCCESS);
            names.emplace_back(name, length);
        }
    }
    static std::vector<std::string> SubKeys(HKEY key) { return Names(key, RegEnumKeyEx); }
    static std::vector<std::string> ValueNames(HKEY key) { return Names(key, RegEnumValue); }

    tavtest::TemporaryRegistry m_registry;
};

TEST_P(RegistryTest, NamesMatchWithoutRegardToCaseAndKeepTheirFirstCase)
{
    HKEY first = Create(HKEY_CURRENT_USER, "Software\\Zervan Soft\\Ｑｚ");
    HKEY again = nullptr;
    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "SOFTWARE\\zervan soft\\ｑｚ", 0, "", 0, KEY_ALL_ACCESS, nullptr,
                             &again, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY)) << "full-width letters fold too";

    ASSERT_EQ(SetText(first, "Color", "red"), ERROR_SUCCESS);
    ASSERT_EQ(SetText(again, "COLOR", "blue"), ERROR_SUCCESS);
    char data[16];
    DWORD length = sizeof data;
    DWORD type = 0;
    ASSERT_EQ(RegQueryValueEx(first, "color", nullptr, &type, reinterpret_cast<BYTE*>(data), &length), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(std::string(data, length), std::string("blue", 5)) << "one value, the terminating zero kept";
    EXPECT_EQ(ValueNames(first), std::vector<std::string>{"Color"}) << "the name keeps its first case";

    HKEY software = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "software", 0, KEY_READ, &software), ERROR_SUCCESS);
    EXPECT_EQ(SubKeys(software), std::vector<std::string>{"Zervan Soft"});
    HKEY missing = nullptr;
    EXPECT_EQ(RegOpenKeyEx(software, "Nobody", 0, KEY_READ, &missing), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(missing, nullptr);
    for (HKEY key : {first, again, software})
        EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

TEST_P(RegistryTest, SubKeysEnumerateByNameAndValuesInCreationOrder)
{
    HKEY key = Create(HKEY_CURRENT_USER, "Order");
    for (const char* name : {"delta", "Bravo", "alpha", "Charlie"})
        RegCloseKey(Create(key, name));
    EXPECT_EQ(SubKeys(key), (std::vector<std::string>{"alpha", "Bravo", "Charlie", "delta"}));

    for (const char* name : {"z", "A", "m", "b"})
        ASSERT_EQ(SetText(key, name, name), ERROR_SUCCESS);
    ASSERT_EQ(SetText(key, "Z", "again"), ERROR_SUCCESS);
    EXPECT_EQ(ValueNames(key), (std::vector<std::string>{"z", "A", "m", "b"}))
        << "rewriting a value keeps its place";
    ASSERT_EQ(RegDeleteValue(key, "A"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValue(key, "A"), ERROR_FILE_NOT_FOUND);
    ASSERT_EQ(SetText(key, "a", "new"), ERROR_SUCCESS);
    EXPECT_EQ(ValueNames(key), (std::vector<std::string>{"z", "m", "b", "a"}))
        << "a value created after a delete comes last, in its new case";
    RegCloseKey(key);
}

TEST_P(RegistryTest, BuffersFollowThePlatformRules)
{
    HKEY key = Create(HKEY_CURRENT_USER, "Buffers");
    const BYTE blob[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    ASSERT_EQ(RegSetValueEx(key, "blob", 0, REG_BINARY, blob, sizeof blob), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueEx(key, "empty", 0, REG_BINARY, nullptr, 0), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueEx(key, nullptr, 0, REG_QWORD, blob, 8), ERROR_SUCCESS);

    DWORD length = 0;
    ASSERT_EQ(RegQueryValueEx(key, "blob", nullptr, nullptr, nullptr, &length), ERROR_SUCCESS);
    EXPECT_EQ(length, sizeof blob) << "no buffer: the size needed";
    BYTE small[4] = {};
    length = sizeof small;
    EXPECT_EQ(RegQueryValueEx(key, "blob", nullptr, nullptr, small, &length), ERROR_MORE_DATA);
    EXPECT_EQ(length, sizeof blob);
    BYTE full[16] = {};
    length = sizeof full;
    DWORD type = 0;
    ASSERT_EQ(RegQueryValueEx(key, "BLOB", nullptr, &type, full, &length), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_BINARY);
    EXPECT_EQ(0, std::memcmp(full, blob, sizeof blob));

    length = sizeof full;
    ASSERT_EQ(RegQueryValueEx(key, "empty", nullptr, &type, full, &length), ERROR_SUCCESS);
    EXPECT_EQ(length, 0u) << "an empty value exists and has no bytes";
    length = sizeof full;
    ASSERT_EQ(RegQueryValueEx(key, "", nullptr, &type, full, &length), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_QWORD) << "a type the system does not interpret is kept";
    EXPECT_EQ(RegQueryValueEx(key, "none", nullptr, &type, full, &length), ERROR_FILE_NOT_FOUND);

    RegCloseKey(Create(key, "a rather long sub key name"));
    char name[8];
    length = sizeof name;
    EXPECT_EQ(RegEnumKeyEx(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);
    EXPECT_EQ(RegEnumKeyEx(key, 1, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
    char valueName[8];
    length = sizeof valueName;
    DWORD dataLength = 2;
    EXPECT_EQ(RegEnumValue(key, 0, valueName, &length, nullptr, &type, full, &dataLength), ERROR_MORE_DATA)
        << "10 bytes do not fit 2";
    EXPECT_EQ(dataLength, sizeof blob);
    RegCloseKey(key);
}

TEST_P(RegistryTest, KeyInformationCountsAndMeasures)
{
    HKEY key = Create(HKEY_CURRENT_USER, "Info");
    HKEY sub = nullptr;
    ASSERT_EQ(RegCreateKeyEx(key, "sub key", 0, "SeRestorePrivilege", 0, KEY_ALL_ACCESS, nullptr, &sub, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(sub);
    RegCloseKey(Create(key, "s"));
    ASSERT_EQ(SetText(key, "value name", "0123456789"), ERROR_SUCCESS);
    ASSERT_EQ(SetText(key, "v", ""), ERROR_SUCCESS);

    DWORD subKeys = 0, longestSubKey = 0, longestClass = 0, values = 0, longestValueName = 0, longestData = 0;
    ASSERT_EQ(RegQueryInfoKey(key, nullptr, nullptr, nullptr, &subKeys, &longestSubKey, &longestClass, &values,
                              &longestValueName, &longestData, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(subKeys, 2u);
    EXPECT_EQ(longestSubKey, 7u);
    EXPECT_EQ(longestClass, 18u);
    EXPECT_EQ(values, 2u);
    EXPECT_EQ(longestValueName, 10u);
    EXPECT_EQ(longestData, 11u) << "the terminating zero is data";

    char className[32];
    DWORD classLength = sizeof className;
    char name[32];
    DWORD nameLength = sizeof name;
    ASSERT_EQ(RegEnumKeyEx(key, 1, name, &nameLength, nullptr, className, &classLength, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(std::string(className, classLength), "SeRestorePrivilege");
    RegCloseKey(key);
}

TEST_P(RegistryTest, DeletingKeys)
{
    HKEY tree = Create(HKEY_CURRENT_USER, "Tree\\a\\b\\c");
    ASSERT_EQ(SetText(tree, "leaf", "x"), ERROR_SUCCESS);
    HKEY top = Create(HKEY_CURRENT_USER, "Tree");
    EXPECT_EQ(RegDeleteKey(top, "a"), ERROR_ACCESS_DENIED) << "a key with sub keys stays";
    EXPECT_EQ(RegDeleteKey(top, "a\\b\\c"), ERROR_SUCCESS);
    RegCloseKey(Create(HKEY_CURRENT_USER, "Created after the delete"));
    EXPECT_EQ(RegSetValueEx(tree, "late", 0, REG_BINARY, nullptr, 0), ERROR_KEY_DELETED)
        << "a handle outlives its key but cannot write into it, nor into a key made later";
    RegCloseKey(tree);

    tree = Create(top, "A\\B\\C\\D");
    ASSERT_EQ(SetText(tree, "leaf", "x"), ERROR_SUCCESS);
    RegCloseKey(tree);
    EXPECT_EQ(RegDeleteTree(top, "a"), ERROR_SUCCESS);
    EXPECT_TRUE(SubKeys(top).empty());
    EXPECT_EQ(RegDeleteTree(top, "a"), ERROR_FILE_NOT_FOUND);
    HKEY gone = nullptr;
    EXPECT_EQ(RegOpenKeyEx(top, "a\\b\\c\\d", 0, KEY_READ, &gone), ERROR_FILE_NOT_FOUND);
    // A new key of the same name starts empty: nothing of the old tree comes back.
    tree = Create(top, "a\\b\\c\\d");
    DWORD values = 99;
    ASSERT_EQ(RegQueryInfoKey(tree, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr,
                              nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(values, 0u);
    RegCloseKey(tree);
    RegCloseKey(top);
}

TEST_P(RegistryTest, HandlesCarryTheirAccessRights)
{
    HKEY writable = Create(HKEY_CURRENT_USER, "Rights");
    HKEY readable = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Rights", 0, KEY_READ, &readable), ERROR_SUCCESS);
    EXPECT_EQ(SetText(readable, "x", "y"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(SetText(writable, "x", "y"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValue(readable, "x"), ERROR_ACCESS_DENIED);
    HKEY writeOnly = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Rights", 0, KEY_SET_VALUE, &writeOnly), ERROR_SUCCESS);
    DWORD length = 0;
    EXPECT_EQ(RegQueryValueEx(writeOnly, "x", nullptr, nullptr, nullptr, &length), ERROR_ACCESS_DENIED);

    EXPECT_EQ(RegCloseKey(readable), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(readable), ERROR_INVALID_HANDLE) << "a closed handle is refused, not used";
    EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
    EXPECT_EQ(SetText(HKEY_CURRENT_USER, "root value", "still usable"), ERROR_SUCCESS);
    RegCloseKey(writeOnly);
    RegCloseKey(writable);
}

TEST_P(RegistryTest, AppliedChangesAreAllOrNothing)
{
    HKEY key = Create(HKEY_CURRENT_USER, "Import\\Old");
    ASSERT_EQ(SetText(key, "keep", "me"), ERROR_SUCCESS);
    RegCloseKey(key);

    const BYTE one[] = {1, 0, 0, 0};
    std::vector<RegChange> changes = {
        {RegChange::Kind::DeleteTree, "Import\\Old", "", 0, {}},
        {RegChange::Kind::SetValue, "Import\\New\\Deep", "n", REG_DWORD, {one, one + 4}},
        {RegChange::Kind::DeleteTree, "", "", 0, {}}, // the root itself: refused
    };
    EXPECT_NE(RegApplyChanges(HKEY_CURRENT_USER, changes), ERROR_SUCCESS);
    HKEY probe = nullptr;
    EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Import\\New", 0, KEY_READ, &probe), ERROR_FILE_NOT_FOUND)
        << "nothing of a refused change is applied";
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Import\\Old", 0, KEY_READ, &probe), ERROR_SUCCESS);
    RegCloseKey(probe);

    changes.pop_back();
    changes.push_back({RegChange::Kind::DeleteValue, "Import\\New\\Deep", "absent", 0, {}});
    changes.push_back({RegChange::Kind::DeleteTree, "Import\\Never\\There", "", 0, {}});
    ASSERT_EQ(RegApplyChanges(HKEY_CURRENT_USER, changes), ERROR_SUCCESS) << "deleting what is missing is no fault";
    EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Import\\Old", 0, KEY_READ, &probe), ERROR_FILE_NOT_FOUND);
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Import\\New\\Deep", 0, KEY_READ, &probe), ERROR_SUCCESS);
    DWORD type = 0;
    DWORD length = 0;
    EXPECT_EQ(RegQueryValueEx(probe, "N", nullptr, &type, nullptr, &length), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_DWORD);
    RegCloseKey(probe);
}

// A name with NUL could be stored but never named again (the calls end names at NUL), and
// the registry stops at 512 levels: both are refused whole, by every way into a store.
TEST_P(RegistryTest, NamesWithNulAndKeysDeeperThan512LevelsAreRefused)
{
    const std::shared_ptr<RegistryStore> store = RegGetStore(HKEY_CURRENT_USER);
    const std::string nul("a\0b", 3);
    const std::string_view names[] = {"Fine", nul};
    RegKeyId id = 0;
    bool created = false;
    EXPECT_EQ(store->CreateKeyPath(store->RootKey(), names, "", id, created), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(store->SetValue(store->RootKey(), nul, REG_SZ, {}), ERROR_INVALID_PARAMETER);
    const std::vector<RegChange> withNul[] = {
        {{RegChange::Kind::CreateKey, "Fine", "", 0, {}}, {RegChange::Kind::CreateKey, "Fine\\" + nul, "", 0, {}}},
        {{RegChange::Kind::CreateKey, "Fine", "", 0, {}}, {RegChange::Kind::SetValue, "Fine", nul, REG_SZ, {}}},
    };
    for (const auto& changes : withNul)
        EXPECT_EQ(RegApplyChanges(HKEY_CURRENT_USER, changes), ERROR_INVALID_PARAMETER);
    EXPECT_TRUE(SubKeys(HKEY_CURRENT_USER).empty()) << "nothing of a refused change is kept";

    std::string path;
    for (int level = 0; level < 511; ++level)
        path += "L\\";
    HKEY deep = Create(HKEY_CURRENT_USER, (path + "L").c_str());
    ASSERT_NE(deep, nullptr) << "512 levels are allowed";
    HKEY tooDeep = nullptr;
    EXPECT_EQ(RegCreateKeyEx(deep, "M", 0, "", 0, KEY_ALL_ACCESS, nullptr, &tooDeep, nullptr),
              ERROR_INVALID_PARAMETER);
    RegCloseKey(deep);
    HKEY middle = Create(HKEY_CURRENT_USER, "L\\L");
    EXPECT_EQ(RegCreateKeyEx(middle, (path + "New\\M").c_str(), 0, "", 0, KEY_ALL_ACCESS, nullptr, &tooDeep,
                             nullptr),
              ERROR_INVALID_PARAMETER);
    RegCloseKey(middle);
    EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, (path + "New").c_str(), 0, KEY_READ, &tooDeep), ERROR_FILE_NOT_FOUND)
        << "a refused path leaves none of its levels";
    const std::vector<RegChange> deeper = {{RegChange::Kind::SetValue, path + "L\\M", "v", REG_SZ, {}}};
    EXPECT_EQ(RegApplyChanges(HKEY_CURRENT_USER, deeper), ERROR_INVALID_PARAMETER);
}

INSTANTIATE_TEST_SUITE_P(Stores, RegistryTest, testing::Values(Backend::Memory, Backend::Sqlite),
                         [](const testing::TestParamInfo<Backend>& info) {
                             return info.param == Backend::Memory ? "Memory" : "Sqlite";
                         });

} // namespace
