// The storage behind the registry functions: a tree of keys with typed values, by key id.
// Two kinds exist, a SQLite database shared between processes and a private one in memory.
#pragma once

#include "platform/registry/RegistryTypes.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

// Every operation returns a registry status code. Names are compared without regard to case
// (by their plat::FoldCase form) and keep the case in which they were first written.
class RegistryStore {
public:
    RegistryStore() = default;
    RegistryStore(const RegistryStore&) = delete;
    RegistryStore& operator=(const RegistryStore&) = delete;
    virtual ~RegistryStore() = default;

    // A read-only store answers every change with ERROR_ACCESS_DENIED.
    [[nodiscard]] virtual bool IsReadOnly() const noexcept = 0;
    [[nodiscard]] virtual RegKeyId RootKey() const noexcept = 0;

    [[nodiscard]] virtual LONG FindKey(RegKeyId parent, std::string_view name, RegKeyId& key) = 0;
    // Opens or creates every level of names below parent in one transaction; the class is
    // given to the keys it creates. created tells whether the last level is new.
    [[nodiscard]] virtual LONG CreateKeyPath(RegKeyId parent, std::span<const std::string_view> names,
                                             std::string_view className, RegKeyId& key, bool& created) = 0;
    [[nodiscard]] virtual LONG GetClass(RegKeyId key, std::string& className) = 0;
    // Sub keys ordered by name without regard to case.
    [[nodiscard]] virtual LONG ListSubKeys(RegKeyId key, std::vector<RegSubKeyEntry>& subKeys) = 0;
    // Values in the order they were first created.
    [[nodiscard]] virtual LONG ListValues(RegKeyId key, std::vector<RegValueEntry>& values) = 0;
    // data is replaced (its capacity reused).
    [[nodiscard]] virtual LONG GetValue(RegKeyId key, std::string_view name, DWORD& type, std::vector<BYTE>& data) = 0;
    // Replacing a value keeps its place in the creation order and the case of its name.
    [[nodiscard]] virtual LONG SetValue(RegKeyId key, std::string_view name, DWORD type, std::span<const BYTE> data) = 0;
    [[nodiscard]] virtual LONG DeleteValue(RegKeyId key, std::string_view name) = 0;
    // Without wholeTree a key that has sub keys is refused with ERROR_ACCESS_DENIED.
    [[nodiscard]] virtual LONG DeleteKey(RegKeyId parent, std::string_view name, bool wholeTree) = 0;
    // Applies every change below base, or none. Deleting what is missing is no fault; setting
    // a value creates the keys of its path.
    [[nodiscard]] virtual LONG Apply(RegKeyId base, std::span<const RegChange> changes) = 0;
    // What Apply would answer without writing anything, as far as the rules of every store go
    // (rights, names, depth below the root); only a failure of the storage itself (a full
    // disk) can still refuse what this passes.
    [[nodiscard]] LONG CheckApply(RegKeyId base, std::span<const RegChange> changes);
    // How many levels below the root the key lies. A store that cannot tell answers 0.
    [[nodiscard]] virtual LONG KeyDepth(RegKeyId key, std::size_t& depth);

    // Grows whenever the content may have changed, by this process or by another one, so
    // that a caller can keep a listing between calls.
    [[nodiscard]] virtual std::uint64_t Generation() = 0;

    // A description of the last failure of the storage itself (empty when there was none).
    [[nodiscard]] virtual std::string LastError() const { return {}; }
};

// Splits a backslash-separated path into its names; empty names (doubled, leading or
// trailing backslashes) are skipped.
[[nodiscard]] std::vector<std::string_view> SplitKeyPath(std::string_view path);

// The registry the stores stand in for goes no deeper than this many levels below a root;
// creating a key deeper is refused with ERROR_INVALID_PARAMETER.
inline constexpr std::size_t kMaxKeyDepth = 512;

// A key or value name may hold any character but NUL. The registry calls end names at their
// first NUL, so a name holding one could be stored but never named again; every store
// refuses it with ERROR_INVALID_PARAMETER.
[[nodiscard]] bool IsValidRegName(std::string_view name) noexcept;
[[nodiscard]] bool AreValidRegNames(std::span<const std::string_view> names) noexcept;
// ERROR_INVALID_PARAMETER when a change names a key or value that no store may hold: so a
// store refuses a whole set of changes before applying any of it.
[[nodiscard]] LONG CheckRegChanges(std::span<const RegChange> changes);

} // namespace plat
