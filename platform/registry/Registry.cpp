// The registry functions over the stores: handles, access rights, the buffer rules of the
// platform's calls, and the choice of the store behind each root.
#include "platform/registry/Registry.h"

#include "platform/registry/MemoryRegistryStore.h"
#include "platform/registry/SqliteRegistryStore.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <pwd.h>
#include <unistd.h>
#include <unordered_set>

namespace plat {

struct RegKeyHandle {
    int root = -1; // a predefined root: its store is looked up at each call
    std::shared_ptr<RegistryStore> store;
    RegKeyId key = 0;
    REGSAM access = 0;
};

namespace {

constexpr int kCurrentUser = 0;
constexpr int kLocalMachine = 1;

RegKeyHandle g_currentUserRoot{kCurrentUser, {}, 0, KEY_ALL_ACCESS};
RegKeyHandle g_localMachineRoot{kLocalMachine, {}, 0, KEY_ALL_ACCESS};

// The listing behind enumeration by index, kept while the store's generation stays the same,
// so that walking n entries costs one listing, not n.
template <typename Entry>
struct ListingCache {
    std::shared_ptr<RegistryStore> store;
    RegKeyId key = 0;
    std::uint64_t generation = 0;
    std::vector<Entry> entries;
};

struct RegistryState {
    std::mutex mutex;
    std::shared_ptr<RegistryStore> stores[2];
    std::unordered_set<RegKeyHandle*> handles;
    ListingCache<RegSubKeyEntry> subKeys;
    ListingCache<RegValueEntry> values;
    std::vector<BYTE> scratch;
};

RegistryState& State()
{
    static RegistryState state;
    return state;
}

std::string EnvironmentValue(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::shared_ptr<RegistryStore> OpenDefaultStore(HKEY root)
{
    RegDefaultStore opened = RegOpenDefaultStore(root);
    const bool user = root == HKEY_CURRENT_USER;
    if (!opened.problem.empty()) {
        const char* consequence = opened.store ? "settings changed in this run are not kept"
            : user                             ? "settings are kept in memory for this run only"
                                               : "the machine-wide settings are ignored";
        std::fprintf(stderr, "tavcell: registry: %s; %s\n", opened.problem.c_str(), consequence);
    }
    if (opened.store)
        return std::move(opened.store);
    return std::make_shared<MemoryRegistryStore>(!user);
}

std::shared_ptr<RegistryStore>& StoreOf(RegistryState& state, int root)
{
    std::shared_ptr<RegistryStore>& store = state.stores[root];
    if (!store)
        store = OpenDefaultStore(root == kCurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE);
    return store;
}

// What a handle designates, resolved under the lock.
struct Target {
    RegistryStore* store = nullptr;
    std::shared_ptr<RegistryStore> owner;
    RegKeyId key = 0;
    REGSAM access = 0;
};

LONG Resolve(RegistryState& state, HKEY handle, Target& target)
{
    if (handle == HKEY_CURRENT_USER || handle == HKEY_LOCAL_MACHINE) {
        target.owner = StoreOf(state, handle->root);
        target.access = KEY_ALL_ACCESS;
    } else if (handle && state.handles.contains(handle)) {
        target.owner = handle->store;
        target.access = handle->access;
    } else {
        return ERROR_INVALID_HANDLE;
    }
    target.store = target.owner.get();
    target.key = handle->root >= 0 ? target.store->RootKey() : handle->key;
    return ERROR_SUCCESS;
}

LONG ResolveFor(RegistryState& state, HKEY handle, REGSAM needed, Target& target)
{
    const LONG status = Resolve(state, handle, target);
    if (status != ERROR_SUCCESS)
        return status;
    return (target.access & needed) == needed ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

// Runs one call's work under the registry's lock, once the handle resolves to a key and
// carries the rights the work needs.
template <typename Work>
LONG WithKey(HKEY key, REGSAM needed, Work&& work)
{
    RegistryState& state = State();
    std::lock_guard lock(state.mutex);
    Target target;
    if (const LONG status = ResolveFor(state, key, needed, target); status != ERROR_SUCCESS)
        return status;
    return work(state, target);
}

HKEY NewHandle(RegistryState& state, const Target& parent, RegKeyId key, REGSAM access)
{
    auto* handle = new RegKeyHandle{-1, parent.owner, key, access};
    state.handles.insert(handle);
    return handle;
}

template <typename Entry>
const std::vector<Entry>* CachedListing(ListingCache<Entry>& cache, const Target& target,
                                        LONG (RegistryStore::*list)(RegKeyId, std::vector<Entry>&), LONG& status)
{
    const std::uint64_t generation = target.store->Generation();
    if (cache.store.get() != target.store || cache.key != target.key || cache.generation != generation) {
        cache.store.reset();
        status = (target.store->*list)(target.key, cache.entries);
        if (status != ERROR_SUCCESS)
            return nullptr;
        cache.store = target.owner;
        cache.key = target.key;
        cache.generation = generation;
    }
    status = ERROR_SUCCESS;
    return &cache.entries;
}

const std::vector<RegSubKeyEntry>* SubKeysOf(RegistryState& state, const Target& target, LONG& status)
{
    return CachedListing(state.subKeys, target, &RegistryStore::ListSubKeys, status);
}

const std::vector<RegValueEntry>* ValuesOf(RegistryState& state, const Target& target, LONG& status)
{
    return CachedListing(state.values, target, &RegistryStore::ListValues, status);
}

// Fills an optional out parameter of the key information.
void Answer(DWORD* out, std::size_t value)
{
    if (out)
        *out = static_cast<DWORD>(value);
}

// The largest size a listing's entries have by one measure, 0 for none.
template <typename Entry, typename Measure>
std::size_t Longest(const std::vector<Entry>& entries, Measure measure)
{
    std::size_t longest = 0;
    for (const Entry& entry : entries)
        longest = std::max(longest, measure(entry));
    return longest;
}

LONG CopyName(const std::string& text, char* buffer, DWORD* length)
{
    if (!buffer || !length)
        return ERROR_INVALID_PARAMETER;
    if (text.size() + 1 > *length) {
        *length = static_cast<DWORD>(text.size());
        return ERROR_MORE_DATA;
    }
    std::memcpy(buffer, text.data(), text.size());
    buffer[text.size()] = '\0';
    *length = static_cast<DWORD>(text.size());
    return ERROR_SUCCESS;
}

LONG CopyData(const std::vector<BYTE>& data, BYTE* buffer, DWORD* length)
{
    if (!length)
        return buffer ? ERROR_INVALID_PARAMETER : ERROR_SUCCESS;
    const auto size = static_cast<DWORD>(data.size());
    if (!buffer) {
        *length = size;
        return ERROR_SUCCESS;
    }
    if (size > *length) {
        *length = size;
        return ERROR_MORE_DATA;
    }
    if (size > 0)
        std::memcpy(buffer, data.data(), size);
    *length = size;
    return ERROR_SUCCESS;
}

std::string_view NameOf(const char* name) { return name ? std::string_view(name) : std::string_view(); }

constexpr REGSAM kWriteRights = KEY_SET_VALUE | KEY_CREATE_SUB_KEY;

} // namespace

HKEY const HKEY_CURRENT_USER = &g_currentUserRoot;
HKEY const HKEY_LOCAL_MACHINE = &g_localMachineRoot;

std::filesystem::path DefaultUserRegistryPath()
{
    if (std::string named = EnvironmentValue("TAVCELL_REGISTRY"); !named.empty())
        return named;
    std::filesystem::path base;
    if (std::string config = EnvironmentValue("XDG_CONFIG_HOME"); !config.empty() && config.front() == '/') {
        base = config;
    } else {
        std::string home = EnvironmentValue("HOME");
        if (home.empty()) {
            if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir)
                home = entry->pw_dir;
        }
        // A relative home would put the settings wherever the program happens to start.
        if (home.empty() || home.front() != '/')
            return {};
        base = std::filesystem::path(home) / ".config";
    }
    return base / "tavcell" / "registry.sqlite3";
}

std::filesystem::path DefaultMachineRegistryPath()
{
    if (std::string named = EnvironmentValue("TAVCELL_MACHINE_REGISTRY"); !named.empty())
        return named;
    return "/etc/tavcell/registry.sqlite3";
}

RegDefaultStore RegOpenDefaultStore(HKEY root)
{
    RegDefaultStore result;
    const bool user = root == HKEY_CURRENT_USER;
    if (!user && root != HKEY_LOCAL_MACHINE) {
        result.problem = "no such root";
        return result;
    }
    const std::filesystem::path path = user ? DefaultUserRegistryPath() : DefaultMachineRegistryPath();
    if (path.empty()) {
        result.problem = "no home folder to keep the settings in (set HOME or TAVCELL_REGISTRY)";
        return result;
    }
    auto opened = SqliteRegistryStore::Open(
        path, user ? SqliteRegistryStore::Mode::ReadWrite : SqliteRegistryStore::Mode::ReadOnly);
    if (user && opened.notWritable) {
        // Better read than set aside: the user's settings are there, only not to be changed.
        result.problem = opened.error;
        opened = SqliteRegistryStore::Open(path, SqliteRegistryStore::Mode::ReadOnly);
    }
    if (opened.store) {
        result.store = std::move(opened.store);
    } else if (opened.missing) {
        // Nothing to read (no machine-wide settings, or a user's file still empty) is an
        // answer, not a fault.
        result.store = std::make_shared<MemoryRegistryStore>(true);
    } else {
        result.problem = opened.error;
    }
    return result;
}

std::shared_ptr<RegistryStore> RegGetStore(HKEY root)
{
    RegistryState& state = State();
    std::lock_guard lock(state.mutex);
    if (root != HKEY_CURRENT_USER && root != HKEY_LOCAL_MACHINE)
        return nullptr;
    return StoreOf(state, root->root);
}

void RegSetStore(HKEY root, std::shared_ptr<RegistryStore> store)
{
    RegistryState& state = State();
    std::lock_guard lock(state.mutex);
    if (root != HKEY_CURRENT_USER && root != HKEY_LOCAL_MACHINE)
        return;
    state.stores[root->root] = std::move(store);
    state.subKeys.store.reset();
    state.values.store.reset();
}

std::string RegLastStoreError(HKEY key)
{
    RegistryState& state = State();
    std::lock_guard lock(state.mutex);
    Target target;
    return Resolve(state, key, target) == ERROR_SUCCESS ? target.store->LastError() : std::string();
}

namespace {

// The key that a sub key is opened or created below, refusing write rights in a store that
// may only be read.
LONG ResolveParent(RegistryState& state, HKEY key, REGSAM samDesired, Target& parent)
{
    if (const LONG status = Resolve(state, key, parent); status != ERROR_SUCCESS)
        return status;
    return parent.store->IsReadOnly() && (samDesired & kWriteRights) ? ERROR_ACCESS_DENIED : ERROR_SUCCESS;
}

} // namespace

LONG RegOpenKeyEx(HKEY key, const char* subKey, DWORD, REGSAM samDesired, HKEY* result)
{
    if (!result)
        return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    RegistryState& state = State();
    std::lock_guard lock(state.mutex);
    Target parent;
    if (const LONG status = ResolveParent(state, key, samDesired, parent); status != ERROR_SUCCESS)
        return status;
    RegKeyId current = parent.key;
    for (const std::string_view name : SplitKeyPath(NameOf(subKey))) {
        if (const LONG status = parent.store->FindKey(current, name, current); status != ERROR_SUCCESS)
            return status;
    }
    *result = NewHandle(state, parent, current, samDesired);
    return ERROR_SUCCESS;
}

LONG RegCreateKeyEx(HKEY key, const char* subKey, DWORD, const char* className, DWORD, REGSAM samDesired,
                    const SECURITY_ATTRIBUTES*, HKEY* result, DWORD* disposition)
{
    if (!result)
        return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    RegistryState& state = State();
    std::lock_guard lock(state.mutex);
    Target parent;
    if (const LONG status = ResolveParent(state, key, samDesired, parent); status != ERROR_SUCCESS)
        return status;
    const std::vector<std::string_view> names = SplitKeyPath(NameOf(subKey));
    RegKeyId created = 0;
    bool isNew = false;
    if (const LONG status = parent.store->CreateKeyPath(parent.key, names, NameOf(className), created, isNew);
        status != ERROR_SUCCESS)
        return status;
    if (disposition)
        *disposition = isNew ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    *result = NewHandle(state, parent, created, samDesired);
    return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY key)
{
    if (key == HKEY_CURRENT_USER || key == HKEY_LOCAL_MACHINE)
        return ERROR_SUCCESS;
    RegistryState& state = State();
    std::lock_guard lock(state.mutex);
    if (!key || state.handles.erase(key) == 0)
        return ERROR_INVALID_HANDLE;
    delete key;
    return ERROR_SUCCESS;
}

LONG RegEnumKeyEx(HKEY key, DWORD index, char* name, DWORD* nameLength, DWORD*, char* className,
                  DWORD* classLength, FILETIME* lastWriteTime)
{
    return WithKey(key, KEY_ENUMERATE_SUB_KEYS, [&](RegistryState& state, const Target& target) {
        LONG status = ERROR_SUCCESS;
        const auto* subKeys = SubKeysOf(state, target, status);
        if (!subKeys)
            return status;
        if (index >= subKeys->size())
            return ERROR_NO_MORE_ITEMS;
        const RegSubKeyEntry& entry = (*subKeys)[index];
        if (lastWriteTime)
            *lastWriteTime = {};
        status = CopyName(entry.name, name, nameLength);
        if (status == ERROR_SUCCESS && className)
            status = CopyName(entry.className, className, classLength);
        return status;
    });
}

LONG RegEnumValue(HKEY key, DWORD index, char* valueName, DWORD* valueNameLength, DWORD*, DWORD* type, BYTE* data,
                  DWORD* dataLength)
{
    return WithKey(key, KEY_QUERY_VALUE, [&](RegistryState& state, const Target& target) {
        LONG status = ERROR_SUCCESS;
        const auto* values = ValuesOf(state, target, status);
        if (!values)
            return status;
        if (index >= values->size())
            return ERROR_NO_MORE_ITEMS;
        const RegValueEntry& entry = (*values)[index];
        if (status = CopyName(entry.name, valueName, valueNameLength); status != ERROR_SUCCESS)
            return status;
        if (type)
            *type = entry.type;
        return CopyData(entry.data, data, dataLength);
    });
}

LONG RegQueryInfoKey(HKEY key, char* className, DWORD* classLength, DWORD*, DWORD* subKeyCount,
                     DWORD* maxSubKeyLength, DWORD* maxClassLength, DWORD* valueCount, DWORD* maxValueNameLength,
                     DWORD* maxValueLength, DWORD* securityDescriptor, FILETIME* lastWriteTime)
{
    return WithKey(key, KEY_QUERY_VALUE, [&](RegistryState& state, const Target& target) {
        LONG status = ERROR_SUCCESS;
        if (className) {
            std::string ownClass;
            if (status = target.store->GetClass(target.key, ownClass); status != ERROR_SUCCESS)
                return status;
            if (status = CopyName(ownClass, className, classLength); status != ERROR_SUCCESS)
                return status;
        }
        const auto* subKeys = SubKeysOf(state, target, status);
        if (!subKeys)
            return status;
        Answer(subKeyCount, subKeys->size());
        Answer(maxSubKeyLength, Longest(*subKeys, [](const RegSubKeyEntry& e) { return e.name.size(); }));
        Answer(maxClassLength, Longest(*subKeys, [](const RegSubKeyEntry& e) { return e.className.size(); }));

        const auto* values = ValuesOf(state, target, status);
        if (!values)
            return status;
        Answer(valueCount, values->size());
        Answer(maxValueNameLength, Longest(*values, [](const RegValueEntry& e) { return e.name.size(); }));
        Answer(maxValueLength, Longest(*values, [](const RegValueEntry& e) { return e.data.size(); }));
        if (securityDescriptor)
            *securityDescriptor = 0;
        if (lastWriteTime)
            *lastWriteTime = {};
        return ERROR_SUCCESS;
    });
}

LONG RegQueryValueEx(HKEY key, const char* valueName, DWORD*, DWORD* type, BYTE* data, DWORD* dataLength)
{
    return WithKey(key, KEY_QUERY_VALUE, [&](RegistryState& state, const Target& target) {
        DWORD storedType = REG_NONE;
        if (const LONG status = target.store->GetValue(target.key, NameOf(valueName), storedType, state.scratch);
            status != ERROR_SUCCESS)
            return status;
        if (type)
            *type = storedType;
        return CopyData(state.scratch, data, dataLength);
    });
}

LONG RegSetValueEx(HKEY key, const char* valueName, DWORD, DWORD type, const BYTE* data, DWORD dataLength)
{
    if (!data && dataLength > 0)
        return ERROR_INVALID_PARAMETER;
    return WithKey(key, KEY_SET_VALUE, [&](RegistryState&, const Target& target) {
        return target.store->SetValue(target.key, NameOf(valueName), type, std::span<const BYTE>(data, dataLength));
    });
}

LONG RegDeleteValue(HKEY key, const char* valueName)
{
    return WithKey(key, KEY_SET_VALUE, [&](RegistryState&, const Target& target) {
        return target.store->DeleteValue(target.key, NameOf(valueName));
    });
}

namespace {

LONG DeleteSubKey(HKEY key, const char* subKey, bool wholeTree)
{
    return WithKey(key, 0, [&](RegistryState&, const Target& target) {
        const std::vector<std::string_view> names = SplitKeyPath(NameOf(subKey));
        if (names.empty())
            return ERROR_INVALID_PARAMETER; // a key cannot delete itself through this call
        RegKeyId parent = target.key;
        for (std::size_t i = 0; i + 1 < names.size(); ++i) {
            if (const LONG status = target.store->FindKey(parent, names[i], parent); status != ERROR_SUCCESS)
                return status;
        }
        return target.store->DeleteKey(parent, names.back(), wholeTree);
    });
}

} // namespace

LONG RegDeleteKey(HKEY key, const char* subKey) { return DeleteSubKey(key, subKey, false); }

LONG RegDeleteTree(HKEY key, const char* subKey) { return DeleteSubKey(key, subKey, true); }

LONG RegApplyChanges(HKEY key, std::span<const RegChange> changes)
{
    return WithKey(key, kWriteRights, [&](RegistryState&, const Target& target) {
        return target.store->Apply(target.key, changes);
    });
}

LONG RegCheckApplyChanges(HKEY key, std::span<const RegChange> changes)
{
    return WithKey(key, kWriteRights, [&](RegistryState&, const Target& target) {
        return target.store->CheckApply(target.key, changes);
    });
}

} // namespace plat
