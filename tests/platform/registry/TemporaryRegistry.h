// Test support: a temporary folder whose registry databases stand in for the user's and the
// machine's, so no test ever touches the real ones under ~/.config or /etc.
#pragma once

#include "platform/registry/Registry.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace tavtest {

class TemporaryRegistry {
public:
    TemporaryRegistry()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tavreg-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot make a temporary folder");
        m_folder = pattern;
        setenv("TAVCELL_REGISTRY", UserPath().c_str(), 1);
        setenv("TAVCELL_MACHINE_REGISTRY", MachinePath().c_str(), 1);
        plat::RegSetStore(plat::HKEY_CURRENT_USER, nullptr);
        plat::RegSetStore(plat::HKEY_LOCAL_MACHINE, nullptr);
    }
    TemporaryRegistry(const TemporaryRegistry&) = delete;
    TemporaryRegistry& operator=(const TemporaryRegistry&) = delete;
    ~TemporaryRegistry()
    {
        plat::RegSetStore(plat::HKEY_CURRENT_USER, nullptr);
        plat::RegSetStore(plat::HKEY_LOCAL_MACHINE, nullptr);
        std::error_code ec;
        std::filesystem::remove_all(m_folder, ec);
    }

    const std::filesystem::path& Folder() const { return m_folder; }
    std::filesystem::path UserPath() const { return m_folder / "user.sqlite3"; }
    std::filesystem::path MachinePath() const { return m_folder / "machine.sqlite3"; }

private:
    std::filesystem::path m_folder;
};

} // namespace tavtest
