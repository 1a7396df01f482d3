// Loading, saving and the one-time migration of the appearance settings.
#include "tav/settings/TavColorSetting.h"

#include "components/support/LunErrorColor.h"
#include "components/support/SolRegistry.h"
#include "platform/registry/Registry.h"

#include <bit>

namespace {

// The stored font is the record's bytes as they are in memory.
static_assert(std::endian::native == std::endian::little, "the stored font record is little-endian");

constexpr const char* kOldKeyName = "Pallete"; // so spelled in every installation's registry
constexpr const char* kKeyName = "QzTav";
constexpr const char* kWarningTextColor = "TAV_WARNING_TEXT_COLOR";
constexpr const char* kLockBackColor = "TAV_LOCK_BACK_COLOR";
constexpr const char* kUseFont = "TAV_USE_FONT";
constexpr const char* kLogFont = "TAV_LOGFONT";

} // namespace

std::string TavColorSetting::GetKeyPath()
{
    return SolGetSystemKeyName() + '\\' + kOldKeyName + '\\' + kKeyName;
}

int TavColorSetting::Load()
{
    MigrateOldSetting();

    SolKey key;
    if (!key.Create(plat::HKEY_CURRENT_USER, GetKeyPath()))
        return 0;
    m_warningTextColor = key.GetDWord(kWarningTextColor, kDefaultWarningTextColor);
    m_lockBackColor = key.GetDWord(kLockBackColor, kDefaultLockBackColor);
    m_useFont = key.GetBool(kUseFont, FALSE);
    // Only a whole record replaces the font: a value of another length is not one.
    plat::LOGFONTA font = m_logFont;
    if (key.GetBinary(kLogFont, &font, sizeof font) == sizeof font)
        m_logFont = font;
    key.Close();

    LunSetErrorColor(m_warningTextColor, 0);
    return 1;
}

int TavColorSetting::Save()
{
    SolKey key;
    if (!key.Create(plat::HKEY_CURRENT_USER, GetKeyPath()))
        return 0;
    bool written = key.SetDWord(kWarningTextColor, m_warningTextColor);
    written = key.SetDWord(kLockBackColor, m_lockBackColor) && written;
    written = key.SetBool(kUseFont, m_useFont) && written;
    if (m_useFont)
        written = key.SetBinary(kLogFont, &m_logFont, sizeof m_logFont) && written;
    else
        written = key.SetBinary(kLogFont, nullptr, 0) && written;
    return written ? 1 : 0;
}

void TavColorSetting::MigrateOldSetting()
{
    SolKey oldKey;
    if (!SolGetSystemSubKey(oldKey, kOldKeyName))
        return;
    SolKey newKey;
    if (newKey.Open(oldKey, kKeyName))
        return;
    m_warningTextColor = oldKey.GetDWord(kWarningTextColor, kDefaultWarningTextColor);
    m_lockBackColor = oldKey.GetDWord(kLockBackColor, kDefaultLockBackColor);
    m_useFont = FALSE;
    oldKey.DeleteAllValue();
    (void)Save();
}
