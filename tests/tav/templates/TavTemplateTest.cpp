// The template store against the in-memory registry, a registry that fails its writes, and a
// SQLite file shared by two connections.
#include "tav/templates/TavTemplate.h"

#include "platform/registry/Registry.h"
#include "platform/registry/SqliteRegistryStore.h"
#include "tav/data/TavData.h"
#include "tav/manager/TavManager.h"
#include "tests/FuzzSeeds.h"
#include "tests/TemporaryFolder.h"
#include "tests/tav/templates/FailingStore.h"
#include "tests/platform/registry/MemoryRegistry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

using namespace plat;

namespace {

class SurveyManager : public TavManager {
public:
    explicit SurveyManager(TavData& data, const char* group = "Points") : TavManager(nullptr), m_group(group)
    {
        AttachTable(&data);
    }
    const char* GetRegSection() override { return "Points"; }
    const char* GetSoftware() override { return "Survey"; }
    const char* GetTemplateGroup() override { return m_group; }

private:
    const char* m_group;
};

const std::string kGroupPath = "Software\\Zervan Soft\\Survey\\Application\\Points\\Cell Template\\Points";

// A stored template's key as the registry holds it, without creating it.
SolKey StoredKey(const std::string& name)
{
    SolKey key;
    key.Open(HKEY_CURRENT_USER, kGroupPath + "\\" + name);
    return key;
}

// Also a seed of the stored-values fuzz target: the texts separated by NUL characters.
void WriteRaw(const std::string& name, const char* items, const char* widths, const char* locks)
{
    using namespace std::string_literals;
    tavtest::WriteFuzzSeed("template_values", "raw-" + name,
                           items + "\0"s + (widths ? widths : "") + "\0"s + (locks ? locks : "") + "\0"s + "0");
    SolKey key(HKEY_CURRENT_USER, kGroupPath + "\\" + name);
    key.SetString("Template", items);
    if (widths)
        key.SetString("Width", widths);
    if (locks)
        key.SetString("Lock", locks);
}

class TavTemplateTest : public ::testing::Test {
protected:
    tavtest::MemoryRegistry m_registry;
    // The names of the group's templates, as the store lists them.
    std::vector<std::string> Names()
    {
        std::vector<std::string> names;
        m_store.GetNameArray(names);
        return names;
    }
    TavData m_data;
    SurveyManager m_manager{m_data};
    TavTemplate m_store{&m_manager};
};

TEST_F(TavTemplateTest, SaveWritesTheStoredFormsAndLoadRestoresThem)
{
    m_data.Template() = {3, 4294967295u, 7};
    m_data.Width() = {80, 120};
    m_data.Lock().Add({4, 0, 9});
    m_data.Lock().Add({7, 2, 2});
    m_data.SetCellLockFlag(TRUE);
    m_data.SetAutoWidthFlag(TRUE);
    ASSERT_EQ(m_store.SaveTemplate("Plan"), 1);

    const SolKey key = StoredKey("Plan");
    ASSERT_TRUE(key.IsOpen()) << "the template lives under the software, category, section and group";
    EXPECT_EQ(key.GetString("Template"), "3,-1,7,") << "identifiers are written as signed numbers";
    EXPECT_EQ(key.GetString("Width"), "80,120,");
    EXPECT_EQ(key.GetString("Lock"), "4.0.9,7.2.2,");
    EXPECT_EQ(key.GetDWord("AutoWidth", 9), 1u);

    TavData loaded;
    SurveyManager other(loaded);
    ASSERT_EQ(TavTemplate(&other).LoadTemplate("plan"), 1) << "names differ only in case";
    EXPECT_EQ(loaded.Template(), (std::vector<unsigned>{3, 4294967295u, 7}));
    EXPECT_EQ(loaded.Width(), (std::vector<unsigned>{80, 120}));
    EXPECT_EQ(loaded.Lock(), m_data.Lock());
    EXPECT_TRUE(loaded.GetCellLockFlag());
    EXPECT_TRUE(loaded.GetAutoWidthFlag());
}

TEST_F(TavTemplateTest, LoadConvertsFieldsByAtoiUpToTheFirstEmptyOne)
{
    WriteRaw("A", "12,x5,,8,", " +7,-1,9abc,99999999999,-2147483648", nullptr);
    TavStoredTemplate stored;
    ASSERT_TRUE(m_store.ReadTemplate("A", stored));
    EXPECT_EQ(stored.items, (std::vector<unsigned>{12, 0}));
    EXPECT_EQ(stored.widths, (std::vector<unsigned>{7, 4294967295u, 9, 2147483647u, 2147483648u}))
        << "blanks and a sign lead, the number ends at a non-digit, overflow saturates";
    ASSERT_EQ(m_store.LoadTemplate("A"), 1);
    EXPECT_EQ(m_data.Width(), (std::vector<unsigned>{7, 32767, 9, 32767, 32767})) << "the table takes them bounded";
}

TEST_F(TavTemplateTest, LockTextDecidesTheEntriesAndTheLockSwitch)
{
    m_data.Lock().Add({1, 1, 1});
    WriteRaw("Short", "1,", nullptr, "5.2,7.1.3,4.0.9.8,.1.2,3..5");
    ASSERT_EQ(m_store.LoadTemplate("Short"), 1);
    ASSERT_EQ(m_data.Lock().GetSize(), 2u) << "entries lacking a part are skipped, extra parts ignored";
    EXPECT_EQ(m_data.Lock().GetAt(0), (TavLockData{7, 1, 3}));
    EXPECT_EQ(m_data.Lock().GetAt(1), (TavLockData{4, 0, 9}));
    EXPECT_TRUE(m_data.GetCellLockFlag());

    WriteRaw("Comma", "1,", nullptr, ",");
    ASSERT_EQ(m_store.LoadTemplate("Comma"), 1);
    EXPECT_TRUE(m_data.Lock().IsEmpty());
    EXPECT_TRUE(m_data.GetCellLockFlag()) << "a lone comma is a lock text all the same";

    // Locks are stored only while the switch is on and there is a range: both ways load
    // back as no locks with the switch off.
    m_data.Lock().Add({2, 0, 1});
    m_data.SetCellLockFlag(FALSE);
    ASSERT_EQ(m_store.SaveTemplate("Off"), 1);
    m_data.Lock().RemoveAll();
    m_data.SetCellLockFlag(TRUE);
    ASSERT_EQ(m_store.SaveTemplate("Empty"), 1);
    for (const char* name : {"Off", "Empty"}) {
        EXPECT_EQ(StoredKey(name).GetString("Lock", "none"), "none") << name;
        m_data.Lock().Add({9, 9, 9});
        m_data.SetCellLockFlag(TRUE);
        ASSERT_EQ(m_store.LoadTemplate(name), 1);
        EXPECT_TRUE(m_data.Lock().IsEmpty()) << name;
        EXPECT_FALSE(m_data.GetCellLockFlag()) << name;
    }
}

TEST_F(TavTemplateTest, TemplateWithoutWidthsKeepsTheTablesWidths)
{
    WriteRaw("NoWidth", "5,6,", nullptr, nullptr);
    WriteRaw("EmptyWidth", "5,6,", "", nullptr);
    m_data.Width() = {40, 50, 60};
    EXPECT_EQ(m_store.LoadTemplate("NoWidth"), 1);
    EXPECT_EQ(m_store.LoadTemplate("EmptyWidth"), 1);
    EXPECT_EQ(m_data.Width(), (std::vector<unsigned>{40, 50, 60}));
}

TEST_F(TavTemplateTest, SavingUnderAnExistingNameReplacesItWhole)
{
    m_data.Template() = {1, 2};
    m_data.Width() = {10, 20};
    m_data.Lock().Add({1, 0, 0});
    m_data.SetCellLockFlag(TRUE);
    ASSERT_EQ(m_store.SaveTemplate("Plan"), 1);
    SolKey(HKEY_CURRENT_USER, kGroupPath + "\\Plan").SetString("Extra", "x");

    m_data.Template() = {2};
    m_data.Width().clear();
    m_data.SetCellLockFlag(FALSE);
    ASSERT_EQ(m_store.SaveTemplate("PLAN"), 1);
    const SolKey key = StoredKey("plan");
    EXPECT_EQ(key.GetString("Template"), "2,");
    for (const char* gone : {"Width", "Lock", "Extra"})
        EXPECT_EQ(key.GetString(gone, "gone"), "gone") << gone << " of the old template survived";
    EXPECT_EQ(Names(), (std::vector<std::string>{"PLAN"}));
}

TEST_F(TavTemplateTest, TemplateWithoutItemsIsUnusableAndCheckRemovesIt)
{
    m_data.Width() = {10};
    ASSERT_EQ(m_store.SaveTemplate("Blank"), 1);
    m_data.Template() = {4};
    ASSERT_EQ(m_store.SaveTemplate("Good"), 1);

    EXPECT_EQ(m_store.LoadTemplate("Blank"), 0);
    EXPECT_EQ(m_data.Template(), (std::vector<unsigned>{4})) << "a refused load leaves the table alone";
    EXPECT_EQ(m_store.CheckTemplate("Good"), 1);
    EXPECT_EQ(m_store.CheckTemplate("Blank"), 0);
    EXPECT_EQ(m_store.CheckTemplate("Never"), 0);
    EXPECT_EQ(Names(), (std::vector<std::string>{"Good"})) << "checking removes the unusable and leaves no trace";
}

TEST_F(TavTemplateTest, RefusedSavesAndNamesThatAreNoKeyKeepTheOldTemplateWhole)
{
    m_data.Template() = {10};
    for (int i = 0; i < 32766; ++i)
        m_data.Template().push_back(1);
    ASSERT_EQ(m_store.SaveTemplate("Big"), 1) << "65,535 characters still fit";
    EXPECT_EQ(StoredKey("Big").GetString("Template").size(), TavTemplate::kMaxTextLength);

    m_data.Template().push_back(1);
    EXPECT_EQ(m_store.SaveTemplate("Big"), 0);
    m_data.Template() = {1};
    for (int i = 0; i < 2500; ++i) // 27 characters each
        m_data.Lock().Add({4294967295u, -2147483647 - 1, -2147483647 - 1});
    m_data.SetCellLockFlag(TRUE);
    EXPECT_EQ(m_store.SaveTemplate("Big"), 0) << "the lock text is limited too";
    EXPECT_EQ(StoredKey("Big").GetString("Template").size(), TavTemplate::kMaxTextLength);

    // A backslash would make a path to another key.
    for (const char* name : {"", "\\", "\\\\", "Big\\x"}) {
        EXPECT_EQ(m_store.SaveTemplate(name), 0) << "a name must address a key of its own";
        EXPECT_EQ(m_store.LoadTemplate(name), 0);
        EXPECT_EQ(m_store.CheckTemplate(name), 0);
        m_store.DeleteTemplate(name);
        m_store.SetCurrentName(name);
        EXPECT_EQ(m_store.GetCurrentName(), "");
    }
    EXPECT_EQ(Names(), (std::vector<std::string>{"Big"}));
    EXPECT_EQ(m_store.CheckTemplate("Big"), 1) << "Big\\x did not reach Big";
    EXPECT_TRUE(TavTemplate::IsUsableName("測量 (旧)"));
}

TEST_F(TavTemplateTest, StoreFailingMidwayKeepsTheOldTemplate)
{
    auto store = std::make_shared<tavtest::FailingStore>();
    RegSetStore(HKEY_CURRENT_USER, store);
    TavTemplate templates(&m_manager);
    m_data.Template() = {1, 2};
    m_data.Width() = {30, 40};
    ASSERT_EQ(templates.SaveTemplate("Plan"), 1);

    m_data.Template() = {9};
    m_data.Width() = {99};
    store->m_failWrites = true;
    EXPECT_EQ(templates.SaveTemplate("Plan"), 0);
    store->m_failWrites = false;
    ASSERT_EQ(templates.LoadTemplate("Plan"), 1);
    EXPECT_EQ(m_data.Template(), (std::vector<unsigned>{1, 2}));
    EXPECT_EQ(m_data.Width(), (std::vector<unsigned>{30, 40}));
}

TEST_F(TavTemplateTest, CurrentNameIsKeptPerGroup)
{
    TavData data;
    SurveyManager lots(data, "Lots");
    TavTemplate lotTemplates(&lots);
    EXPECT_EQ(m_store.GetCurrentName(), "");
    m_store.SetCurrentName("標準");
    lotTemplates.SetCurrentName("Wide");
    m_store.SetCurrentName("");
    EXPECT_EQ(m_store.GetCurrentName(), "標準") << "an empty name is not remembered";
    EXPECT_EQ(lotTemplates.GetCurrentName(), "Wide");

    data.Template() = {5};
    ASSERT_EQ(lotTemplates.SaveTemplate("Wide"), 1);
    EXPECT_TRUE(Names().empty()) << "each group lists its own templates";
    lotTemplates.DeleteTemplate("WIDE");
    EXPECT_EQ(lotTemplates.LoadTemplate("Wide"), 0);
    EXPECT_EQ(lotTemplates.GetCurrentName(), "Wide") << "deleting does not forget the choice";
}

// Two stores over one file stand for two programs; a TavTemplate keeps the store its key was
// opened in, while a save goes to the store behind the root at the time.
TEST(TavTemplateSharedTest, TwoObjectsSeeEachOthersWritesAtOnce)
{
    const tavtest::MemoryRegistry registry;
    const tavtest::TemporaryFolder folder("tavtemplates");
    const std::filesystem::path file = folder.Path() / "user.sqlite3";
    auto first = SqliteRegistryStore::Open(file, SqliteRegistryStore::Mode::ReadWrite);
    auto second = SqliteRegistryStore::Open(file, SqliteRegistryStore::Mode::ReadWrite);
    ASSERT_TRUE(first.store && second.store) << first.error << second.error;
    {
        TavData dialogData, managerData;
        SurveyManager dialogManager(dialogData), manager(managerData);
        RegSetStore(HKEY_CURRENT_USER, std::move(first.store));
        TavTemplate dialog(&dialogManager);
        RegSetStore(HKEY_CURRENT_USER, std::move(second.store));
        TavTemplate temporary(&manager);

        managerData.Template() = {3, 1};
        ASSERT_EQ(temporary.SaveTemplate("Plan"), 1);
        temporary.SetCurrentName("Plan");
        std::vector<std::string> names;
        dialog.GetNameArray(names);
        EXPECT_EQ(names, (std::vector<std::string>{"Plan"}));
        EXPECT_EQ(dialog.GetCurrentName(), "Plan");
        ASSERT_EQ(dialog.LoadTemplate("Plan"), 1);
        EXPECT_EQ(dialogData.Template(), (std::vector<unsigned>{3, 1}));

        dialog.DeleteTemplate("Plan");
        dialog.SetCurrentName("Other");
        EXPECT_EQ(temporary.CheckTemplate("Plan"), 0);
        EXPECT_EQ(temporary.GetCurrentName(), "Other");
    }
}

} // namespace
