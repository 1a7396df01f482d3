// A module: the stand-in for a module handle, the place resources are loaded from. Each
// module holds a string table (identifier -> UTF-8 text). The library registers its own
// module; each host program registers its own for its item names and headings.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace plat {

class Module {
public:
    explicit Module(std::string name);
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;

    const std::string& GetName() const noexcept { return m_name; }

    void AddString(std::uint32_t id, std::string text);
    // Adds every entry of a table, replacing entries with the same identifier.
    void AddStrings(std::initializer_list<std::pair<std::uint32_t, std::string_view>> table);
    // The text of a string, or nothing when the table has no such entry.
    [[nodiscard]] std::optional<std::string_view> FindString(std::uint32_t id) const;
    // The text of a string, or an empty text when the table has no such entry (as loading a
    // missing resource string gives).
    [[nodiscard]] std::string LoadString(std::uint32_t id) const;

private:
    std::string m_name;
    std::map<std::uint32_t, std::string> m_strings;
};

// A module handle is a pointer to its module; null means none.
using ModuleHandle = const Module*;

} // namespace plat
