// Test support: a temporary folder whose registry databases stand in for the user's and the
// machine's, so no test ever touches the real ones under ~/.config or /etc.
#pragma once

#include "platform/registry/Registry.h"
#include "tests/ScopedEnvironment.h"
#include "tests/TemporaryFolder.h"

#include <filesystem>

namespace tavtest {

class TemporaryRegistry {
public:
    TemporaryRegistry()
    {
        plat::RegSetStore(plat::HKEY_CURRENT_USER, nullptr);
        plat::RegSetStore(plat::HKEY_LOCAL_MACHINE, nullptr);
    }
    TemporaryRegistry(const TemporaryRegistry&) = delete;
    TemporaryRegistry& operator=(const TemporaryRegistry&) = delete;
    ~TemporaryRegistry()
    {
        plat::RegSetStore(plat::HKEY_CURRENT_USER, nullptr);
        plat::RegSetStore(plat::HKEY_LOCAL_MACHINE, nullptr);
    }

    const std::filesystem::path& Folder() const { return m_folder.Path(); }
    std::filesystem::path UserPath() const { return m_folder.Path() / "user.sqlite3"; }
    std::filesystem::path MachinePath() const { return m_folder.Path() / "machine.sqlite3"; }

private:
    TemporaryFolder m_folder{"tavreg"};
    ScopedEnvironment m_user{"TAVCELL_REGISTRY", UserPath().string()};
    ScopedEnvironment m_machine{"TAVCELL_MACHINE_REGISTRY", MachinePath().string()};
};

} // namespace tavtest
