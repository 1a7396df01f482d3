// One registry value captured with its name, type and raw bytes, as a template file holds it:
// the name as an archive string, the type and size as 32-bit numbers, then the bytes.
#pragma once

#include "platform/io/Archive.h"
#include "platform/registry/RegistryTypes.h"

#include <string>
#include <vector>

class SolsRegValue {
public:
    SolsRegValue() = default;
    SolsRegValue(std::string name, plat::DWORD type, std::vector<plat::BYTE> data)
        : m_name(std::move(name)), m_type(type), m_data(std::move(data))
    {
    }
    virtual ~SolsRegValue() = default;
    SolsRegValue(const SolsRegValue&) = default;
    SolsRegValue& operator=(const SolsRegValue&) = default;
    SolsRegValue(SolsRegValue&&) noexcept = default;
    SolsRegValue& operator=(SolsRegValue&&) noexcept = default;

    // Stores or loads by the archive's direction. Loading refuses a name that is not valid
    // text or holds a zero, and a size larger than what is left of the input, with
    // plat::ArchiveError; the value is then unchanged.
    virtual void Serialize(plat::Archive& archive);
    // Stores the value; raises plat::ArchiveError when its name cannot be held in the narrow
    // code page.
    void Store(plat::Archive& archive) const;
    // Sets the value in the key; non-zero on success.
    [[nodiscard]] virtual int WriteTo(plat::HKEY key) const;

    [[nodiscard]] const std::string& GetName() const noexcept { return m_name; }
    [[nodiscard]] plat::DWORD GetType() const noexcept { return m_type; }
    [[nodiscard]] const std::vector<plat::BYTE>& GetData() const noexcept { return m_data; }
    [[nodiscard]] plat::DWORD GetSize() const noexcept { return static_cast<plat::DWORD>(m_data.size()); }

    friend bool operator==(const SolsRegValue&, const SolsRegValue&) = default;

private:
    std::string m_name;
    plat::DWORD m_type = plat::REG_NONE;
    std::vector<plat::BYTE> m_data;
};
