// A registry store that lives only as long as the process: for tests, and as the fallback
// when the user's database cannot be used.
#pragma once

#include "platform/registry/RegistryStore.h"

#include <map>
#include <memory>
#include <unordered_map>

namespace plat {

class MemoryRegistryStore final : public RegistryStore {
public:
    explicit MemoryRegistryStore(bool readOnly = false);
    ~MemoryRegistryStore() override;

    bool IsReadOnly() const noexcept override { return m_readOnly; }
    RegKeyId RootKey() const noexcept override;

    LONG FindKey(RegKeyId parent, std::string_view name, RegKeyId& key) override;
    LONG CreateKeyPath(RegKeyId parent, std::span<const std::string_view> names, std::string_view className,
                       RegKeyId& key, bool& created) override;
    LONG GetClass(RegKeyId key, std::string& className) override;
    LONG ListSubKeys(RegKeyId key, std::vector<RegSubKeyEntry>& subKeys) override;
    LONG ListValues(RegKeyId key, std::vector<RegValueEntry>& values) override;
    LONG GetValue(RegKeyId key, std::string_view name, DWORD& type, std::vector<BYTE>& data) override;
    LONG SetValue(RegKeyId key, std::string_view name, DWORD type, std::span<const BYTE> data) override;
    LONG DeleteValue(RegKeyId key, std::string_view name) override;
    LONG DeleteKey(RegKeyId parent, std::string_view name, bool wholeTree) override;
    LONG KeyDepth(RegKeyId key, std::size_t& depth) override;
    LONG Apply(RegKeyId base, std::span<const RegChange> changes) override;
    std::uint64_t Generation() override { return m_generation; }

private:
    struct Value {
        std::string name;
        DWORD type = REG_NONE;
        std::vector<BYTE> data;
    };
    struct Node {
        RegKeyId id = 0;
        std::size_t depth = 0; // levels below the root
        std::string name;
        std::string className;
        // By folded name, which is also the order of enumeration.
        std::map<std::string, std::unique_ptr<Node>, std::less<>> children;
        std::vector<Value> values;                              // creation order
        std::unordered_map<std::string, std::size_t> valueIndex; // folded name -> position
    };

    Node* Find(RegKeyId key) const;
    Node* CreateChild(Node& parent, std::string_view name, std::string_view className, bool& created);
    void Forget(Node& node);
    void SetValueOf(Node& node, std::string_view name, DWORD type, std::span<const BYTE> data);
    void DeleteValueOf(Node& node, std::string_view name);

    bool m_readOnly;
    std::unique_ptr<Node> m_root;
    std::unordered_map<RegKeyId, Node*> m_nodes;
    RegKeyId m_nextId = 1;
    std::uint64_t m_generation = 0;
};

} // namespace plat
