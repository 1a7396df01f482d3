// SolKey over the registry functions.
#include "components/support/SolKey.h"

#include "platform/registry/Registry.h"
#include "platform/registry/RegistryListing.h"

#include <algorithm>
#include <cstring>
#include <utility>

using namespace plat;

namespace {

// The registry calls end a name at its first NUL, so a name holding one would reach another
// key or value than the one meant: such a name reaches none.
bool Addressable(const std::string& name) { return IsValidRegName(name); }

} // namespace

SolKey::SolKey(HKEY root) noexcept : m_key(root) {}

SolKey::SolKey(HKEY parent, const std::string& subKey) { Create(parent, subKey); }

SolKey::SolKey(SolKey&& other) noexcept
    : m_key(std::exchange(other.m_key, nullptr)), m_owned(std::exchange(other.m_owned, false))
{
}

SolKey& SolKey::operator=(SolKey&& other) noexcept
{
    if (this != &other) {
        Close();
        m_key = std::exchange(other.m_key, nullptr);
        m_owned = std::exchange(other.m_owned, false);
    }
    return *this;
}

SolKey::~SolKey() { Close(); }

void SolKey::Close() noexcept
{
    if (m_key && m_owned)
        RegCloseKey(m_key);
    m_key = nullptr;
    m_owned = false;
}

BOOL SolKey::Open(HKEY parent, const std::string& name)
{
    if (!Addressable(name))
        return FALSE;
    HKEY opened = nullptr;
    LONG status = RegOpenKeyEx(parent, name.c_str(), 0, KEY_ALL_ACCESS, &opened);
    if (status == ERROR_ACCESS_DENIED)
        status = RegOpenKeyEx(parent, name.c_str(), 0, KEY_READ, &opened);
    if (status != ERROR_SUCCESS)
        return FALSE;
    Close();
    m_key = opened;
    m_owned = true;
    return TRUE;
}

BOOL SolKey::Create(HKEY parent, const std::string& path)
{
    if (!Addressable(path)) {
        Close();
        return FALSE;
    }
    HKEY created = nullptr;
    LONG status = RegCreateKeyEx(parent, path.c_str(), 0, "", REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                                 &created, nullptr);
    if (status == ERROR_ACCESS_DENIED)
        status = RegOpenKeyEx(parent, path.c_str(), 0, KEY_READ, &created);
    if (status != ERROR_SUCCESS) {
        Close();
        return FALSE;
    }
    Close();
    m_key = created;
    m_owned = true;
    return TRUE;
}

BOOL SolKey::DeleteKey(const std::string& name)
{
    return m_key && Addressable(name) && RegDeleteTree(m_key, name.c_str()) == ERROR_SUCCESS ? TRUE : FALSE;
}

BOOL SolKey::DeleteAllValue()
{
    // Listed first, deleted after: deleting while enumerating by index would skip values.
    std::vector<RegValueEntry> values;
    if (!m_key || RegListValues(m_key, values) != ERROR_SUCCESS)
        return FALSE;
    BOOL result = TRUE;
    for (const RegValueEntry& value : values) {
        const LONG status = RegDeleteValue(m_key, value.name.c_str());
        if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
            result = FALSE;
    }
    return result;
}

BOOL SolKey::EnumKey(std::vector<std::string>& names) const
{
    names.clear();
    return m_key && RegListSubKeyNames(m_key, names) == ERROR_SUCCESS ? TRUE : FALSE;
}

bool SolKey::Query(const std::string& name, DWORD& type, std::vector<BYTE>& data) const
{
    if (!m_key || !Addressable(name))
        return false;
    // Usually one call: most values fit the first guess.
    data.resize(64);
    for (;;) {
        DWORD length = static_cast<DWORD>(data.size());
        const LONG status = RegQueryValueEx(m_key, name.c_str(), nullptr, &type, data.data(), &length);
        if (status == ERROR_SUCCESS) {
            data.resize(length);
            return true;
        }
        if (status != ERROR_MORE_DATA)
            return false;
        data.resize(length);
    }
}

std::string SolKey::GetString(const std::string& name, const std::string& defaultValue) const
{
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    if (!Query(name, type, data) || (type != REG_SZ && type != REG_EXPAND_SZ))
        return defaultValue;
    // The text ends at its terminating zero (or at the end of data written without one).
    const auto end = std::find(data.begin(), data.end(), BYTE{0});
    return std::string(data.begin(), end);
}

DWORD SolKey::GetDWord(const std::string& name, DWORD defaultValue) const
{
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    if (!Query(name, type, data) || type != REG_DWORD || data.size() != 4)
        return defaultValue;
    return DWordFromBytes(data.data());
}

BOOL SolKey::GetBool(const std::string& name, BOOL defaultValue) const
{
    return GetDWord(name, defaultValue ? 1 : 0) != 0 ? TRUE : FALSE;
}

DWORD SolKey::GetBinary(const std::string& name, void* buffer, DWORD size) const
{
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    if (!buffer || !Query(name, type, data))
        return 0;
    const DWORD copied = std::min(size, static_cast<DWORD>(data.size()));
    if (copied > 0)
        std::memcpy(buffer, data.data(), copied);
    return copied;
}

BOOL SolKey::SetString(const std::string& name, const std::string& value)
{
    if (!m_key || !Addressable(name))
        return FALSE;
    // c_str() carries the terminating zero that a string value keeps.
    return RegSetValueEx(m_key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>(value.size() + 1))
            == ERROR_SUCCESS
        ? TRUE
        : FALSE;
}

BOOL SolKey::SetDWord(const std::string& name, DWORD value)
{
    if (!m_key || !Addressable(name))
        return FALSE;
    const auto bytes = DWordToBytes(value);
    return RegSetValueEx(m_key, name.c_str(), 0, REG_DWORD, bytes.data(), 4) == ERROR_SUCCESS ? TRUE : FALSE;
}

BOOL SolKey::SetBool(const std::string& name, BOOL value) { return SetDWord(name, value ? 1 : 0); }

BOOL SolKey::SetBinary(const std::string& name, const void* data, DWORD size)
{
    if (!m_key || !Addressable(name) || (!data && size > 0))
        return FALSE;
    return RegSetValueEx(m_key, name.c_str(), 0, REG_BINARY, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS
        ? TRUE
        : FALSE;
}
