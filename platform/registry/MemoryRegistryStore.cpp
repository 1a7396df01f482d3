// The in-memory registry store: a tree of nodes, each with its values in creation order.
#include "platform/registry/MemoryRegistryStore.h"

#include "platform/text/NameCompare.h"

namespace plat {

MemoryRegistryStore::MemoryRegistryStore(bool readOnly)
    : m_readOnly(readOnly), m_root(std::make_unique<Node>())
{
    m_root->id = m_nextId++;
    m_nodes.emplace(m_root->id, m_root.get());
}

MemoryRegistryStore::~MemoryRegistryStore() = default;

RegKeyId MemoryRegistryStore::RootKey() const noexcept { return m_root->id; }

MemoryRegistryStore::Node* MemoryRegistryStore::Find(RegKeyId key) const
{
    const auto found = m_nodes.find(key);
    return found == m_nodes.end() ? nullptr : found->second;
}

LONG MemoryRegistryStore::FindKey(RegKeyId parent, std::string_view name, RegKeyId& key)
{
    Node* node = Find(parent);
    if (!node)
        return ERROR_KEY_DELETED;
    const auto child = node->children.find(FoldCase(name));
    if (child == node->children.end())
        return ERROR_FILE_NOT_FOUND;
    key = child->second->id;
    return ERROR_SUCCESS;
}

MemoryRegistryStore::Node* MemoryRegistryStore::CreateChild(Node& parent, std::string_view name,
                                                            std::string_view className, bool& created)
{
    std::string folded = FoldCase(name);
    const auto found = parent.children.find(folded);
    if (found != parent.children.end()) {
        created = false;
        return found->second.get();
    }
    auto node = std::make_unique<Node>();
    node->id = m_nextId++;
    node->depth = parent.depth + 1;
    node->name = std::string(name);
    node->className = std::string(className);
    Node* raw = node.get();
    m_nodes.emplace(raw->id, raw);
    parent.children.emplace(std::move(folded), std::move(node));
    created = true;
    ++m_generation;
    return raw;
}

LONG MemoryRegistryStore::CreateKeyPath(RegKeyId parent, std::span<const std::string_view> names,
                                        std::string_view className, RegKeyId& key, bool& created)
{
    Node* node = Find(parent);
    if (!node)
        return ERROR_KEY_DELETED;
    // Refused before anything is created, so that a refused path leaves no part of itself.
    if (!AreValidRegNames(names) || node->depth + names.size() > kMaxKeyDepth)
        return ERROR_INVALID_PARAMETER;
    created = false;
    for (const std::string_view name : names) {
        RegKeyId ignored = 0;
        if (m_readOnly && FindKey(node->id, name, ignored) != ERROR_SUCCESS)
            return ERROR_ACCESS_DENIED;
        node = CreateChild(*node, name, className, created);
    }
    key = node->id;
    return ERROR_SUCCESS;
}

LONG MemoryRegistryStore::GetClass(RegKeyId key, std::string& className)
{
    const Node* node = Find(key);
    if (!node)
        return ERROR_KEY_DELETED;
    className = node->className;
    return ERROR_SUCCESS;
}

LONG MemoryRegistryStore::ListSubKeys(RegKeyId key, std::vector<RegSubKeyEntry>& subKeys)
{
    subKeys.clear();
    const Node* node = Find(key);
    if (!node)
        return ERROR_KEY_DELETED;
    subKeys.reserve(node->children.size());
    for (const auto& [folded, child] : node->children)
        subKeys.push_back({child->name, child->className});
    return ERROR_SUCCESS;
}

LONG MemoryRegistryStore::ListValues(RegKeyId key, std::vector<RegValueEntry>& values)
{
    values.clear();
    const Node* node = Find(key);
    if (!node)
        return ERROR_KEY_DELETED;
    values.reserve(node->values.size());
    for (const Value& value : node->values)
        values.push_back({value.name, value.type, value.data});
    return ERROR_SUCCESS;
}

LONG MemoryRegistryStore::GetValue(RegKeyId key, std::string_view name, DWORD& type, std::vector<BYTE>& data)
{
    const Node* node = Find(key);
    if (!node)
        return ERROR_KEY_DELETED;
    const auto found = node->valueIndex.find(FoldCase(name));
    if (found == node->valueIndex.end())
        return ERROR_FILE_NOT_FOUND;
    const Value& value = node->values[found->second];
    type = value.type;
    data.assign(value.data.begin(), value.data.end());
    return ERROR_SUCCESS;
}

void MemoryRegistryStore::SetValueOf(Node& node, std::string_view name, DWORD type, std::span<const BYTE> data)
{
    std::string folded = FoldCase(name);
    const auto found = node.valueIndex.find(folded);
    if (found != node.valueIndex.end()) {
        Value& value = node.values[found->second];
        value.type = type;
        value.data.assign(data.begin(), data.end());
    } else {
        node.valueIndex.emplace(std::move(folded), node.values.size());
        node.values.push_back({std::string(name), type, {data.begin(), data.end()}});
    }
    ++m_generation;
}

LONG MemoryRegistryStore::SetValue(RegKeyId key, std::string_view name, DWORD type, std::span<const BYTE> data)
{
    if (m_readOnly)
        return ERROR_ACCESS_DENIED;
    if (!IsValidRegName(name))
        return ERROR_INVALID_PARAMETER;
    Node* node = Find(key);
    if (!node)
        return ERROR_KEY_DELETED;
    SetValueOf(*node, name, type, data);
    return ERROR_SUCCESS;
}

void MemoryRegistryStore::DeleteValueOf(Node& node, std::string_view name)
{
    const auto found = node.valueIndex.find(FoldCase(name));
    if (found == node.valueIndex.end())
        return;
    const std::size_t position = found->second;
    node.valueIndex.erase(found);
    node.values.erase(node.values.begin() + static_cast<std::ptrdiff_t>(position));
    for (auto& [folded, index] : node.valueIndex) {
        if (index > position)
            --index;
    }
    ++m_generation;
}

LONG MemoryRegistryStore::DeleteValue(RegKeyId key, std::string_view name)
{
    if (m_readOnly)
        return ERROR_ACCESS_DENIED;
    Node* node = Find(key);
    if (!node)
        return ERROR_KEY_DELETED;
    if (!node->valueIndex.contains(FoldCase(name)))
        return ERROR_FILE_NOT_FOUND;
    DeleteValueOf(*node, name);
    return ERROR_SUCCESS;
}

void MemoryRegistryStore::Forget(Node& node)
{
    // Iterative, so that a very deep tree cannot exhaust the stack.
    std::vector<Node*> pending{&node};
    while (!pending.empty()) {
        Node* current = pending.back();
        pending.pop_back();
        m_nodes.erase(current->id);
        for (auto& [folded, child] : current->children)
            pending.push_back(child.get());
    }
}

LONG MemoryRegistryStore::DeleteKey(RegKeyId parent, std::string_view name, bool wholeTree)
{
    if (m_readOnly)
        return ERROR_ACCESS_DENIED;
    Node* node = Find(parent);
    if (!node)
        return ERROR_KEY_DELETED;
    const auto child = node->children.find(FoldCase(name));
    if (child == node->children.end())
        return ERROR_FILE_NOT_FOUND;
    if (!wholeTree && !child->second->children.empty())
        return ERROR_ACCESS_DENIED;
    Forget(*child->second);
    node->children.erase(child);
    ++m_generation;
    return ERROR_SUCCESS;
}

LONG MemoryRegistryStore::KeyDepth(RegKeyId key, std::size_t& depth)
{
    const Node* node = Find(key);
    if (!node)
        return ERROR_KEY_DELETED;
    depth = node->depth;
    return ERROR_SUCCESS;
}

LONG MemoryRegistryStore::Apply(RegKeyId baseId, std::span<const RegChange> changes)
{
    if (m_readOnly)
        return ERROR_ACCESS_DENIED;
    Node* const base = Find(baseId);
    if (!base)
        return ERROR_KEY_DELETED;
    // The root cannot go, no name may break the rules and no key may end up too deep; once
    // that is ruled out nothing below can fail, so applying step by step is whole.
    if (const LONG status = CheckRegChanges(changes); status != ERROR_SUCCESS)
        return status;
    for (const RegChange& change : changes) {
        const std::size_t depth = SplitKeyPath(change.path).size();
        if (change.kind == RegChange::Kind::DeleteTree && depth == 0)
            return ERROR_ACCESS_DENIED;
        if (change.kind != RegChange::Kind::DeleteTree && base->depth + depth > kMaxKeyDepth)
            return ERROR_INVALID_PARAMETER;
    }
    for (const RegChange& change : changes) {
        const std::vector<std::string_view> names = SplitKeyPath(change.path);
        if (change.kind == RegChange::Kind::DeleteTree) {
            Node* parent = base;
            for (std::size_t i = 0; parent && i + 1 < names.size(); ++i) {
                const auto found = parent->children.find(FoldCase(names[i]));
                parent = found == parent->children.end() ? nullptr : found->second.get();
            }
            if (parent)
                (void)DeleteKey(parent->id, names.back(), true);
            continue;
        }
        Node* node = base;
        for (const std::string_view name : names) {
            bool created = false;
            node = CreateChild(*node, name, change.className, created);
        }
        if (change.kind == RegChange::Kind::SetValue)
            SetValueOf(*node, change.valueName, change.type, change.data);
        else if (change.kind == RegChange::Kind::DeleteValue)
            DeleteValueOf(*node, change.valueName);
    }
    return ERROR_SUCCESS;
}

} // namespace plat
