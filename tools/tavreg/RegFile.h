// The registry editor's text file: a subtree written out for another installation, and
// such a file read back as one whole set of changes, refused at its first fault.
#pragma once

#include "platform/registry/Registry.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// A key named with its root: "HKEY_CURRENT_USER\Software\..." (or "HKCU\..."; the same for
// HKEY_LOCAL_MACHINE and HKLM). A name without a root is below the current user's root.
struct RegKeyName {
    plat::HKEY root = nullptr;
    std::string rootName; // the long form, as files write it
    std::string path;     // below the root; empty for the root itself
    [[nodiscard]] std::string FullName() const { return path.empty() ? rootName : rootName + '\\' + path; }
};

// False when the name starts with a root this system does not have.
[[nodiscard]] bool ParseKeyName(const std::string& text, RegKeyName& name);

struct RegExportResult {
    bool ok = false;
    std::string bytes;   // the file: UTF-16LE with a byte-order mark
    std::string error;   // why nothing could be written
};

// The key and everything below it, sub keys after their parent, in enumeration order.
[[nodiscard]] RegExportResult ExportRegFile(const RegKeyName& key);

struct RegImportPlan {
    bool ok = false;
    std::size_t errorLine = 0; // 1-based line of the first fault
    std::string error;
    std::vector<plat::RegChange> changes; // all below the current user's root
};

// Reads a whole file without touching the registry: UTF-16LE with its byte-order mark, UTF-8
// with or without one, or the narrow code page when the bytes are not UTF-8; headed
// "Windows Registry Editor Version 5.00" or, in the narrow code page, "REGEDIT4". What
// ExportRegFile writes reads back to the same bytes, whatever the store held.
[[nodiscard]] RegImportPlan ParseRegFile(const std::string& bytes);
