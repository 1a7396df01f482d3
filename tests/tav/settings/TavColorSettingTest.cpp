// The appearance settings against a temporary user registry: first run, the one-time
// migration, the stored font record, and what reaches the edit controls and the grids.
#include "tav/settings/TavColorSetting.h"
#include "tav/settings/TavInitCell.h"

#include "components/mox/MoxCellFont.h"
#include "components/support/LunErrorColor.h"
#include "components/support/SolKey.h"
#include "components/support/SolRegistry.h"
#include "platform/registry/MemoryRegistryStore.h"
#include "platform/registry/Registry.h"
#include "tests/platform/registry/TemporaryRegistry.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace plat;

namespace {

const std::string kOldKey = SolGetSystemKeyName() + "\\Pallete";

DWORD ValueCount(HKEY key)
{
    DWORD count = 0;
    EXPECT_EQ(RegQueryInfoKey(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr, nullptr,
                              nullptr, nullptr),
              ERROR_SUCCESS);
    return count;
}

LOGFONTA SampleFont()
{
    LOGFONTA font;
    font.lfHeight = -16;
    font.lfWeight = 700;
    font.lfCharSet = 128;
    std::strcpy(font.lfFaceName, "Mono");
    return font;
}

class TavColorSettingTest : public testing::Test {
protected:
    void SetUp() override
    {
        LunSetErrorColor(RGB(1, 2, 3), TRUE);
        MoxSetCellFont(nullptr);
    }
    void TearDown() override { MoxSetCellFont(nullptr); }

    tavtest::TemporaryRegistry m_registry;
};

TEST_F(TavColorSettingTest, AFreshUserGetsAnEmptyKeyAndTheDefaults)
{
    TavColorSetting setting;
    setting.m_warningTextColor = 1;
    setting.m_lockBackColor = 2;
    setting.m_useFont = TRUE;
    setting.m_logFont = SampleFont();
    ASSERT_EQ(setting.Load(), 1);
    EXPECT_EQ(setting.m_warningTextColor, 0x000000FFu);
    EXPECT_EQ(setting.m_lockBackColor, 0x0080FFFFu);
    EXPECT_EQ(setting.m_useFont, FALSE);
    EXPECT_STREQ(setting.m_logFont.lfFaceName, "Mono") << "a missing font value leaves the field as it was";

    SolKey key;
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, TavColorSetting::GetKeyPath())) << "Load creates the key";
    EXPECT_EQ(ValueCount(key), 0u) << "and writes nothing into it";
    EXPECT_EQ(LunGetErrorColor(), 0x000000FFu) << "the edit controls get the warning colour";
    EXPECT_EQ(LunGetErrorColorFlag(), FALSE);
}

TEST_F(TavColorSettingTest, OldColoursMoveToTheNewKeyOnce)
{
    {
        SolKey old(HKEY_CURRENT_USER, kOldKey);
        old.SetDWord("TAV_WARNING_TEXT_COLOR", RGB(0, 0, 255));
        old.SetDWord("TAV_LOCK_BACK_COLOR", RGB(200, 200, 200));
    }
    TavColorSetting setting;
    ASSERT_EQ(setting.Load(), 1);
    EXPECT_EQ(setting.m_warningTextColor, RGB(0, 0, 255));
    EXPECT_EQ(setting.m_lockBackColor, RGB(200, 200, 200));
    EXPECT_EQ(setting.m_useFont, FALSE);

    SolKey old;
    ASSERT_TRUE(old.Open(HKEY_CURRENT_USER, kOldKey));
    EXPECT_EQ(ValueCount(old), 0u) << "the old values are removed";
    SolKey current;
    ASSERT_TRUE(current.Open(HKEY_CURRENT_USER, TavColorSetting::GetKeyPath()));
    EXPECT_EQ(current.GetDWord("TAV_WARNING_TEXT_COLOR"), RGB(0, 0, 255));
    EXPECT_EQ(current.GetBool("TAV_USE_FONT", TRUE), FALSE);
    DWORD type = 0;
    DWORD length = 99;
    ASSERT_EQ(RegQueryValueEx(current, "TAV_LOGFONT", nullptr, &type, nullptr, &length), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_BINARY);
    EXPECT_EQ(length, 0u) << "an empty font value, since no font is used";

    // Values that turn up at the old place later are not taken again.
    old.SetDWord("TAV_WARNING_TEXT_COLOR", RGB(9, 9, 9));
    TavColorSetting again;
    ASSERT_EQ(again.Load(), 1);
    EXPECT_EQ(again.m_warningTextColor, RGB(0, 0, 255));
    EXPECT_EQ(ValueCount(old), 1u) << "the old key is left alone once the new one exists";
}

TEST_F(TavColorSettingTest, TheFontIsStoredByteForByteOnlyWhileInUse)
{
    TavColorSetting setting;
    setting.m_warningTextColor = RGB(10, 20, 30);
    setting.m_lockBackColor = RGB(40, 50, 60);
    setting.m_useFont = TRUE;
    setting.m_logFont = SampleFont();
    ASSERT_EQ(setting.Save(), 1);

    SolKey key;
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, TavColorSetting::GetKeyPath()));
    BYTE stored[80] = {};
    ASSERT_EQ(key.GetBinary("TAV_LOGFONT", stored, sizeof stored), 60u);
    EXPECT_EQ(stored[0], 0xF0) << "lfHeight -16, little-endian";
    EXPECT_EQ(stored[3], 0xFF);
    EXPECT_EQ(stored[16] | (stored[17] << 8), 700) << "lfWeight at offset 16";
    EXPECT_EQ(stored[23], 128) << "lfCharSet at offset 23";
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(stored + 28)), "Mono") << "the face name at offset 28";

    TavColorSetting loaded;
    ASSERT_EQ(loaded.Load(), 1);
    EXPECT_EQ(loaded.m_warningTextColor, RGB(10, 20, 30));
    EXPECT_EQ(loaded.m_lockBackColor, RGB(40, 50, 60));
    EXPECT_EQ(loaded.m_useFont, TRUE);
    EXPECT_EQ(0, std::memcmp(&loaded.m_logFont, &setting.m_logFont, sizeof(LOGFONTA)));
    EXPECT_EQ(LunGetErrorColor(), RGB(10, 20, 30));

    TavInitCell();
    ASSERT_NE(MoxGetCellFont(), nullptr) << "a chosen font reaches every grid";
    EXPECT_STREQ(MoxGetCellFont()->lfFaceName, "Mono");

    setting.m_useFont = FALSE;
    ASSERT_EQ(setting.Save(), 1);
    DWORD length = 99;
    ASSERT_EQ(RegQueryValueEx(key, "TAV_LOGFONT", nullptr, nullptr, nullptr, &length), ERROR_SUCCESS);
    EXPECT_EQ(length, 0u) << "a cleared flag leaves an empty font value";
    TavColorSetting cleared;
    cleared.m_logFont.lfHeight = 42;
    ASSERT_EQ(cleared.Load(), 1);
    EXPECT_EQ(cleared.m_useFont, FALSE);
    EXPECT_EQ(cleared.m_logFont.lfHeight, 42);

    MoxSetCellFont(nullptr);
    TavInitCell();
    EXPECT_EQ(MoxGetCellFont(), nullptr) << "without a chosen font the grids keep theirs";
}

TEST_F(TavColorSettingTest, ALoadThatCannotReachTheKeyChangesNothing)
{
    // A registry where nothing can be created stands for a store that refuses every change.
    RegSetStore(HKEY_CURRENT_USER, std::make_shared<MemoryRegistryStore>(true));
    TavColorSetting setting;
    setting.m_warningTextColor = RGB(7, 7, 7);
    setting.m_useFont = TRUE;
    EXPECT_EQ(setting.Load(), 0);
    EXPECT_EQ(setting.Save(), 0);
    EXPECT_EQ(setting.m_warningTextColor, RGB(7, 7, 7));
    EXPECT_EQ(setting.m_useFont, TRUE);
    EXPECT_EQ(LunGetErrorColor(), RGB(1, 2, 3)) << "only a successful load reaches the edit controls";
    TavInitCell();
    EXPECT_EQ(MoxGetCellFont(), nullptr);
}

} // namespace
