// SolKey over the registry functions.
#include "components/support/SolKey.h"

#include "platform/registry/Registry.h"

#include <algorithm>
#include <cstring>
#include <utility>

using namespace plat;

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
    return m_key && RegDeleteTree(m_key, name.c_str()) == ERROR_SUCCESS ? TRUE : FALSE;
}

BOOL SolKey::DeleteAllValue()
{
    if (!m_key)
        return FALSE;
    DWORD longestName = 0;
    if (RegQueryInfoKey(m_key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longestName, nullptr,
                        nullptr, nullptr)
        != ERROR_SUCCESS)
        return FALSE;
    // Names first, deletions after: deleting while enumerating by index would skip values.
    std::vector<std::string> names;
    std::vector<char> buffer(longestName + 1);
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(buffer.size());
        const LONG status = RegEnumValue(m_key, index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS)
            break;
        if (status == ERROR_MORE_DATA) { // another program added a longer name meanwhile
            buffer.resize(length + 1);
            --index;
            continue;
        }
        if (status != ERROR_SUCCESS)
            return FALSE;
        names.emplace_back(buffer.data(), length);
    }
    BOOL result = TRUE;
    for (const std::string& name : names) {
        const LONG status = RegDeleteValue(m_key, name.c_str());
        if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
            result = FALSE;
    }
    return result;
}

BOOL SolKey::EnumKey(std::vector<std::string>& names) const
{
    names.clear();
    if (!m_key)
        return FALSE;
    DWORD longestName = 0;
    if (RegQueryInfoKey(m_key, nullptr, nullptr, nullptr, nullptr, &longestName, nullptr, nullptr, nullptr, nullptr,
                        nullptr, nullptr)
        != ERROR_SUCCESS)
        return FALSE;
    std::vector<char> buffer(longestName + 1);
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(buffer.size());
        const LONG status =
            RegEnumKeyEx(m_key, index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS)
            return TRUE;
        if (status == ERROR_MORE_DATA) {
            buffer.resize(length + 1);
            --index;
            continue;
        }
        if (status != ERROR_SUCCESS)
            return FALSE;
        names.emplace_back(buffer.data(), length);
    }
}

bool SolKey::Query(const std::string& name, DWORD& type, std::vector<BYTE>& data) const
{
    if (!m_key)
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
    return static_cast<DWORD>(data[0]) | (static_cast<DWORD>(data[1]) << 8) | (static_cast<DWORD>(data[2]) << 16)
        | (static_cast<DWORD>(data[3]) << 24);
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
    if (!m_key)
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
    if (!m_key)
        return FALSE;
    const BYTE bytes[4] = {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8), static_cast<BYTE>(value >> 16),
                           static_cast<BYTE>(value >> 24)};
    return RegSetValueEx(m_key, name.c_str(), 0, REG_DWORD, bytes, 4) == ERROR_SUCCESS ? TRUE : FALSE;
}

BOOL SolKey::SetBool(const std::string& name, BOOL value) { return SetDWord(name, value ? 1 : 0); }

BOOL SolKey::SetBinary(const std::string& name, const void* data, DWORD size)
{
    if (!m_key || (!data && size > 0))
        return FALSE;
    return RegSetValueEx(m_key, name.c_str(), 0, REG_BINARY, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS
        ? TRUE
        : FALSE;
}
