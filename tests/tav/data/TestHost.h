// A host's manager for tests: items declared by an array, cell sizes by identifier, bound to
// a table (and, when a test needs the grid's side of the hooks, to a stand-in window); a
// cell's value read where a test expects one; a table that refuses records; and all of a table
// an undo step may change.
#pragma once

#include "tav/data/TavAttr.h"
#include "tav/data/TavData.h"
#include "tav/manager/TavManager.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>
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

// A host's table that lets none of these records change or be cleared.
class RefusingRecords : public TavData {
public:
    using TavData::OnDataChanging;
    using TavData::OnQueryRemove;
    plat::BOOL OnDataChanging(unsigned /*id*/, long record, const void* /*bytes*/) override { return refused.count(record) == 0; }
    plat::BOOL OnQueryRemove(unsigned /*id*/, long record) override { return refused.count(record) == 0; }
    std::set<long> refused;
};

// The records, both flag tables, the lock switch and the lock ranges, as bytes to compare.
inline std::vector<std::uint8_t> TableState(TavData& data, TavManager& manager)
{
    std::vector<std::uint8_t> state = data.SaveRecords(0, data.GetRecordCount());
    for (TavAttr* attr : {&manager.AttrWarning(), &manager.AttrDisable()})
        state.insert(state.end(), attr->GetBits(), attr->GetBits() + attr->GetTotalBytes());
    state.push_back(static_cast<std::uint8_t>(data.GetCellLockFlag()));
    for (const TavLockData& lock : data.Lock()) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(&lock);
        state.insert(state.end(), bytes, bytes + sizeof lock);
    }
    return state;
}
