// Capture, write-back and archive form of key trees, each an explicit depth-first walk.
#include "tav/templates/SolsRegKey.h"

#include "platform/registry/Registry.h"

#include <algorithm>
#include <utility>

using namespace plat;

namespace {

// The smallest stored value (empty name, type, size) and key (two empty strings, two counts):
// a count can never announce more entries than the input has room for.
constexpr std::size_t kMinValueBytes = 1 + 4 + 4;
constexpr std::size_t kMinKeyBytes = 1 + 1 + 4 + 4;

// Grows a buffer to hold a length the registry answered with ERROR_MORE_DATA.
template <typename Buffer>
void Grow(Buffer& buffer, DWORD needed)
{
    buffer.resize(std::max<std::size_t>(buffer.size() * 2, std::size_t{needed} + 1));
}

// Captures one key's values, and its sub keys as empty nodes with their names and classes.
bool CaptureLevel(HKEY key, std::vector<SolsRegValue>& values, std::vector<std::unique_ptr<SolsRegKey>>& subKeys)
{
    char ownClass[128];
    DWORD ownClassLength = sizeof ownClass;
    DWORD subKeyCount = 0, maxSubKeyName = 0, maxClass = 0, valueCount = 0, maxValueName = 0, maxData = 0;
    LONG status = RegQueryInfoKey(key, ownClass, &ownClassLength, nullptr, &subKeyCount, &maxSubKeyName, &maxClass,
                                  &valueCount, &maxValueName, &maxData, nullptr, nullptr);
    if (status == ERROR_MORE_DATA) // a class longer than anything this system gives; not kept anyway
        status = RegQueryInfoKey(key, nullptr, nullptr, nullptr, &subKeyCount, &maxSubKeyName, &maxClass,
                                 &valueCount, &maxValueName, &maxData, nullptr, nullptr);
    if (status != ERROR_SUCCESS)
        return false;

    std::vector<char> name(std::size_t{maxValueName} * 2 + 10);
    std::vector<BYTE> data(std::size_t{maxData} + 10);
    for (DWORD index = 0;;) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD dataLength = static_cast<DWORD>(data.size());
        DWORD type = REG_NONE;
        status = RegEnumValue(key, index, name.data(), &nameLength, nullptr, &type, data.data(), &dataLength);
        if (status == ERROR_MORE_DATA) { // another program made a value longer meanwhile
            Grow(name, nameLength);
            Grow(data, dataLength);
            continue;
        }
        if (status != ERROR_SUCCESS)
            break;
        values.emplace_back(std::string(name.data(), nameLength), type,
                            std::vector<BYTE>(data.begin(), data.begin() + dataLength));
        ++index;
    }

    std::vector<char> subName(std::size_t{maxSubKeyName} * 2 + 10);
    std::vector<char> subClass(std::size_t{maxClass} * 2 + 10);
    for (DWORD index = 0;;) {
        DWORD nameLength = static_cast<DWORD>(subName.size());
        DWORD classLength = static_cast<DWORD>(subClass.size());
        status = RegEnumKeyEx(key, index, subName.data(), &nameLength, nullptr, subClass.data(), &classLength, nullptr);
        if (status == ERROR_MORE_DATA) {
            Grow(subName, nameLength);
            Grow(subClass, std::max(classLength, nameLength));
            continue;
        }
        if (status != ERROR_SUCCESS)
            break;
        subKeys.push_back(std::make_unique<SolsRegKey>(std::string(subName.data(), nameLength),
                                                       std::string(subClass.data(), classLength)));
        ++index;
    }
    return true;
}

void CheckName(const std::string& name, const std::string& className, bool subKey)
{
    if (name.find('\0') != std::string::npos || className.find('\0') != std::string::npos)
        throw ArchiveError("template file is damaged: a key name or class holds a zero byte");
    if (subKey && (name.empty() || name.find('\\') != std::string::npos))
        throw ArchiveError("template file is damaged: the sub key name \"" + name + "\" is not a key name");
}

// Reads one key's name, class and values and announces how many sub keys follow.
std::unique_ptr<SolsRegKey> LoadNode(Archive& archive, bool subKey, std::uint32_t& subKeyCount)
{
    std::string name = archive.ReadString();
    std::string className = archive.ReadString();
    CheckName(name, className, subKey);
    auto node = std::make_unique<SolsRegKey>(std::move(name), std::move(className));
    const std::uint32_t valueCount = archive.ReadUInt32();
    archive.RequireRemaining(valueCount, kMinValueBytes);
    for (std::uint32_t i = 0; i < valueCount; ++i) {
        SolsRegValue value;
        value.Serialize(archive);
        node->AddValue(std::move(value));
    }
    subKeyCount = archive.ReadUInt32();
    archive.RequireRemaining(subKeyCount, kMinKeyBytes);
    return node;
}

void StoreNode(Archive& archive, const SolsRegKey& node)
{
    archive.WriteString(node.GetName());
    archive.WriteString(node.GetClass());
    archive.WriteUInt32(static_cast<std::uint32_t>(node.Values().size()));
    for (const SolsRegValue& value : node.Values())
        value.Store(archive);
    archive.WriteUInt32(static_cast<std::uint32_t>(node.SubKeys().size()));
}

} // namespace

// Frees a tree without recursing: each node gives its children to the list before it goes.
void SolsRegKey::ReleaseTree(std::vector<std::unique_ptr<SolsRegKey>> pending)
{
    while (!pending.empty()) {
        std::unique_ptr<SolsRegKey> node = std::move(pending.back());
        pending.pop_back();
        for (auto& subKey : node->m_subKeys)
            pending.push_back(std::move(subKey));
        node->m_subKeys.clear();
    }
}

SolsRegKey::~SolsRegKey() { ReleaseTree(std::move(m_subKeys)); }

void SolsRegKey::RemoveAll()
{
    ReleaseTree(std::exchange(m_subKeys, {}));
    m_values.clear();
}

SolsRegKey& SolsRegKey::AddSubKey(std::unique_ptr<SolsRegKey> subKey)
{
    m_subKeys.push_back(std::move(subKey));
    return *m_subKeys.back();
}

void SolsRegKey::Serialize(Archive& archive)
{
    if (archive.IsStoring()) {
        std::vector<const SolsRegKey*> pending{this};
        while (!pending.empty()) {
            const SolsRegKey* node = pending.back();
            pending.pop_back();
            StoreNode(archive, *node);
            for (auto it = node->m_subKeys.rbegin(); it != node->m_subKeys.rend(); ++it)
                pending.push_back(it->get());
        }
        return;
    }

    struct Level {
        SolsRegKey* node;
        std::uint32_t remaining; // sub keys of node still to read
    };
    std::uint32_t count = 0;
    std::unique_ptr<SolsRegKey> root = LoadNode(archive, false, count);
    std::vector<Level> open{{root.get(), count}};
    while (!open.empty()) {
        Level& level = open.back();
        if (level.remaining == 0) {
            open.pop_back();
            continue;
        }
        --level.remaining;
        SolsRegKey& child = level.node->AddSubKey(LoadNode(archive, true, count));
        if (count > 0) {
            if (open.size() >= kMaxDepth)
                throw ArchiveError("template file is damaged: keys nested deeper than " + std::to_string(kMaxDepth) +
                                   " levels");
            open.push_back({&child, count});
        }
    }
    // Name and class are the loaded ones; what this node held goes only now.
    m_name = std::move(root->m_name);
    m_class = std::move(root->m_class);
    m_values.swap(root->m_values);
    m_subKeys.swap(root->m_subKeys);
}

int SolsRegKey::ReadFrom(HKEY key)
{
    std::vector<SolsRegValue> values;
    std::vector<std::unique_ptr<SolsRegKey>> subKeys;
    if (!CaptureLevel(key, values, subKeys))
        return 0;
    // Each sub key is opened by its path from key, so only one handle is open at a time.
    std::vector<std::pair<SolsRegKey*, std::string>> pending;
    for (const auto& subKey : subKeys)
        pending.emplace_back(subKey.get(), subKey->m_name);
    while (!pending.empty()) {
        auto [node, path] = std::move(pending.back());
        pending.pop_back();
        HKEY opened = nullptr;
        if (RegOpenKeyEx(key, path.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
            continue;
        CaptureLevel(opened, node->m_values, node->m_subKeys);
        RegCloseKey(opened);
        for (const auto& subKey : node->m_subKeys)
            pending.emplace_back(subKey.get(), path + '\\' + subKey->m_name);
    }
    RemoveAll();
    m_values = std::move(values);
    m_subKeys = std::move(subKeys);
    return 1;
}

int SolsRegKey::WriteTo(HKEY key) const
{
    struct Level {
        const SolsRegKey* node;
        HKEY key;
        std::size_t next; // the sub key to write next
    };
    for (const SolsRegValue& value : m_values)
        (void)value.WriteTo(key);
    std::vector<Level> open{{this, key, 0}};
    int result = 1;
    while (!open.empty()) {
        Level& level = open.back();
        if (level.next == level.node->m_subKeys.size() || result == 0) {
            if (open.size() > 1)
                RegCloseKey(level.key);
            open.pop_back();
            continue;
        }
        const SolsRegKey& child = *level.node->m_subKeys[level.next++];
        HKEY created = nullptr;
        if (RegCreateKeyEx(level.key, child.m_name.c_str(), 0, child.m_class.c_str(), REG_OPTION_NON_VOLATILE,
                           KEY_ALL_ACCESS, nullptr, &created, nullptr)
            != ERROR_SUCCESS) {
            result = 0; // the open keys are closed as the walk unwinds
            continue;
        }
        for (const SolsRegValue& value : child.m_values)
            (void)value.WriteTo(created);
        open.push_back({&child, created, 0});
    }
    return result;
}

void SolsRegKey::AppendChanges(const std::string& path, std::vector<RegChange>& changes) const
{
    std::vector<std::pair<const SolsRegKey*, std::string>> pending{{this, path}};
    while (!pending.empty()) {
        auto [node, nodePath] = std::move(pending.back());
        pending.pop_back();
        if (node != this)
            changes.push_back({RegChange::Kind::CreateKey, nodePath, {}, REG_NONE, {}, node->m_class});
        for (const SolsRegValue& value : node->m_values)
            changes.push_back({RegChange::Kind::SetValue, nodePath, value.GetName(), value.GetType(), value.GetData()});
        for (auto it = node->m_subKeys.rbegin(); it != node->m_subKeys.rend(); ++it)
            pending.emplace_back(it->get(), nodePath + '\\' + (*it)->m_name);
    }
}
