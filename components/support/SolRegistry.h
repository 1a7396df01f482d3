// Where the suite keeps its settings in the user's registry: the application key of the
// running program, the suite's common keys and its per-user system key.
#pragma once

#include "components/support/SolKey.h"

#include <string>

// The maker's key below which everything of the suite lives.
inline constexpr const char* kSolMakerKeyName = "Software\\Zervan Soft";

// "Software\Zervan Soft\<software name>\<category>" of the running program (its
// plat::AppIdentity), relative to a root. A record manager's template store lies below the key
// named by its GetSoftware and GetRegCategory; the template transfer finds it through this
// key, so a host whose identity differs from its managers' defaults ("Application" as the
// category) overrides those hooks to match.
[[nodiscard]] std::string SolGetApplicationKeyName();
// Opens (creating when missing) the application key under parent, the current user's root
// when parent is null; non-zero on success.
plat::BOOL SolGetApplicationKey(SolKey& key, plat::HKEY parent = nullptr);

// Opens (creating when missing) the suite's common key of that name, shared by all programs
// of the suite, under the current user's root.
plat::BOOL SolGetCommonSubKey(SolKey& key, const std::string& name);

// The suite's per-user system key, relative to a root.
[[nodiscard]] std::string SolGetSystemKeyName();
// Opens an existing sub key of the system key under parent (the current user's root when
// null); non-zero when it exists. It is never created here: its absence is an answer.
plat::BOOL SolGetSystemSubKey(SolKey& key, const std::string& name, plat::HKEY parent = nullptr);
