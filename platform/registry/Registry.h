// The registry functions: a per-user tree of keys holding typed values, with the calls,
// status codes and buffer rules of the platform's registry, names in UTF-8.
#pragma once

#include "platform/registry/RegistryStore.h"
#include "platform/registry/RegistryTypes.h"

#include <filesystem>
#include <memory>
#include <span>

namespace plat {

// subKey may name several levels ("Software\\Zervan Soft"); null or empty opens key itself
// again. Names are compared without regard to case.
[[nodiscard]] LONG RegOpenKeyEx(HKEY key, const char* subKey, DWORD options, REGSAM samDesired, HKEY* result);
[[nodiscard]] LONG RegCreateKeyEx(HKEY key, const char* subKey, DWORD reserved, const char* className, DWORD options,
                                  REGSAM samDesired, const SECURITY_ATTRIBUTES* security, HKEY* result,
                                  DWORD* disposition);
LONG RegCloseKey(HKEY key);

// Sub keys by name without regard to case. Lengths are in bytes: in, the buffer's size with
// room for the terminating zero; out, the length without it. ERROR_MORE_DATA when the
// buffer is too small, ERROR_NO_MORE_ITEMS past the last one.
[[nodiscard]] LONG RegEnumKeyEx(HKEY key, DWORD index, char* name, DWORD* nameLength, DWORD* reserved,
                                char* className, DWORD* classLength, FILETIME* lastWriteTime);
// Values in the order they were created; data and dataLength as for RegQueryValueEx.
[[nodiscard]] LONG RegEnumValue(HKEY key, DWORD index, char* valueName, DWORD* valueNameLength, DWORD* reserved,
                                DWORD* type, BYTE* data, DWORD* dataLength);
// Counts and the longest names (in bytes, without the terminating zero) and data.
[[nodiscard]] LONG RegQueryInfoKey(HKEY key, char* className, DWORD* classLength, DWORD* reserved, DWORD* subKeys,
                                   DWORD* maxSubKeyLength, DWORD* maxClassLength, DWORD* values,
                                   DWORD* maxValueNameLength, DWORD* maxValueLength, DWORD* securityDescriptor,
                                   FILETIME* lastWriteTime);
// With data null, *dataLength receives the size; with a buffer too small, ERROR_MORE_DATA
// and *dataLength the size needed. A null or empty name is the key's default value.
[[nodiscard]] LONG RegQueryValueEx(HKEY key, const char* valueName, DWORD* reserved, DWORD* type, BYTE* data,
                                   DWORD* dataLength);
// The bytes are kept as given: a string's terminating zero is part of its data.
LONG RegSetValueEx(HKEY key, const char* valueName, DWORD reserved, DWORD type, const BYTE* data, DWORD dataLength);
LONG RegDeleteValue(HKEY key, const char* valueName);
// Only a key without sub keys; ERROR_ACCESS_DENIED otherwise.
LONG RegDeleteKey(HKEY key, const char* subKey);
// The key with everything below it, in one transaction.
LONG RegDeleteTree(HKEY key, const char* subKey);

// Applies every change below a key (a root or an open key with write rights), or none of
// them: an import, a restored key. Paths are relative to key.
LONG RegApplyChanges(HKEY key, std::span<const RegChange> changes);
// What RegApplyChanges would answer, without changing anything: every refusal the registry's
// own rules make (rights, names, depth) shows here, before a caller writes the first of
// several sets of changes; only a failure of the storage itself can come later.
[[nodiscard]] LONG RegCheckApplyChanges(HKEY key, std::span<const RegChange> changes);

// The store behind a root. The user's store is the SQLite database named by
// TAVCELL_REGISTRY, else $XDG_CONFIG_HOME/tavcell/registry.sqlite3 (else ~/.config/...; none
// without a home folder); one whose file or folder the user cannot write is only read.
// The machine's is TAVCELL_MACHINE_REGISTRY, else /etc/tavcell/registry.sqlite3, read
// only, and empty when the file is missing. A database that cannot be used is reported on
// stderr once and replaced by an empty store in memory for the rest of the run.
[[nodiscard]] std::shared_ptr<RegistryStore> RegGetStore(HKEY root);

struct RegDefaultStore {
    std::shared_ptr<RegistryStore> store; // null when the database cannot be used at all
    std::string problem;                  // why not, or why the store can only be read
};
// Opens the database that RegGetStore would put behind a root, without standing in for it:
// for tools that must not report a change done when it cannot be kept.
[[nodiscard]] RegDefaultStore RegOpenDefaultStore(HKEY root);
// Puts a store behind a root (tests, tools); null returns to the default on the next call,
// which reads the environment again. Keys opened before keep the store they were opened in.
void RegSetStore(HKEY root, std::shared_ptr<RegistryStore> store);

[[nodiscard]] std::filesystem::path DefaultUserRegistryPath();
[[nodiscard]] std::filesystem::path DefaultMachineRegistryPath();

// A description of the last failure of the store behind a key, for tools that show it.
[[nodiscard]] std::string RegLastStoreError(HKEY key);

} // namespace plat
