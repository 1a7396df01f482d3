// An open registry key with typed reads that fall back to a default and writes that report
// success: how the library and its tools keep their settings and templates.
#pragma once

#include "platform/registry/RegistryTypes.h"

#include <string>
#include <vector>

class SolKey {
public:
    SolKey() noexcept = default;
    // Stands for a root (HKEY_CURRENT_USER); a root is never closed.
    explicit SolKey(plat::HKEY root) noexcept;
    // Opens the sub key (a path of one or more levels), creating it when it is missing.
    SolKey(plat::HKEY parent, const std::string& subKey);
    SolKey(const SolKey&) = delete;
    SolKey& operator=(const SolKey&) = delete;
    SolKey(SolKey&& other) noexcept;
    SolKey& operator=(SolKey&& other) noexcept;
    ~SolKey();

    // The open handle, or null.
    operator plat::HKEY() const noexcept { return m_key; }
    [[nodiscard]] bool IsOpen() const noexcept { return m_key != nullptr; }

    // Opens an existing sub key; non-zero when it exists and was opened. A key that may only
    // be read (the machine-wide root) is opened for reading.
    plat::BOOL Open(plat::HKEY parent, const std::string& name);
    // Opens or creates every level of a backslash-separated path.
    plat::BOOL Create(plat::HKEY parent, const std::string& path);
    void Close() noexcept;

    // Deletes the sub key of that name with everything below it.
    plat::BOOL DeleteKey(const std::string& name);
    plat::BOOL DeleteAllValue();
    // The names of the sub keys, ordered by name without regard to case; non-zero when the
    // key could be read (also when it has no sub keys).
    plat::BOOL EnumKey(std::vector<std::string>& names) const;

    // A string (or expandable string) value without its terminating zero, else the default.
    [[nodiscard]] std::string GetString(const std::string& name, const std::string& defaultValue = {}) const;
    // A 4-byte REG_DWORD value, else the default.
    [[nodiscard]] plat::DWORD GetDWord(const std::string& name, plat::DWORD defaultValue = 0) const;
    [[nodiscard]] plat::BOOL GetBool(const std::string& name, plat::BOOL defaultValue = FALSE) const;
    // Copies at most size bytes of the value into buffer and returns how many it copied
    // (0 when the value is missing or empty); a longer value is cut to the buffer.
    plat::DWORD GetBinary(const std::string& name, void* buffer, plat::DWORD size) const;

    plat::BOOL SetString(const std::string& name, const std::string& value);
    plat::BOOL SetDWord(const std::string& name, plat::DWORD value);
    // A boolean is a REG_DWORD holding 0 or 1.
    plat::BOOL SetBool(const std::string& name, plat::BOOL value);
    plat::BOOL SetBinary(const std::string& name, const void* data, plat::DWORD size);

private:
    // Reads a whole value; false when it is missing or cannot be read.
    bool Query(const std::string& name, plat::DWORD& type, std::vector<plat::BYTE>& data) const;

    plat::HKEY m_key = nullptr;
    bool m_owned = false;
};
