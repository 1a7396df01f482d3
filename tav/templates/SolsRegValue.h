/// @file
/// One registry value captured with its name, type and raw bytes, as a template file holds it:
/// the name as an archive string, the type and size as 32-bit numbers, then the bytes.
#pragma once

#include "platform/io/Archive.h"
#include "platform/registry/RegistryTypes.h"

#include <string>
#include <vector>

/// One registry value held in memory with its name, type and raw bytes, as a template file
/// holds it.
class SolsRegValue {
public:
    SolsRegValue() = default;
    /// A value of a type (REG_SZ, REG_DWORD, …) and its bytes as the store keeps them.
    SolsRegValue(std::string name, plat::DWORD type, std::vector<plat::BYTE> data)
        : m_name(std::move(name)), m_type(type), m_data(std::move(data))
    {
    }
    virtual ~SolsRegValue() = default;
    /// Values copy as plain data.
    SolsRegValue(const SolsRegValue&) = default;
    /// Values copy as plain data.
    SolsRegValue& operator=(const SolsRegValue&) = default;
    /// Values move as plain data.
    SolsRegValue(SolsRegValue&&) noexcept = default;
    /// Values move as plain data.
    SolsRegValue& operator=(SolsRegValue&&) noexcept = default;

    /// Stores or loads by the archive's direction. Loading refuses a name that is not valid
    /// text or holds a zero, and a size larger than what is left of the input, with
    /// plat::ArchiveError; the value is then unchanged.
    virtual void Serialize(plat::Archive& archive);
    /// Stores the value; raises plat::ArchiveError when its name cannot be held in the narrow
    /// code page.
    void Store(plat::Archive& archive) const;
    /// Sets the value in the key; non-zero on success.
    [[nodiscard]] virtual int WriteTo(plat::HKEY key) const;

    /// The value's name; empty for the key's default value.
    [[nodiscard]] const std::string& GetName() const noexcept { return m_name; }
    /// The value's type (REG_SZ, REG_DWORD, …).
    [[nodiscard]] plat::DWORD GetType() const noexcept { return m_type; }
    /// The value's bytes as the store keeps them.
    [[nodiscard]] const std::vector<plat::BYTE>& GetData() const noexcept { return m_data; }
    /// The number of bytes.
    [[nodiscard]] plat::DWORD GetSize() const noexcept { return static_cast<plat::DWORD>(m_data.size()); }

    /// Equal when name, type and bytes are.
    friend bool operator==(const SolsRegValue&, const SolsRegValue&) = default;

private:
    std::string m_name;
    plat::DWORD m_type = plat::REG_NONE;
    std::vector<plat::BYTE> m_data;
};
