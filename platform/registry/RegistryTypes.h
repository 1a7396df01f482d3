// The registry's handles, status codes, value types and access rights, with the platform's
// numbers, shared by the registry functions and the stores behind them.
#pragma once

#include "platform/ui/Types.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace plat {

// An open key. The predefined roots are handles too; closing them does nothing.
struct RegKeyHandle;
using HKEY = RegKeyHandle*;
using REGSAM = DWORD;

extern HKEY const HKEY_CURRENT_USER;
extern HKEY const HKEY_LOCAL_MACHINE;

// Status codes.
inline constexpr LONG ERROR_SUCCESS = 0;
inline constexpr LONG ERROR_FILE_NOT_FOUND = 2;
inline constexpr LONG ERROR_ACCESS_DENIED = 5;
inline constexpr LONG ERROR_INVALID_HANDLE = 6;
inline constexpr LONG ERROR_WRITE_FAULT = 29;
inline constexpr LONG ERROR_INVALID_PARAMETER = 87;
inline constexpr LONG ERROR_MORE_DATA = 234;
inline constexpr LONG ERROR_NO_MORE_ITEMS = 259;
inline constexpr LONG ERROR_BADDB = 1009;
inline constexpr LONG ERROR_KEY_DELETED = 1018;

// Value types. Types this system does not interpret are kept as raw bytes all the same.
inline constexpr DWORD REG_NONE = 0;
inline constexpr DWORD REG_SZ = 1;
inline constexpr DWORD REG_EXPAND_SZ = 2;
inline constexpr DWORD REG_BINARY = 3;
inline constexpr DWORD REG_DWORD = 4;
inline constexpr DWORD REG_DWORD_BIG_ENDIAN = 5;
inline constexpr DWORD REG_LINK = 6;
inline constexpr DWORD REG_MULTI_SZ = 7;
inline constexpr DWORD REG_QWORD = 11;

// Access rights of a handle.
inline constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
inline constexpr REGSAM KEY_SET_VALUE = 0x0002;
inline constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
inline constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
inline constexpr REGSAM KEY_NOTIFY = 0x0010;
inline constexpr REGSAM KEY_CREATE_LINK = 0x0020;
inline constexpr REGSAM KEY_READ = 0x20019;
inline constexpr REGSAM KEY_WRITE = 0x20006;
inline constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

inline constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
inline constexpr DWORD REG_CREATED_NEW_KEY = 1;
inline constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

struct SECURITY_ATTRIBUTES {
    DWORD nLength = sizeof(SECURITY_ATTRIBUTES);
    void* lpSecurityDescriptor = nullptr;
    BOOL bInheritHandle = FALSE;
};

struct FILETIME {
    DWORD dwLowDateTime = 0;
    DWORD dwHighDateTime = 0;
};

// The data of a REG_DWORD: the number's four bytes, little-endian.
[[nodiscard]] constexpr DWORD DWordFromBytes(const BYTE* bytes) noexcept
{
    return static_cast<DWORD>(bytes[0]) | (static_cast<DWORD>(bytes[1]) << 8) | (static_cast<DWORD>(bytes[2]) << 16)
        | (static_cast<DWORD>(bytes[3]) << 24);
}
[[nodiscard]] constexpr std::array<BYTE, 4> DWordToBytes(DWORD value) noexcept
{
    return {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8), static_cast<BYTE>(value >> 16),
            static_cast<BYTE>(value >> 24)};
}

// Identifies a key inside one store.
using RegKeyId = std::int64_t;

struct RegSubKeyEntry {
    std::string name;
    std::string className;
    friend bool operator==(const RegSubKeyEntry&, const RegSubKeyEntry&) = default;
};

struct RegValueEntry {
    std::string name;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    friend bool operator==(const RegValueEntry&, const RegValueEntry&) = default;
};

// One step of a change applied as a whole (an import, a restored key): paths are relative to
// the key the changes are applied below, components separated by backslashes.
struct RegChange {
    enum class Kind { CreateKey, DeleteTree, SetValue, DeleteValue };
    Kind kind = Kind::CreateKey;
    std::string path;
    std::string valueName;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    // The class given to the keys this step creates.
    std::string className = {};
};

} // namespace plat
