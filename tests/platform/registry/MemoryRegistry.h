// Test support: an empty in-memory registry for as long as the guard lives, so that no test sees
// another's layouts; a fixture declares it first, before the windows that read from it.
#pragma once

#include "platform/registry/MemoryRegistryStore.h"
#include "platform/registry/Registry.h"

#include <memory>

namespace tavtest {

class MemoryRegistry {
public:
    enum class Roots { User, UserAndMachine };
    explicit MemoryRegistry(Roots roots = Roots::User) : m_machine(roots == Roots::UserAndMachine)
    {
        plat::RegSetStore(plat::HKEY_CURRENT_USER, std::make_shared<plat::MemoryRegistryStore>());
        if (m_machine)
            plat::RegSetStore(plat::HKEY_LOCAL_MACHINE, std::make_shared<plat::MemoryRegistryStore>());
    }
    MemoryRegistry(const MemoryRegistry&) = delete;
    MemoryRegistry& operator=(const MemoryRegistry&) = delete;
    ~MemoryRegistry()
    {
        plat::RegSetStore(plat::HKEY_CURRENT_USER, nullptr);
        if (m_machine)
            plat::RegSetStore(plat::HKEY_LOCAL_MACHINE, nullptr);
    }

private:
    bool m_machine;
};

} // namespace tavtest
