// String tables of modules.
#include "platform/resource/Module.h"

namespace plat {

Module::Module(std::string name) : m_name(std::move(name)) {}

void Module::AddString(std::uint32_t id, std::string text) { m_strings[id] = std::move(text); }

void Module::AddStrings(std::initializer_list<std::pair<std::uint32_t, std::string_view>> table)
{
    for (const auto& [id, text] : table)
        m_strings[id] = std::string(text);
}

std::optional<std::string_view> Module::FindString(std::uint32_t id) const
{
    const auto it = m_strings.find(id);
    if (it == m_strings.end())
        return std::nullopt;
    return std::string_view(it->second);
}

std::string Module::LoadString(std::uint32_t id) const { return std::string(FindString(id).value_or("")); }

} // namespace plat
