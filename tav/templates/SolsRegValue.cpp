// Captured registry values in and out of archives and keys.
#include "tav/templates/SolsRegValue.h"

#include "platform/registry/Registry.h"

void SolsRegValue::Store(plat::Archive& archive) const
{
    if (m_data.size() > 0xFFFFFFFFu)
        throw plat::ArchiveError("value \"" + m_name + "\" is too large for a template file");
    archive.WriteString(m_name);
    archive.WriteUInt32(m_type);
    archive.WriteUInt32(static_cast<std::uint32_t>(m_data.size()));
    archive.WriteBytes(m_data.data(), m_data.size());
}

void SolsRegValue::Serialize(plat::Archive& archive)
{
    if (archive.IsStoring()) {
        Store(archive);
        return;
    }
    std::string name = archive.ReadString();
    if (name.find('\0') != std::string::npos)
        throw plat::ArchiveError("template file is damaged: a value name holds a zero byte");
    const plat::DWORD type = archive.ReadUInt32();
    const std::uint32_t size = archive.ReadUInt32();
    archive.RequireRemaining(size, 1);
    std::vector<plat::BYTE> data(size);
    archive.ReadBytes(data.data(), size);
    m_name = std::move(name);
    m_type = type;
    m_data = std::move(data);
}

int SolsRegValue::WriteTo(plat::HKEY key) const
{
    return plat::RegSetValueEx(key, m_name.c_str(), 0, m_type, m_data.data(), GetSize()) == plat::ERROR_SUCCESS;
}
