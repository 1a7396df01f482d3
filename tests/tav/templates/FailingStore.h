// Test support: an in-memory registry store whose writes fail while told to, after any
// deletions went through, as a full or locked database would; a caller that did not send its
// changes as one list would lose the old key here.
#pragma once

#include "platform/registry/MemoryRegistryStore.h"

namespace tavtest {

class FailingStore final : public plat::RegistryStore {
public:
    bool m_failWrites = false;

    bool IsReadOnly() const noexcept override { return false; }
    plat::RegKeyId RootKey() const noexcept override { return m_inner.RootKey(); }
    plat::LONG FindKey(plat::RegKeyId p, std::string_view n, plat::RegKeyId& k) override { return m_inner.FindKey(p, n, k); }
    plat::LONG CreateKeyPath(plat::RegKeyId p, std::span<const std::string_view> n, std::string_view c, plat::RegKeyId& k,
                             bool& created) override
    {
        return m_inner.CreateKeyPath(p, n, c, k, created);
    }
    plat::LONG GetClass(plat::RegKeyId k, std::string& c) override { return m_inner.GetClass(k, c); }
    plat::LONG ListSubKeys(plat::RegKeyId k, std::vector<plat::RegSubKeyEntry>& s) override { return m_inner.ListSubKeys(k, s); }
    plat::LONG ListValues(plat::RegKeyId k, std::vector<plat::RegValueEntry>& v) override { return m_inner.ListValues(k, v); }
    plat::LONG GetValue(plat::RegKeyId k, std::string_view n, plat::DWORD& t, std::vector<plat::BYTE>& d) override
    {
        return m_inner.GetValue(k, n, t, d);
    }
    plat::LONG SetValue(plat::RegKeyId k, std::string_view n, plat::DWORD t, std::span<const plat::BYTE> d) override
    {
        return m_failWrites ? plat::ERROR_WRITE_FAULT : m_inner.SetValue(k, n, t, d);
    }
    plat::LONG DeleteValue(plat::RegKeyId k, std::string_view n) override { return m_inner.DeleteValue(k, n); }
    plat::LONG DeleteKey(plat::RegKeyId p, std::string_view n, bool tree) override { return m_inner.DeleteKey(p, n, tree); }
    plat::LONG Apply(plat::RegKeyId base, std::span<const plat::RegChange> changes) override
    {
        return m_failWrites ? plat::ERROR_WRITE_FAULT : m_inner.Apply(base, changes);
    }
    std::uint64_t Generation() override { return m_inner.Generation(); }

private:
    plat::MemoryRegistryStore m_inner;
};

} // namespace tavtest
