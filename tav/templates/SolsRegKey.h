/// @file
/// A registry key tree captured in memory: its values and sub keys, read from an open key,
/// written into another, and stored in or loaded from an archive in the template files' layout
/// (name, class, value count, values, sub key count, sub keys, depth first). Every walk over the
/// tree keeps its own stack, so a tree nested however deep cannot overflow the call stack.
#pragma once

#include "platform/io/Archive.h"
#include "platform/registry/RegistryTypes.h"
#include "tav/templates/SolsRegValue.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

/// A registry key tree held in memory: the contents of a template file, and what the template
/// transfer and `tavreg save-key` / `restore-key` capture from the store and write back.
class SolsRegKey {
public:
    /// Loading refuses a tree nested deeper than this, which no registry key can be.
    static constexpr std::size_t kMaxDepth = 512;

    SolsRegKey() = default;
    /// A node named `name` (one level, no backslash) with its class text.
    SolsRegKey(std::string name, std::string className) : m_name(std::move(name)), m_class(std::move(className)) {}
    SolsRegKey(const SolsRegKey&) = delete;
    SolsRegKey& operator=(const SolsRegKey&) = delete;
    virtual ~SolsRegKey();

    /// Stores or loads by the archive's direction. Loading replaces the values and sub keys
    /// only when the whole tree was read; a damaged input (a count or size larger than what
    /// is left, a sub key name that is empty or holds a backslash or a zero, text not valid in
    /// the narrow code page, nesting past kMaxDepth) raises plat::ArchiveError and leaves the
    /// node as it was.
    virtual void Serialize(plat::Archive& archive);
    /// Captures the key's values and sub keys, replacing what this node held; 0, the node
    /// unchanged, when the key cannot be queried. A sub key that cannot be opened is kept
    /// with its name and class and nothing below it.
    [[nodiscard]] virtual int ReadFrom(plat::HKEY key);
    /// Sets the values in the key (a failing value is skipped) and creates the sub keys below
    /// it with their classes; 0 when a sub key cannot be created.
    [[nodiscard]] virtual int WriteTo(plat::HKEY key) const;

    /// Deletes every sub key and value; name and class stay.
    void RemoveAll();

    /// The node's key name, one level.
    [[nodiscard]] std::string GetName() const { return m_name; }
    /// The key's class text (usually empty).
    [[nodiscard]] std::string GetClass() const { return m_class; }
    /// Renames the node; one level, no backslash.
    void SetName(std::string name) { m_name = std::move(name); }
    /// Sets the key's class text.
    void SetClass(std::string className) { m_class = std::move(className); }

    /// The key's values in the order read or added.
    [[nodiscard]] const std::vector<SolsRegValue>& Values() const noexcept { return m_values; }
    /// The sub keys in the order read or added.
    [[nodiscard]] const std::vector<std::unique_ptr<SolsRegKey>>& SubKeys() const noexcept { return m_subKeys; }
    /// Appends a value.
    void AddValue(SolsRegValue value) { m_values.push_back(std::move(value)); }
    /// Appends a sub key and answers it.
    SolsRegKey& AddSubKey(std::unique_ptr<SolsRegKey> subKey);

    /// The steps that give the key at path (relative to the key they are applied below) this
    /// node's values and sub keys, for one all-or-nothing change: values first, then each sub
    /// key created with its class and filled, depth first.
    void AppendChanges(const std::string& path, std::vector<plat::RegChange>& changes) const;

private:
    static void ReleaseTree(std::vector<std::unique_ptr<SolsRegKey>> pending);

    std::string m_name;
    std::string m_class;
    std::vector<SolsRegValue> m_values;
    std::vector<std::unique_ptr<SolsRegKey>> m_subKeys;
};
