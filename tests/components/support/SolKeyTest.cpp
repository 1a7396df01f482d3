// SolKey and the suite's key naming over the in-memory registry.
#include "components/support/SolKey.h"
#include "components/support/SolRegistry.h"
#include "platform/registry/MemoryRegistryStore.h"
#include "platform/registry/Registry.h"
#include "platform/registry/SqliteRegistryStore.h"
#include "platform/resource/AppIdentity.h"
#include "tests/platform/registry/TemporaryRegistry.h"

#include <gtest/gtest.h>

using namespace plat;

namespace {

class SolKeyTest : public testing::Test {
protected:
    void SetUp() override { RegSetStore(HKEY_CURRENT_USER, std::make_shared<MemoryRegistryStore>()); }

    static std::vector<BYTE> Raw(HKEY key, const char* name, DWORD& type)
    {
        std::vector<BYTE> data(256);
        DWORD length = static_cast<DWORD>(data.size());
        EXPECT_EQ(RegQueryValueEx(key, name, nullptr, &type, data.data(), &length), ERROR_SUCCESS) << name;
        data.resize(length);
        return data;
    }

    tavtest::TemporaryRegistry m_registry;
};

TEST_F(SolKeyTest, TypedValuesStoreTheirPlatformFormAndReadBackWithDefaults)
{
    SolKey key(HKEY_CURRENT_USER, "Software\\Test");
    ASSERT_TRUE(key.IsOpen());
    EXPECT_TRUE(key.SetString("text", "日本語"));
    EXPECT_TRUE(key.SetDWord("number", 0x0080FFFF));
    EXPECT_TRUE(key.SetBool("flag", 7));
    const BYTE blob[] = {9, 8, 7, 6, 5};
    EXPECT_TRUE(key.SetBinary("blob", blob, sizeof blob));
    EXPECT_TRUE(key.SetBinary("empty", nullptr, 0));

    DWORD type = 0;
    const std::string text = "日本語";
    EXPECT_EQ(Raw(key, "text", type), std::vector<BYTE>(text.c_str(), text.c_str() + text.size() + 1));
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(Raw(key, "number", type), (std::vector<BYTE>{0xFF, 0xFF, 0x80, 0x00})) << "little-endian DWORD";
    EXPECT_EQ(Raw(key, "flag", type), (std::vector<BYTE>{1, 0, 0, 0})) << "a boolean is a DWORD 0 or 1";
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_TRUE(Raw(key, "empty", type).empty());
    EXPECT_EQ(type, REG_BINARY);

    EXPECT_EQ(key.GetString("TEXT"), text);
    EXPECT_EQ(key.GetDWord("Number", 1), 0x0080FFFFu);
    EXPECT_EQ(key.GetBool("flag", FALSE), TRUE);
    EXPECT_EQ(key.GetString("missing", "fallback"), "fallback");
    EXPECT_EQ(key.GetDWord("missing", 255), 255u);
    EXPECT_EQ(key.GetBool("missing", TRUE), TRUE);
    EXPECT_EQ(key.GetDWord("text", 3), 3u) << "a value of another type reads as missing";
    EXPECT_EQ(key.GetString("number", "n"), "n");

    BYTE buffer[8] = {0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA};
    EXPECT_EQ(key.GetBinary("blob", buffer, 3), 3u) << "a longer value is cut to the buffer";
    EXPECT_EQ(buffer[3], 0xAA);
    EXPECT_EQ(key.GetBinary("blob", buffer, sizeof buffer), 5u);
    EXPECT_EQ(buffer[4], 5);
    EXPECT_EQ(buffer[5], 0xAA) << "nothing past the stored bytes is written";
    EXPECT_EQ(key.GetBinary("empty", buffer, sizeof buffer), 0u);
    EXPECT_EQ(key.GetBinary("missing", buffer, sizeof buffer), 0u);

    // A long string goes beyond the first read's guess.
    const std::string longText(1000, 'x');
    EXPECT_TRUE(key.SetString("long", longText));
    EXPECT_EQ(key.GetString("long"), longText);
}

TEST_F(SolKeyTest, OpenCreateAndClose)
{
    SolKey key;
    EXPECT_FALSE(key.IsOpen());
    EXPECT_FALSE(key.SetDWord("x", 1)) << "an empty key writes nothing";
    EXPECT_FALSE(key.Open(HKEY_CURRENT_USER, "Software\\A\\B"));
    EXPECT_TRUE(key.Create(HKEY_CURRENT_USER, "Software\\A\\B"));
    EXPECT_TRUE(key.SetDWord("x", 1));

    SolKey root(HKEY_CURRENT_USER);
    SolKey reopened;
    EXPECT_TRUE(reopened.Open(root, "software\\a\\b"));
    EXPECT_EQ(reopened.GetDWord("X"), 1u);
    SolKey moved = std::move(reopened);
    EXPECT_FALSE(reopened.IsOpen());
    EXPECT_EQ(moved.GetDWord("x"), 1u);
    moved.Close();
    EXPECT_FALSE(moved.IsOpen());
    root.Close();
    EXPECT_TRUE(SolKey(HKEY_CURRENT_USER).SetDWord("root still open", 1)) << "closing a root does not close it";

    // The registry ends names at NUL: "x\0y" must not reach "x".
    const std::string nul("x\0y", 3);
    EXPECT_FALSE(key.SetDWord(nul, 2));
    EXPECT_EQ(key.GetDWord(nul, 7), 7u);
    EXPECT_EQ(key.GetDWord("x"), 1u);
    EXPECT_FALSE(SolKey(HKEY_CURRENT_USER, "Software\\A\\" + nul).IsOpen());
    SolKey sub(key, "x");
    EXPECT_FALSE(key.DeleteKey(nul));
    EXPECT_TRUE(sub.Open(key, "x")) << "nor delete it";
}

TEST_F(SolKeyTest, TheSuiteKeysLieWhereThePartsOfTheLibraryMeet)
{
    const AppIdentity saved = GetAppIdentity();
    SetAppIdentity({"Coordinates", "Survey"});
    EXPECT_EQ(SolGetApplicationKeyName(), "Software\\Zervan Soft\\Coordinates\\Survey");
    SolKey application;
    ASSERT_TRUE(SolGetApplicationKey(application));
    application.SetString("marker", "here");
    SolKey direct;
    ASSERT_TRUE(direct.Open(HKEY_CURRENT_USER, "Software\\Zervan Soft\\Coordinates\\Survey"));
    EXPECT_EQ(direct.GetString("marker"), "here");
    SetAppIdentity(saved);

    SolKey common;
    ASSERT_TRUE(SolGetCommonSubKey(common, "Path")) << "a common key is created when missing";
    EXPECT_TRUE(common.SetString("Data_Forward_Path", "/mnt/share"));

    SolKey system;
    EXPECT_FALSE(SolGetSystemSubKey(system, "Pallete")) << "a missing system key is an answer, not created";
    EXPECT_FALSE(SolKey().Open(HKEY_CURRENT_USER, SolGetSystemKeyName()));
    SolKey(HKEY_CURRENT_USER, SolGetSystemKeyName() + "\\Pallete");
    EXPECT_TRUE(SolGetSystemSubKey(system, "PALLETE"));
    EXPECT_EQ(SolGetSystemKeyName().rfind("Software\\Zervan Soft\\", 0), 0u);

    // The machine-wide root is read only: its keys open for reading.
    EXPECT_FALSE(SolGetSystemSubKey(system, "Pallete", HKEY_LOCAL_MACHINE));
    {
        auto opened = SqliteRegistryStore::Open(m_registry.MachinePath(), SqliteRegistryStore::Mode::ReadWrite);
        ASSERT_TRUE(opened.store) << opened.error;
        RegKeyId id = 0;
        bool created = false;
        const std::string_view names[] = {"Software", "Zervan Soft", "System", "Pallete"};
        ASSERT_EQ(opened.store->CreateKeyPath(opened.store->RootKey(), names, "", id, created), ERROR_SUCCESS);
        ASSERT_EQ(opened.store->SetValue(id, "TAV_LOCK_BACK_COLOR", REG_DWORD, std::vector<BYTE>{1, 2, 3, 0}),
                  ERROR_SUCCESS);
    }
    RegSetStore(HKEY_LOCAL_MACHINE, nullptr);
    ASSERT_TRUE(SolGetSystemSubKey(system, "Pallete", HKEY_LOCAL_MACHINE));
    EXPECT_EQ(system.GetDWord("TAV_LOCK_BACK_COLOR"), 0x030201u);
    EXPECT_FALSE(system.SetDWord("TAV_LOCK_BACK_COLOR", 0));
}

} // namespace
