// A host's manager for tests: items declared by an array, cell sizes by identifier, bound to
// a table (and, when a test needs the grid's side of the hooks, to a stand-in window); and a
// cell's value read where a test expects one.
#pragma once

#include "tav/data/TavData.h"
#include "tav/manager/TavManager.h"

#include <gtest/gtest.h>

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

// A plain window the tests bind without ever showing: the record table only asks whether one
// is bound, and a plain window lets the grid's requests pass. Never destroyed, so that it
// outlives the window state it is registered in.
inline plat::Wnd* StandInWindow()
{
    static plat::Wnd* const window = [] {
        auto* made = new plat::Wnd;
        made->Create("StandIn", "", 0, plat::RECT{0, 0, 8, 8}, nullptr, 0);
        return made;
    }();
    return window;
}

// A cell's value where a test expects one; a cell that holds none fails the test.
template <class T, class Item>
T CellValue(const TavData& data, Item item, long record)
{
    T value{};
    EXPECT_TRUE(data.Get(item, record, value)) << "no value in " << item << "," << record;
    return value;
}
