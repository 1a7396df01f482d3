// What every registry store shares: the reading of key paths and the rules for names.
#include "platform/registry/RegistryStore.h"

namespace plat {

std::vector<std::string_view> SplitKeyPath(std::string_view path)
{
    std::vector<std::string_view> names;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('\\', start);
        if (end == std::string_view::npos)
            end = path.size();
        if (end > start)
            names.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

bool IsValidRegName(std::string_view name) noexcept { return name.find('\0') == std::string_view::npos; }

bool AreValidRegNames(std::span<const std::string_view> names) noexcept
{
    for (const std::string_view name : names) {
        if (!IsValidRegName(name))
            return false;
    }
    return true;
}

LONG CheckRegChanges(std::span<const RegChange> changes)
{
    for (const RegChange& change : changes) {
        const std::vector<std::string_view> names = SplitKeyPath(change.path);
        if (!AreValidRegNames(names) || !IsValidRegName(change.valueName))
            return ERROR_INVALID_PARAMETER;
        // Every change but a deletion of a tree creates the keys of its path.
        if (change.kind != RegChange::Kind::DeleteTree && names.size() > kMaxKeyDepth)
            return ERROR_INVALID_PARAMETER;
    }
    return ERROR_SUCCESS;
}

LONG RegistryStore::KeyDepth(RegKeyId, std::size_t& depth)
{
    depth = 0;
    return ERROR_SUCCESS;
}

LONG RegistryStore::CheckApply(RegKeyId base, std::span<const RegChange> changes)
{
    if (IsReadOnly())
        return ERROR_ACCESS_DENIED;
    if (const LONG status = CheckRegChanges(changes); status != ERROR_SUCCESS)
        return status;
    std::size_t baseDepth = 0;
    if (const LONG status = KeyDepth(base, baseDepth); status != ERROR_SUCCESS)
        return status;
    for (const RegChange& change : changes) {
        const std::size_t depth = SplitKeyPath(change.path).size();
        if (change.kind == RegChange::Kind::DeleteTree && depth == 0)
            return ERROR_ACCESS_DENIED;
        if (change.kind != RegChange::Kind::DeleteTree && baseDepth + depth > kMaxKeyDepth)
            return ERROR_INVALID_PARAMETER;
    }
    return ERROR_SUCCESS;
}

} // namespace plat
