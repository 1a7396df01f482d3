// A host's manager for tests: items declared by an array, cell sizes by identifier, bound to
// a table (and, when a test needs the grid's side of the hooks, to a stand-in window).
#pragma once

#include "tav/data/TavData.h"
#include "tav/manager/TavManager.h"

#include <map>
#include <vector>

class TestManager : public TavManager {
public:
    TestManager(std::vector<int> declaration, std::map<unsigned, unsigned> sizes, long rows,
                plat::ModuleHandle module = nullptr)
        : TavManager(module), m_declaration(std::move(declaration)), m_sizes(std::move(sizes))
    {
        SetSize(static_cast<long>(m_declaration.size()), rows);
        SetTemplate(m_declaration.data());
    }

    const char* GetRegSection() override { return "Test"; }
    unsigned OnGetDataSize(unsigned id) const override
    {
        const auto found = m_sizes.find(id);
        return found == m_sizes.end() ? 0 : found->second;
    }

    // What binding does to the table short of the grid: collect the items, size the table,
    // map the template.
    void Bind(TavData& data, plat::Wnd* window = nullptr)
    {
        AttachTable(&data);
        AttachWindow(window);
        CollectItems();
        data.SetSize(GetItemCount(), OnGetDispRowCount());
        CreateTemplateMap();
    }
    using TavManager::Data;
    using TavManager::Detach;

    std::vector<int> m_declaration;
    std::map<unsigned, unsigned> m_sizes;
};

// A window the tests bind without ever showing: the record table only asks whether one is
// bound, and the redraw requests that a bound window gets are not sent before the grid
// exists.
inline plat::Wnd* StandInWindow()
{
    alignas(std::max_align_t) static char storage[64];
    return reinterpret_cast<plat::Wnd*>(storage);
}
