// Whole listings of an open key's sub key names and values, for callers that want them all
// rather than one index at a time.
#pragma once

#include "platform/registry/RegistryTypes.h"

#include <string>
#include <vector>

namespace plat {

// The names of a key's sub keys in enumeration order (by name without regard to case).
[[nodiscard]] LONG RegListSubKeyNames(HKEY key, std::vector<std::string>& names);
// A key's values with their types and bytes, in enumeration order (as they were created).
[[nodiscard]] LONG RegListValues(HKEY key, std::vector<RegValueEntry>& values);

} // namespace plat
