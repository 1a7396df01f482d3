// Test support: an empty in-memory user registry (and, when asked, machine registry) for as
// long as the guard lives, taken away however the test ends, so that no test sees another's
// layouts and colours. A fixture declares it first: it is there before its windows read their
// layout and gone after them.
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
